// Tests of the programs the installer starts: commands without waiting, the
// shell extension's registration through the system's registration tool,
// ending and restarting the shell, and the product web page.
#include "SetupConfig.h"
#include "SetupProcesses.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace KwSDK;
using namespace SetupTest;
using KwTest::Std;

namespace {

// A copy of this test program that, started while Helpers is alive, is a
// sleeper (see RunSleeperHelper): a process with a chosen name that stays
// until it is ended.
std::string MakeSleeper(const ScratchFolder& folder, const std::string& name)
{
    std::string path = folder.Path() + "\\" + name;
    EXPECT_EQ(1, CopyOneFile(OwnProgramPath(), path));
    return path;
}

class Helpers {
public:
    Helpers() : m_sleep(kSleeperVariable, "1") {}

private:
    KwTest::ScopedVariable m_sleep;
};

void EndAll(const char* name)
{
    for (DWORD id : ProcessesNamed(name))
        EndProcessById(id);
}

bool Running(const char* name)
{
    return !ProcessesNamed(name).empty();
}

const char kRegDllKey[] = "Software\\Carton\\TestRegDll";

bool Registered()
{
    bool found = false;
    ReadRegistryString(HKEY_CURRENT_USER, kRegDllKey, "Registered", &found);
    return found;
}

} // namespace

namespace SetupTest {

// Bounded, so that a helper whose test died does not stay for ever.
int RunSleeperHelper()
{
    Sleep(30000);
    return 0;
}

} // namespace SetupTest

TEST(SetupProcesses, RunCommandDoesNotWait)
{
    ScratchFolder folder("run");
    std::string sleeper = MakeSleeper(folder, "cartonrun.exe");
    {
        Helpers helpers;
        ASSERT_EQ(1, RunCommand(("\"" + sleeper + "\"").c_str()));
    }
    // The helper stays for half a minute: it is still there after the call.
    EXPECT_TRUE(WaitFor([] { return Running("cartonrun.exe"); }, 10000));
    EndAll("cartonrun.exe");
    EXPECT_TRUE(WaitFor([] { return !Running("cartonrun.exe"); }, 10000));
}

TEST(SetupProcesses, RunCommandOfAMissingProgramFails)
{
    EXPECT_EQ(0, RunCommand("carton-no-such-program.exe /s"));
    EXPECT_EQ(0, RunCommand(""));
}

TEST(SetupProcesses, ProcessesAreMatchedIgnoringCase)
{
    ScratchFolder upper("upper");
    ScratchFolder mixed("mixed");
    ScratchFolder other("other");
    std::vector<std::string> programs = {MakeSleeper(upper, "CARTONSHELL1.EXE"),
                                         MakeSleeper(mixed, "CartonShell1.exe"),
                                         MakeSleeper(other, "cartonother1.exe")};
    {
        Helpers helpers;
        for (const std::string& program : programs)
            ASSERT_EQ(1, RunCommand(("\"" + program + "\"").c_str()));
    }
    ASSERT_TRUE(WaitFor([] { return ProcessesNamed("cartonshell1.exe").size() == 2; }, 10000));
    ASSERT_TRUE(WaitFor([] { return Running("cartonother1.exe"); }, 10000));

    EXPECT_EQ(2, EndProcessesNamed("cartonshell1.exe"));
    EXPECT_TRUE(WaitFor([] { return !Running("cartonshell1.exe"); }, 10000));
    EXPECT_TRUE(Running("cartonother1.exe"));
    EXPECT_EQ(0, EndProcessesNamed("cartonshell1.exe"));
    EXPECT_EQ(0, EndProcessesNamed(""));
    EndAll("cartonother1.exe");
}

TEST(SetupProcesses, ShortPathsNeedNoQuotes)
{
    ScratchFolder folder("short path");
    std::string file = folder.MakeSubfolder("Program Files\\Brindle Lumo") + "\\Lumo Shell Ex.dll";
    ASSERT_TRUE(KwTest::WriteFile(file, "x"));
    std::string shortPath = Std(ShortPathOf(file.c_str()));
    ASSERT_FALSE(shortPath.empty());
    EXPECT_EQ(std::string::npos, shortPath.find(' '));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(shortPath.c_str()));
    EXPECT_EQ("", Std(ShortPathOf((folder.Path() + "\\missing.dll").c_str())));
    EXPECT_EQ("", Std(ShortPathOf("")));
}

