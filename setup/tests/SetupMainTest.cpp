// Tests of Setup.exe as a program: started as the launcher starts it, from a
// package folder.
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace SetupTest;

namespace {

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK NoteWindowOfProcess(HWND window, LPARAM parameter)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        search->found = true;
    return TRUE;
}

bool ProcessHasWindow(DWORD processId)
{
    WindowSearch search = {processId, false};
    EnumWindows(NoteWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

#ifdef SETUP_EXE
TEST(SetupProgram, MissingEnglishPropertiesExitsZeroWithoutWindow)
{
    ScratchFolder package("setup-exe");
    CopyPackageFiles(package.Path(), "setup_en.properties");
    std::string program = package.Path() + "\\Setup.exe";
    ASSERT_EQ(1, CopyOneFile(WindowsPath(SETUP_EXE), program));

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    // The launcher passes the program's full path as the whole command line.
    std::string commandLine = program;
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    bool sawWindow = false;
    DWORD wait = WAIT_TIMEOUT;
    for (int round = 0; round < 600 && wait == WAIT_TIMEOUT; ++round) {
        sawWindow = sawWindow || ProcessHasWindow(process.dwProcessId);
        wait = WaitForSingleObject(process.hProcess, 50);
    }
    DWORD exitCode = 1234;
    if (wait != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 99);
    else
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), wait) << "Setup.exe did not end";
    EXPECT_EQ(0u, exitCode);
    EXPECT_FALSE(sawWindow);
}
#endif
