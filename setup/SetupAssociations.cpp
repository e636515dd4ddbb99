// Writing the file-type associations of the ticked image types into the
// registry, and recording the handlers they replace.
#include "SetupAssociations.h"

#include "KwFile.h"
#include "KwFileStream.h"
#include "SetupConfig.h"

#include <windows.h>

#include <cstdlib>

namespace KwSDK {

static const ASSOCIATIONTYPE kAssociationTypes[ASSOCIATION_TYPE_COUNT] = {
    {"JPEG Images", {".JPEG", ".JPG"}},
    {"PNG Images", {".PNG", nullptr}},
    {"JPEG2000 Images", {".JP2", nullptr}},
    {"BMP Images", {".BMP", nullptr}},
    {"GIF Images", {".GIF", nullptr}},
    {"PCX Images", {".PCX", nullptr}},
    {"PGX Images", {".PGX", nullptr}},
    {"RAS Images", {".RAS", nullptr}},
    {"TGA Images", {".TGA", nullptr}},
    {"TIFF Images", {".TIFF", ".TIF"}},
    {"JPEG2000 Complete Images", {".JPC", nullptr}},
    {"PPM Images", {".PPM", nullptr}},
    {"PGM Images", {".PGM", nullptr}},
    {"PBM Images", {".PBM", nullptr}},
    {"ICO Images", {".ICO", ".ICON"}},
    {"WMF Images", {".WMF", nullptr}},
};

// The version code of Windows 6.1, where the user's explorer choice decides
// the handler and the extension's own key is left alone.
static const int kWindows61 = 1024;

static const char* const kFileExtsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
static const char* const kFriendlyTypeName = "@C:\\WINDOWS\\system32\\mspaint.exe,-59419";

const ASSOCIATIONTYPE* GetAssociationType(int index)
{
    if (index < 0 || index >= ASSOCIATION_TYPE_COUNT)
        return nullptr;
    return &kAssociationTypes[index];
}

// Opens root\path (the root itself for an empty path); null on failure.
static HKEY OpenKey(HKEY root, const KwString& path, REGSAM access)
{
    HKEY key = nullptr;
    const char* name = path.GetLength() > 0 ? path.GetText() : nullptr;
    if (RegOpenKeyExA(root, name, 0, access, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

static int CreateKeyBelow(HKEY root, const KwString& parent, const KwString& name)
{
    HKEY parentKey = OpenKey(root, parent, KEY_ALL_ACCESS);
    if (!parentKey)
        return 0;
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(parentKey, name.GetText() ? name.GetText() : "", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS)
        RegCloseKey(key);
    RegCloseKey(parentKey);
    return status == ERROR_SUCCESS ? 1 : 0;
}

// Stores a string value; its stored length includes the terminating zero.
static int WriteString(HKEY key, const KwString& valueName, const KwString& data)
{
    const char* name = valueName.GetLength() > 0 ? valueName.GetText() : nullptr;
    const char* text = data.GetText() ? data.GetText() : "";
    DWORD size = static_cast<DWORD>(data.GetLength()) + 1;
    LONG status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size);
    return status == ERROR_SUCCESS ? 1 : 0;
}

// Reads a string value whole, whatever its length; empty when it is missing
// or not a string. The registry does not promise a terminating zero.
static KwString ReadString(HKEY key, const char* valueName)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return KwString();
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return KwString();
    char* buffer = static_cast<char*>(calloc(size + 1, 1));
    if (!buffer)
        return KwString();
    KwString text;
    if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size)
        == ERROR_SUCCESS) {
        buffer[size] = '\0';
        text = buffer;
    }
    free(buffer);
    return text;
}

int CreateClassesKey(const KwString& parent, const KwString& name)
{
    return CreateKeyBelow(HKEY_CLASSES_ROOT, parent, name);
}

int CreateUserKey(const KwString& parent, const KwString& name)
{
    return CreateKeyBelow(HKEY_CURRENT_USER, parent, name);
}

int SetClassesValue(const KwString& key, const KwString& data, const KwString& valueName)
{
    HKEY handle = OpenKey(HKEY_CLASSES_ROOT, key, KEY_ALL_ACCESS);
    if (!handle)
        return 0;
    int ok = WriteString(handle, valueName, data);
    RegCloseKey(handle);
    return ok;
}

int ReplaceClassesDefault(const KwString& key, KwString& old, const KwString& data)
{
    old = "";
    HKEY handle = OpenKey(HKEY_CLASSES_ROOT, key, KEY_ALL_ACCESS);
    if (!handle)
        return 0;
    old = ReadString(handle, nullptr);
    int ok = WriteString(handle, KwString(), data);
    RegCloseKey(handle);
    return ok;
}