TEST(SetupProcesses, ShellExtensionPathIsFixed)
{
    EXPECT_EQ("C:\\Program Files\\Brindle\\Lumo\\LumoShellEx.dll",
              Std(ShellExtensionPath("C:\\Program Files\\Brindle")));
    ScratchFolder target("no dll");
    EXPECT_EQ(0, RegisterShellExtension(target.Path().c_str()));
}

#ifdef CARTON_TEST_REGDLL
namespace {

// A target folder with spaces holding the test library as the shell extension.
std::string InstallTestExtension(const ScratchFolder& target)
{
    std::string dll = target.MakeSubfolder("Lumo") + "\\LumoShellEx.dll";
    EXPECT_EQ(1, CopyOneFile(KwTest::WinePath(CARTON_TEST_REGDLL), dll));
    return dll;
}

} // namespace

TEST(SetupShellExtension, RegistrationToolRegistersAndReleaseUnregisters)
{
    RegistryLock lock;
    SavedKey saved(HKEY_CURRENT_USER, kRegDllKey);
    DeleteKeyTree(HKEY_CURRENT_USER, kRegDllKey);
    ScratchFolder target("shell target");
    InstallTestExtension(target);

    ASSERT_EQ(1, RegisterShellExtension(target.Path().c_str()));
    ASSERT_TRUE(WaitFor(Registered, 30000)) << "regsvr32 did not register the library";

    // A running shell (a helper under a shell's name, in capitals) is ended,
    // the library unregistered, and the shell started again.
    ScratchFolder shells("shells");
    std::string running = MakeSleeper(shells, "CARTONSHELL2.EXE");
    ScratchFolder restart("restart");
    std::string restartProgram = MakeSleeper(restart, "cartonrestart2.exe");
    Helpers helpers;
    ASSERT_EQ(1, RunCommand(("\"" + running + "\"").c_str()));
    ASSERT_TRUE(WaitFor([] { return Running("cartonshell2.exe"); }, 10000));

    int shellRestarted = 0;
    ReleaseShellExtensionOf(target.Path().c_str(), &shellRestarted, "cartonshell2.exe", restartProgram.c_str());
    EXPECT_EQ(1, shellRestarted);
    EXPECT_TRUE(WaitFor([] { return !Running("cartonshell2.exe"); }, 10000));
    EXPECT_TRUE(WaitFor([] { return !Registered(); }, 30000)) << "regsvr32 /u did not unregister the library";
    EXPECT_TRUE(WaitFor([] { return Running("cartonrestart2.exe"); }, 10000)) << "the shell was not restarted";
    EndAll("cartonrestart2.exe");
    EndAll("cartonshell2.exe");
}

TEST(SetupShellExtension, WithoutARunningShellNoShellIsStarted)
{
    RegistryLock lock;
    SavedKey saved(HKEY_CURRENT_USER, kRegDllKey);
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kRegDllKey, "Registered", "1"));
    ScratchFolder target("shell target");
    InstallTestExtension(target);
    ScratchFolder restart("restart");
    std::string restartProgram = MakeSleeper(restart, "cartonrestart3.exe");
    Helpers helpers;

    int shellRestarted = 0;
    ReleaseShellExtensionOf(target.Path().c_str(), &shellRestarted, "cartonshell3.exe", restartProgram.c_str());
    EXPECT_EQ(0, shellRestarted);
    EXPECT_TRUE(WaitFor([] { return !Registered(); }, 30000)) << "regsvr32 /u did not unregister the library";
    EXPECT_FALSE(Running("cartonrestart3.exe"));
    EndAll("cartonrestart3.exe");
}
#endif

TEST(SetupProcesses, ProductWebPageNeedsAConfiguredHost)
{
    EXPECT_EQ("http://www.example.com/setup.jsp?pd=1", Std(ProductWebPageFor("www.example.com")));
    EXPECT_EQ("https://lumo.example.org/setup.jsp?pd=1", Std(ProductWebPageFor(" https://lumo.example.org// ")));
    EXPECT_EQ("", Std(ProductWebPageFor("")));
    EXPECT_EQ("", Std(ProductWebPageFor("/")));
    ASSERT_EQ(1, LoadConfigurationFrom(PackageFolder().c_str()));
    EXPECT_EQ("", Std(ProductWebPage()));
    EXPECT_EQ(0, OpenProductWebPage());
    EXPECT_EQ(0, OpenUrlInBrowser(""));
}
