// The wizard as a user gets it: the test package and Setup.exe packed behind
// Carton.exe with carton-pack, started, driven to the end from this process
// through the wizard's windows, and the launcher's temporary folder gone
// after the wizard has quit.
#include "KwTestSupport.h"
#include "SetupWizardSession.h"

#include <gtest/gtest.h>

using namespace SetupTest;
using KwSDK::KwTest::ScopedVariable;
using KwSDK::KwTest::WinePath;

#if defined(SETUP_EXE) && defined(CARTON_EXE) && defined(CARTON_PACK_EXE)
TEST(SetupLauncherCp936, PackedInstallerInstallsAndLeavesNoTemporaryFolder)
{
    const char* const notice = "\xcc\xe1\xca\xbe";
    const char* const caption = "Lumo \xb0\xb2\xd7\xb0\xcf\xf2\xb5\xbc";
    RegistryLock lock;
    SavedKey uninstallKey(HKEY_LOCAL_MACHINE,
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo");
    SavedKey classKey(HKEY_CLASSES_ROOT, "Lumo");
    ScratchFolder work("launcher");
    std::string source = work.MakeSubfolder("source");
    CopyPackageFiles(source, nullptr);
    ASSERT_TRUE(CopyTree(PackageFolder() + "Brindle", source + "\\Brindle"));
    ASSERT_EQ(1, CopyOneFile(WinePath(SETUP_EXE), source + "\\Setup.exe"));
    std::string installer = work.Path() + "\\LumoSetup.exe";
    ASSERT_EQ(0, KwSDK::KwTest::RunToEnd("\"" + WinePath(CARTON_PACK_EXE) + "\" create --no-check --stub \"" +
                                             WinePath(CARTON_EXE) + "\" --run Setup.exe -o \"" +
                                             installer + "\" \"" + source + "\"",
                                         60000));
    std::string temp = work.MakeSubfolder("temp");
    std::string programFiles = work.MakeSubfolder("programs");
    ScopedVariable tempVariable("TEMP", temp);
    ScopedVariable tmpVariable("TMP", temp);
    RemoveShortcuts();

    HANDLE process = KwSDK::KwTest::StartProgram("\"" + installer + "\"");
    ASSERT_NE(nullptr, process);
    HWND window = WaitForWizardWindow(caption, 30000);
    if (window != nullptr) {
        WizardDriver driver(window);
        GoToFolderPage(driver);
        // The system sets ProgramFiles afresh in every process it starts,
        // so the folder is typed.
        driver.Clear(kFolderField, 400);
        driver.Type(kFolderField, programFiles + "\\Brindle");
        driver.Click(kNext);
        EXPECT_TRUE(WizardDriver::Answer(notice, IDOK, nullptr, 5000));
        EXPECT_TRUE(driver.WaitShown(kTiffBox, 30000));
        EXPECT_FALSE(ReadTree(temp).empty());
        driver.Click(kNext);
        EXPECT_TRUE(driver.WaitShown(kWelcome, 5000));
        driver.Click(kNext);
    }
    long exitCode = KwSDK::KwTest::FinishProgram(process, 30000);
    ASSERT_NE(nullptr, window) << "no wizard window";
    EXPECT_EQ(0, exitCode);
    std::map<std::string, std::string> installed = ReadTree(programFiles + "\\Brindle");
    EXPECT_EQ(1u, installed.erase("Lumo\\install.txt"));
    EXPECT_EQ(1u, installed.erase("Lumo\\uninstall.reg"));
    EXPECT_TRUE(ReadTree(source + "\\Brindle") == installed) << installed.size() << " entries";
    // The launcher removed the folder it unpacked into.
    EXPECT_TRUE(ReadTree(temp).empty());
    RemoveShortcuts();
}
#endif
