// carton_probe.exe: the program packed by the end-to-end tests of Carton.exe.
// It writes how it was started (command line, arguments, current
// folder, module path, temporary folder) and a listing of its own folder to
// the report file named by CARTON_PROBE_REPORT, then exits with the code
// named by CARTON_PROBE_EXIT (0 without it).
#ifdef _WIN32

#include "ProbeReport.h"

#include "KwFile.h"
#include "KwProperties.h"
#include "KwString.h"

#include <windows.h>

#include <cstdlib>

using namespace KwSDK;

namespace {

KwString CurrentFolder()
{
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? KwString(buffer, static_cast<int>(length)) : KwString();
}

KwString ModulePath()
{
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? KwString(buffer, static_cast<int>(length)) : KwString();
}

KwString TempPath()
{
    char buffer[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? KwString(buffer, static_cast<int>(length)) : KwString();
}

// The module's folder: the module path up to its last backslash.
KwString ModuleFolder(const KwString& module)
{
    int slash = module.ReverseFind('\\');
    return slash > 0 ? KwString(module.GetText(), slash) : KwString();
}

} // namespace

int main(int argc, char** argv)
{
    const char* reportPath = getenv(ProbeReport::kReportVariable);
    if (!reportPath || !*reportPath)
        return ProbeReport::kNoReportExit;
    KwProperties report;
    KwString module = ModulePath();
    report.SetString(ProbeReport::kCommandLine, GetCommandLineA());
    report.SetString(ProbeReport::kArgumentCount, KwString(argc));
    for (int index = 1; index < argc; ++index)
        report.SetString(KwString(ProbeReport::kArgumentPrefix) + KwString(index), argv[index]);
    report.SetString(ProbeReport::kCurrentFolder, CurrentFolder());
    report.SetString(ProbeReport::kModulePath, module);
    report.SetString(ProbeReport::kTempPath, TempPath());
    ProbeReport::AddListing(&report, ProbeReport::kEntryPrefix, ModuleFolder(module), KwString(""));
    if (!report.SaveFile(KwString(reportPath)))
        return 1;
    const char* exitText = getenv(ProbeReport::kExitVariable);
    int exitCode = exitText ? atoi(exitText) : 0;

    const char* hold = getenv(ProbeReport::kHoldVariable);
    if (!hold || atoi(hold) <= 0)
        return exitCode;
    // Stay alive while another launcher may be cleaning up, then look again:
    // the folder must still hold everything it held at the start.
    Sleep(static_cast<DWORD>(atoi(hold)));
    ProbeReport::AddListing(&report, ProbeReport::kLaterPrefix, ModuleFolder(module), KwString(""));
    report.SetString(ProbeReport::kHeld, "1");
    return report.SaveFile(KwString(reportPath)) ? exitCode : 1;
}

#endif
