// Filling the install folder into the registry script and importing it.
#include "SetupRegistry.h"

#include "KwFileStream.h"
#include "RegistryDeletionScript.h"
#include "SetupConfig.h"
#include "SetupProcesses.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace KwSDK {

int ExpandRegistryScript(const KwString& targetFolder, const KwString& sourcePath,
                         const KwString& expandedPath)
{
    KwString placeholder = GetConfigString("regist_root");
    KwFileStream source;
    if (!source.Open(sourcePath, KW_MODE_READ))
        return 0;
    KwFileStream expanded;
    if (!expanded.Open(expandedPath, KW_MODE_WRITE)) {
        source.Close();
        return 0;
    }
    // An empty placeholder (key missing) replaces nothing.
    int copied = ExpandRegistryLines(&source, &expanded, placeholder, targetFolder);
    source.Close();
    int flushed = expanded.Flush();
    int closed = expanded.Close();
    return copied && flushed && closed ? 1 : 0;
}

int ImportRegistryScript(const KwString& targetFolder, const KwString& suffix, int wait)
{
    KwString folder = GetProgramFolder();
    KwString source = folder + "setup" + suffix + ".reg";
    KwString expanded = folder + "setup_temp" + suffix + ".reg";
    // A script that could not be expanded completely is not imported: a
    // missing file would leave the editor an empty argument (it then opens
    // its window), and a cut one, or one left from an earlier run, would
    // write entries that do not belong to this install.
    if (!ExpandRegistryScript(targetFolder, source, expanded))
        return 0;
    // The import goes ahead without them: the product works, and the
    // uninstaller still removes what its logs name.
    WriteUninstallScript(expanded, targetFolder + "\\" + GetConfigString("sub_dir"));
    RecordInstallLanguage();
    KwString shortPath = ShortPathOf(expanded);
    if (shortPath.GetLength() == 0)
        return 0;
    return RunCommand(KwString("regedit.exe /s ") + shortPath, wait);
}

int WriteUninstallScript(const KwString& expandedPath, const KwString& productFolder)
{
    KwFileStream source;
    if (!source.Open(expandedPath, KW_MODE_READ))
        return 0;
    std::string script;
    char buffer[4096];
    int count = 0;
    while ((count = source.Read(buffer, static_cast<int>(sizeof(buffer)))) > 0)
        script.append(buffer, static_cast<size_t>(count));
    source.Close();
    if (count < 0)
        return 0;
    KwString deletion = MakeRegistryDeletionScript(script.data(), static_cast<int>(script.size()));
    KwFileStream target;
    if (!target.Open(productFolder + "\\uninstall.reg", KW_MODE_WRITE))
        return 0;
    int written = target.Write(deletion.GetText(), deletion.GetLength()) == deletion.GetLength();
    int closed = target.Close();
    return written && closed == 1 ? 1 : 0;
}

// The hive of a key written "HKEY_LOCAL_MACHINE\\path" (or HKLM, HKEY_CURRENT_USER,
// HKCU); *path receives the rest. 0 for any other hive or no path.
static int SplitKey(const KwString& key, HKEY* root, KwString* path)
{
    int slash = key.Find('\\');
    if (slash <= 0 || slash + 1 >= key.GetLength())
        return 0;
    KwString hive = key.Mid(0, slash - 1);
    if (hive.CompareNoCase("HKEY_LOCAL_MACHINE") == 0 || hive.CompareNoCase("HKLM") == 0)
        *root = HKEY_LOCAL_MACHINE;
    else if (hive.CompareNoCase("HKEY_CURRENT_USER") == 0 || hive.CompareNoCase("HKCU") == 0)
        *root = HKEY_CURRENT_USER;
    else
        return 0;
    *path = key.Mid(slash + 1, -1);
    return 1;
}

int RecordInstallLanguage()
{
    HKEY root = nullptr;
    KwString path;
    if (!SplitKey(GetConfigString("uninstall_regkey"), &root, &path))
        return 0;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.GetText(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 0;
    const char* language = GetLanguage() == 0 ? "cn" : "en";
    LONG result = RegSetValueExA(key, "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(language),
                                 static_cast<DWORD>(strlen(language) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 1 : 0;
}

} // namespace KwSDK
