// Fuzzes the install.txt reader and the path rules applied to every line.
#include "InstallLog.h"
#include "KwString.h"
#include "UninstallPath.h"

#include <cstddef>
#include <cstdint>

using namespace KwSDK;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 20)
        return 0;
    InstallLog log;
    if (!log.Parse(reinterpret_cast<const char*>(data), static_cast<int>(size)))
        return 0;
    KwString folder = UninstallPath::Parent(UninstallPath::Normalize(log.GetLogPath()));
    for (int more = log.GetEntries().MoveFirst(); more; more = log.GetEntries().MoveNext()) {
        KwString entry = UninstallPath::Normalize(*log.GetEntries().GetAt());
        UninstallPath::IsProductEntry(entry, folder);
        UninstallPath::LastName(entry);
    }
    UninstallPath::IsLinkPath(UninstallPath::Normalize(log.GetDesktopLink()));
    UninstallPath::IsMenuFolderPair(log.GetProductMenuFolder(), log.GetMenuFolder());
    UninstallPath::IsUninstallKey(log.GetUninstallKey());
    return 0;
}
