// Filling the install folder into the registry script and importing it.
#include "SetupRegistry.h"

#include "KwFileStream.h"
#include "SetupConfig.h"
#include "SetupProcesses.h"

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

int ImportRegistryScript(const KwString& targetFolder, const KwString& suffix)
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
    KwString shortPath = ShortPathOf(expanded);
    if (shortPath.GetLength() == 0)
        return 0;
    return RunCommand(KwString("regedit.exe /s ") + shortPath);
}

} // namespace KwSDK