int ReplaceUserChoice(const KwString& key, KwString& old, const KwString& data)
{
    old = "";
    HKEY handle = OpenKey(HKEY_CURRENT_USER, key, KEY_SET_VALUE | KEY_QUERY_VALUE);
    if (!handle)
        return 0;
    old = ReadString(handle, "Progid");
    int ok = WriteString(handle, KwString("Progid"), data);
    RegCloseKey(handle);
    return ok;
}

// The extension's own key, written everywhere but on Windows 6.1; answers
// the handler it replaced.
static KwString WriteExtensionKey(const KwString& extension, const KwString& bareName,
                                  const KwString& progId)
{
    KwString old;
    ReplaceClassesDefault(extension, old, progId);
    SetClassesValue(extension, "image", "PerceivedType");
    SetClassesValue(extension, KwString("image/") + bareName, "Content Type");
    CreateClassesKey(extension, "UndoClass");
    SetClassesValue(extension + "\\UndoClass", "Paint.Picture", "");
    return old;
}

// The program identifier's key: its name, icon, type name and open command.
static void WriteProgIdKey(const KwString& progId, const KwString& bareName,
                           const KwString& productFolder)
{
    CreateClassesKey("", progId);
    SetClassesValue(progId, bareName + " Image", "");
    CreateClassesKey(progId, "DefaultIcon");
    SetClassesValue(progId + "\\DefaultIcon", productFolder + "\\images\\" + bareName + ".ico,0", "");
    CreateClassesKey(progId, "FriendlyTypeName");
    SetClassesValue(progId + "\\FriendlyTypeName", kFriendlyTypeName, "");
    CreateClassesKey(progId, "shell");
    SetClassesValue(progId + "\\shell", "Open", "");
    CreateClassesKey(progId + "\\shell", "Open");
    SetClassesValue(progId + "\\shell\\Open", "Open with Lumo", "");
    CreateClassesKey(progId + "\\shell\\Open", "Command");
    KwString command = KwString("\"") + productFolder + "\\LumoView.exe\" \"%1\"";
    SetClassesValue(progId + "\\shell\\Open\\Command", command, "");
}

// The user's explorer choice for the extension; answers the one it replaced.
static KwString WriteUserChoice(const KwString& extension, const KwString& progId)
{
    KwString extensionKey = KwString(kFileExtsKey) + "\\" + extension;
    CreateUserKey(kFileExtsKey, extension);
    CreateUserKey(extensionKey, "UserChoice");
    KwString old;
    ReplaceUserChoice(extensionKey + "\\UserChoice", old, progId);
    return old;
}

// Appends "extension=previous handler" to filelink.txt for the uninstaller.
static void RecordPreviousHandler(const KwString& targetFolder, const KwString& extension,
                                  const KwString& previous)
{
    KwString path = targetFolder + "\\" + GetConfigString("sub_dir") + "\\filelink.txt";
    KwFileStream stream;
    if (!stream.Open(path, KW_MODE_APPEND))
        return;
    KwString line = extension + "=" + previous + "\r\n";
    stream.Write(line.GetText(), line.GetLength());
    stream.Close();
}

int AssociateExtension(const KwString& targetFolder, const char* extension)
{
    if (!extension || extension[0] != '.' || !extension[1])
        return 1;
    KwString ext(extension);
    KwString bareName(extension + 1);
    KwString progId = KwString("Lumo") + ext;
    KwString productFolder = targetFolder + "\\Lumo";
    int windows61 = GetWindowsVersionCode() == kWindows61;
    KwString previous;
    CreateClassesKey("", ext);
    if (!windows61)
        previous = WriteExtensionKey(ext, bareName, progId);
    CreateClassesKey(ext, "OpenWithProgids");
    SetClassesValue(ext + "\\OpenWithProgids", "", progId);
    WriteProgIdKey(progId, bareName, productFolder);
    if (windows61)
        previous = WriteUserChoice(ext, progId);
    if (previous.GetLength() > 0)
        RecordPreviousHandler(targetFolder, ext, previous);
    return 1;
}

int AssociateCheckedTypes(const KwString& targetFolder, const int* checked)
{
    if (!checked)
        return 0;
    int count = 0;
    for (int index = 0; index < ASSOCIATION_TYPE_COUNT; ++index) {
        if (!checked[index])
            continue;
        for (const char* extension : kAssociationTypes[index].extensions) {
            if (extension)
                count += AssociateExtension(targetFolder, extension);
        }
    }
    return count;
}

} // namespace KwSDK
