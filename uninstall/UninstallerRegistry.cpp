// The uninstaller's registry steps: the file associations, the deletion
// script and the uninstall entry.
#include "Uninstaller.h"

#include "RegistryDeletionScript.h"
#include "SetupAssociations.h"
#include "SetupProcesses.h"
#include "UninstallPath.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace KwSDK {

static const char* const kFileExtsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

// A string value; found tells whether it exists as a string.
static KwString ReadString(HKEY root, const KwString& path, const char* name, int* found)
{
    *found = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.GetText(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return KwString();
    KwString text;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS
        && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        char* buffer = static_cast<char*>(calloc(size + 1, 1));
        if (buffer && RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
            buffer[size] = '\0';
            text = buffer;
            *found = 1;
        }
        free(buffer);
    }
    RegCloseKey(key);
    return text;
}

static int WriteString(HKEY root, const KwString& path, const char* name, const KwString& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.GetText(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    LONG status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.GetText()),
                                 static_cast<DWORD>(data.GetLength()) + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

static int DeleteValue(HKEY root, const KwString& path, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.GetText(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    LONG status = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Deletes a key with everything below it; 1 when it is gone.
static int DeleteKeyTree(HKEY root, const KwString& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.GetText(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return 0;
    char name[256];
    for (;;) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!DeleteKeyTree(key, KwString(name, static_cast<int>(length))))
            break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(root, path.GetText()) == ERROR_SUCCESS;
}

static int KeyExists(HKEY root, const KwString& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.GetText(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    RegCloseKey(key);
    return 1;
}

// The uninstall entry named by the log's last line: its hive and path.
static int SplitUninstallKey(const KwString& line, HKEY* root, KwString* path)
{
    if (!UninstallPath::IsUninstallKey(line))
        return 0;
    int slash = line.Find('\\');
    *root = UninstallPath::SamePath(KwString(line.GetText(), slash), "HKEY_CURRENT_USER") ? HKEY_CURRENT_USER
                                                                                         : HKEY_LOCAL_MACHINE;
    *path = line.Mid(slash + 1, -1);
    return 1;
}

KwString Uninstaller::GetDisplayName()
{
    HKEY root = nullptr;
    KwString path;
    int found = 0;
    KwString name;
    if (SplitUninstallKey(m_log.GetUninstallKey(), &root, &path))
        name = ReadString(root, path, "DisplayName", &found);
    return found && name.GetLength() > 0 ? name : UninstallPath::LastName(m_productFolder);
}

KwString Uninstaller::GetRecordedLanguage()
{
    HKEY root = nullptr;
    KwString path;
    int found = 0;
    if (!SplitUninstallKey(m_log.GetUninstallKey(), &root, &path))
        return KwString();
    return ReadString(root, path, "Language", &found);
}

// 1 when a key exists and holds neither values nor subkeys.
static int IsEmptyKey(HKEY root, const KwString& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.GetText(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD subkeys = 0;
    DWORD values = 0;
    LONG status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

// Deletes a value only while it still holds what the installer wrote.
static void DeleteValueIf(HKEY root, const KwString& path, const char* name, const KwString& data)
{
    int found = 0;
    KwString current = ReadString(root, path, name, &found);
    if (found && current == data)
        DeleteValue(root, path, name);
}

// An extension that had no handler before the install: the installer made
// its key, so what it wrote there goes, and the key with it once it is empty.
static void RemoveInstalledExtensionKey(const KwString& extension)
{
    DeleteValueIf(HKEY_CLASSES_ROOT, extension, "PerceivedType", "image");
    DeleteValueIf(HKEY_CLASSES_ROOT, extension, "Content Type", KwString("image/") + (extension.GetText() + 1));
    KwString undo = extension + "\\UndoClass";
    DeleteValueIf(HKEY_CLASSES_ROOT, undo, nullptr, "Paint.Picture");
    for (const KwString& key : { undo, extension + "\\OpenWithProgids", extension }) {
        if (IsEmptyKey(HKEY_CLASSES_ROOT, key))
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key.GetText());
    }
}

// The user's choice that the installer made for an extension without a
// handler: its keys go once they are empty.
static void RemoveEmptyUserChoice(const KwString& extension)
{
    KwString extensionKey = KwString(kFileExtsKey) + "\\" + extension;
    for (const KwString& key : { extensionKey + "\\UserChoice", extensionKey }) {
        if (IsEmptyKey(HKEY_CURRENT_USER, key))
            RegDeleteKeyA(HKEY_CURRENT_USER, key.GetText());
    }
}

// A program identifier is the product's when its open command starts the
// program from the product folder.
int Uninstaller::IsOwnProgId(const KwString& progId)
{
    int found = 0;
    KwString command = ReadString(HKEY_CLASSES_ROOT, progId + "\\shell\\Open\\Command", nullptr, &found);
    if (!found || command.GetLength() < 2 || command.GetText()[0] != '"')
        return 0;
    int close = KwString(command.GetText() + 1).Find('"');
    if (close <= 0)
        return 0;
    KwString program = UninstallPath::Normalize(KwString(command.GetText() + 1, close));
    return UninstallPath::IsBelow(program, m_productFolder);
}

// Puts one handler value back: the previous handler when there was one,
// otherwise the value goes. A value naming another program stays.
static int RestoreHandler(HKEY root, const KwString& key, const char* name, const KwString& progId,
                          const KwString& previous)
{
    int found = 0;
    KwString current = ReadString(root, key, name, &found);
    if (!found || !UninstallPath::SamePath(current, progId))
        return 0;
    if (previous.GetLength() > 0)
        return WriteString(root, key, name, previous) ? 1 : 0;
    return DeleteValue(root, key, name) ? 2 : 0;
}

void Uninstaller::RestoreExtension(const KwString& extension)
{
    KwString progId = UninstallPath::LastName(m_productFolder) + extension;
    if (!KeyExists(HKEY_CLASSES_ROOT, progId) || !IsOwnProgId(progId))
        return;
    KwString previous = m_links.GetPreviousHandler(extension, progId);
    KwString userChoice = KwString(kFileExtsKey) + "\\" + extension + "\\UserChoice";
    int classes = RestoreHandler(HKEY_CLASSES_ROOT, extension, nullptr, progId, previous);
    int user = RestoreHandler(HKEY_CURRENT_USER, userChoice, "Progid", progId, previous);
    if (classes == 1 || user == 1)
        Log(KwString("Restored ") + extension + " to " + previous);
    else if (classes == 2 || user == 2)
        Log(KwString("Removed the handler of ") + extension);
    else
        Log(KwString("Kept ") + extension + ": another program opens it now");
    // The installer lists its identifier as the default value of the
    // extension's OpenWithProgids key; other programs add named values.
    DeleteValue(HKEY_CLASSES_ROOT, extension + "\\OpenWithProgids", progId.GetText());
    DeleteValueIf(HKEY_CLASSES_ROOT, extension + "\\OpenWithProgids", nullptr, progId);
    KwString openWith = extension + "\\OpenWithProgids";
    if (IsEmptyKey(HKEY_CLASSES_ROOT, openWith))
        RegDeleteKeyA(HKEY_CLASSES_ROOT, openWith.GetText());
    if (classes == 2 || (classes == 0 && user == 2))
        RemoveInstalledExtensionKey(extension);
    if (user == 2)
        RemoveEmptyUserChoice(extension);
    if (DeleteKeyTree(HKEY_CLASSES_ROOT, progId))
        Log(KwString("Removed ") + progId);
    else
        Log(KwString("Failed: could not remove ") + progId);
}

static void AddExtension(TKwList<KwString>* extensions, const KwString& extension)
{
    for (int more = extensions->MoveFirst(); more; more = extensions->MoveNext()) {
        if (UninstallPath::SamePath(*extensions->GetAt(), extension))
            return;
    }
    extensions->AddTail(extension);
}

void Uninstaller::RestoreAssociations()
{
    // The installer's types, and whatever else the record names.
    TKwList<KwString> extensions;
    for (int index = 0; index < ASSOCIATION_TYPE_COUNT; ++index) {
        for (const char* extension : GetAssociationType(index)->extensions) {
            if (extension)
                AddExtension(&extensions, extension);
        }
    }
    for (int more = m_links.GetEntries().MoveFirst(); more; more = m_links.GetEntries().MoveNext())
        AddExtension(&extensions, m_links.GetEntries().GetAt()->extension);
    for (int more = extensions.MoveFirst(); more; more = extensions.MoveNext())
        RestoreExtension(*extensions.GetAt());
}

// Runs the registry editor on a file and waits for it.
static int ImportWithEditor(const KwString& path)
{
    KwString shortPath = ShortPathOf(path);
    return shortPath.GetLength() > 0 && Uninstaller::RunToEnd(KwString("regedit.exe /s ") + shortPath);
}

void Uninstaller::ImportDeletionScript()
{
    KwString script = m_productFolder + "\\uninstall.reg";
    char* bytes = nullptr;
    int length = 0;
    if (!ReadWholeFile(script, &bytes, &length)) {
        Log(KwString("No ") + script);
        return;
    }
    // The editor gets only what the filter lets through, from a file of ours.
    KwString filtered = FilterRegistryDeletionScript(bytes, length);
    free(bytes);
    char folder[MAX_PATH];
    char temporary[MAX_PATH];
    DWORD folderLength = GetTempPathA(MAX_PATH, folder);
    if (folderLength == 0 || folderLength >= MAX_PATH || !GetTempFileNameA(folder, "unr", 0, temporary)) {
        Log(KwString("Failed: no temporary file for ") + script);
        return;
    }
    KwFileStream out;
    int written = out.Open(KwString(temporary), KW_MODE_WRITE)
                  && out.Write(filtered.GetText(), filtered.GetLength()) == filtered.GetLength();
    out.Close();
    if (written && ImportWithEditor(KwString(temporary)))
        Log(KwString("Imported ") + script);
    else
        Log(KwString("Failed: could not import ") + script);
    DeleteFileA(temporary);
}

void Uninstaller::RemoveUninstallKey()
{
    HKEY root = nullptr;
    KwString path;
    const KwString& line = m_log.GetUninstallKey();
    if (!SplitUninstallKey(line, &root, &path)) {
        Log(KwString("Refused: not an uninstall entry: ") + line);
        return;
    }
    if (!KeyExists(root, path))
        Log(KwString("Already gone: ") + line);
    else if (DeleteKeyTree(root, path))
        Log(KwString("Removed ") + line);
    else
        Log(KwString("Failed: could not remove ") + line);
}

} // namespace KwSDK
