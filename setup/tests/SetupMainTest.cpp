// Tests of Setup.exe as a program: started as the launcher starts it, from a
// package folder.
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

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
    ASSERT_EQ(1, CopyOneFile(KwSDK::KwTest::WinePath(SETUP_EXE), program));

    // The launcher passes the program's full path as the whole command line.
    HANDLE process = KwSDK::KwTest::StartProgram(program);
    ASSERT_NE(nullptr, process);
    DWORD processId = GetProcessId(process);
    bool sawWindow = false;
    DWORD wait = WAIT_TIMEOUT;
    for (int round = 0; round < 600 && wait == WAIT_TIMEOUT; ++round) {
        sawWindow = sawWindow || ProcessHasWindow(processId);
        wait = WaitForSingleObject(process, 50);
    }
    // Answers at once: the program has ended, or it is ended now.
    long exitCode = KwSDK::KwTest::FinishProgram(process, 0);

    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), wait) << "Setup.exe did not end";
    EXPECT_EQ(0, exitCode);
    EXPECT_FALSE(sawWindow);
}
#endif
