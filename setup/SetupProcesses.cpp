// Starting the registry editor, the registration tool, the shell and the
// browser, and ending the shell so that a loaded shell extension can be
// replaced.
#include "SetupProcesses.h"

#include "SetupConfig.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <new>

namespace KwSDK {

// Show states of the shell's "open" verb.
static const int kShowWithoutActivation = 4;
static const int kShowDefault = 10;

// The shell extension's own unregistration runs in the registration tool;
// these fixed pauses are the only synchronisation with the shell's end and
// with that tool.
static const DWORD kShellEndPause = 1000;
static const DWORD kUnregisterPause = 1000;

static const char* const kProductPagePath = "/setup.jsp?pd=1";

int RunCommand(const KwString& commandLine, int wait)
{
    if (commandLine.GetLength() == 0)
        return 0;
    // CreateProcess may write into the command line, so it gets its own copy.
    char* buffer = new (std::nothrow) char[commandLine.GetLength() + 1];
    if (!buffer)
        return 0;
    memcpy(buffer, commandLine.GetText(), static_cast<size_t>(commandLine.GetLength()) + 1);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    BOOL started = CreateProcessA(nullptr, buffer, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process);
    delete[] buffer;
    if (!started)
        return 0;
    CloseHandle(process.hThread);
    DWORD exitCode = 0;
    if (wait && (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
                 !GetExitCodeProcess(process.hProcess, &exitCode)))
        exitCode = 1;
    CloseHandle(process.hProcess);
    return exitCode == 0 ? 1 : 0;
}

KwString ShortPathOf(const KwString& path)
{
    if (path.GetLength() == 0)
        return KwString();
    char buffer[1024];
    memset(buffer, 0, sizeof buffer);
    DWORD length = GetShortPathNameA(path.GetText(), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return KwString();
    return KwString(buffer, static_cast<int>(length));
}

KwString ShellExtensionPath(const KwString& targetFolder)
{
    return targetFolder + "\\Lumo\\LumoShellEx.dll";
}

// Runs a tool on the short path of a file. A missing file starts nothing: the
// tool would only fail on an empty argument.
static int RunOnFile(const char* command, const KwString& path, int wait)
{
    KwString shortPath = ShortPathOf(path);
    if (shortPath.GetLength() == 0)
        return 0;
    return RunCommand(KwString(command) + shortPath, wait);
}

int RegisterShellExtension(const KwString& targetFolder, int wait)
{
    return RunOnFile("regsvr32.exe /s ", ShellExtensionPath(targetFolder), wait);
}

// Ends one process; a process that cannot be opened or ended is skipped.
static int EndProcess(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process)
        return 0;
    BOOL ended = TerminateProcess(process, 1);
    CloseHandle(process);
    return ended ? 1 : 0;
}

int EndProcessesNamed(const char* name)
{
    if (!name || !*name)
        return 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    int ended = 0;
    PROCESSENTRY32 entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        KwString exeName(entry.szExeFile);
        if (exeName.GetLength() > 0 && exeName.CompareNoCase(name) == 0)
            ended += EndProcess(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ended;
}

void ReleaseShellExtensionOf(const KwString& targetFolder, int* shellRestarted,
                             const char* processName, const char* shellProgram)
{
    int ended = EndProcessesNamed(processName);
    if (ended > 0 && shellRestarted)
        *shellRestarted = 1;
    Sleep(kShellEndPause);
    if (RunOnFile("regsvr32.exe /s /u ", ShellExtensionPath(targetFolder), 0))
        Sleep(kUnregisterPause);
    if (shellRestarted && *shellRestarted)
        OpenProgramInBackground(shellProgram);
}

void ReleaseShellExtension(const KwString& targetFolder, int* shellRestarted)
{
    ReleaseShellExtensionOf(targetFolder, shellRestarted, "explorer.exe", "EXPLORER.EXE");
}

// The shell answers a value above 32 when it started the program.
static int ShellOpen(const char* program, const char* parameters, int show)
{
    HINSTANCE result = ShellExecuteA(nullptr, "open", program, parameters, nullptr, show);
    return reinterpret_cast<INT_PTR>(result) > 32 ? 1 : 0;
}

int OpenProgramInBackground(const char* program)
{
    if (!program || !*program)
        return 0;
    return ShellOpen(program, nullptr, kShowWithoutActivation);
}

int StartShell()
{
    return OpenProgramInBackground("EXPLORER.EXE");
}

int OpenUrlInBrowser(const KwString& url)
{
    if (url.GetLength() == 0)
        return 0;
    return ShellOpen("IEXPLORE.EXE", url.GetText(), kShowDefault);
}

KwString ProductWebPageFor(const KwString& host)
{
    KwString base(host);
    base.TrimLeft();
    base.TrimRight();
    while (base.GetLength() > 0 && base.GetText()[base.GetLength() - 1] == '/')
        base = KwString(base.GetText(), base.GetLength() - 1);
    if (base.GetLength() == 0)
        return KwString();
    if (base.Find("://") < 0)
        base = KwString("http://") + base;
    return base + kProductPagePath;
}

KwString ProductWebPage()
{
    return ProductWebPageFor(GetConfigString("website"));
}

int OpenProductWebPage()
{
    KwString page = ProductWebPage();
    if (page.GetLength() == 0)
        return 0;
    return OpenUrlInBrowser(page);
}

} // namespace KwSDK
