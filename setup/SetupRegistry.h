// The product's registry script: the install folder filled into its
// placeholder, and the silent import by the system's registry editor.
#ifndef SETUP_SETUPREGISTRY_H
#define SETUP_SETUPREGISTRY_H

#include "KwString.h"
#include "SetupRegistryScript.h"

namespace KwSDK {

// Expands program folder + "setup" + suffix + ".reg" into program folder +
// "setup_temp" + suffix + ".reg" for the target folder, then starts
// "regedit.exe /s " on the short path of the expanded file without waiting.
// Before that it writes the uninstaller's deletion script (see
// WriteUninstallScript) and records the install's language. 1 when the
// registry editor was started; nothing is started when the script could not
// be expanded completely.
// With wait set it waits for the editor's end (see RunCommand).
int ImportRegistryScript(const KwString& targetFolder, const KwString& suffix, int wait = 0);

// Writes productFolder + "\\uninstall.reg": the expanded script's keys as
// deletion entries, which the uninstaller imports. 1 when written.
int WriteUninstallScript(const KwString& expandedPath, const KwString& productFolder);

// Sets "Language" ("cn" or "en", the wizard's current language) in the
// uninstall key (key "uninstall_regkey") so that the uninstaller speaks the
// language of the install. 1 when the value was written.
int RecordInstallLanguage();

// Copies the script line by line, every occurrence of the placeholder (key
// "regist_root") replaced by the target folder with doubled backslashes;
// every other byte is copied unchanged. 1 when the whole script was written,
// 0 when a file could not be opened or written.
int ExpandRegistryScript(const KwString& targetFolder, const KwString& sourcePath,
                         const KwString& expandedPath);

} // namespace KwSDK

#endif
