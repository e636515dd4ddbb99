// The unattended install: its options, and Setup.exe /S run as a program.
#include "SetupConfig.h"
#include "SetupSilent.h"
#include "SetupTestSupport.h"
#include "SetupWizardSession.h"

#include <gtest/gtest.h>

#include <string>

using namespace SetupTest;
using KwSDK::SetupSilent;

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo";

// Removes the links and start-menu folders an install made (lines 2 to 6
// of its install log), so that a test leaves the prefix's menus as found.
void RemoveInstalledLinks(const std::string& installLog)
{
    std::string text = KwSDK::KwTest::ReadFile(installLog);
    std::string lines[6];
    size_t start = 0;
    for (int i = 0; i < 6 && start < text.size(); ++i) {
        size_t end = text.find("\r\n", start);
        lines[i] = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 2;
    }
    for (int i : {1, 2, 5})
        if (!lines[i].empty())
            DeleteFileA(lines[i].c_str());
    for (int i : {3, 4})
        if (!lines[i].empty())
            RemoveDirectoryA(lines[i].c_str());
}

} // namespace

TEST(SetupSilentOptions, ReadsFolderLanguageAndTypes)
{
    ASSERT_EQ(1, KwSDK::LoadConfigurationFrom((PackageFolder()).c_str()));
    SetupSilent defaults;
    EXPECT_EQ(1, defaults.Parse("/S"));
    EXPECT_EQ(0, defaults.GetLanguageIndex());
    for (int type = 0; type < KwSDK::ASSOCIATION_TYPE_COUNT; ++type)
        EXPECT_EQ(type == KwSDK::ASSOCIATION_JPEG2000 || type == KwSDK::ASSOCIATION_JPEG2000_COMPLETE,
                  defaults.IsTypeChecked(type) != 0)
            << type;
    std::string folder = defaults.GetFolder().GetText();
    EXPECT_EQ("\\Brindle", folder.substr(folder.size() - 8));

    SetupSilent chosen;
    EXPECT_EQ(1, chosen.Parse("/s \"/D=C:\\Some Place\\\\\" /lang=EN /TYPES=png,Gif,jpg,JPEG2000Complete"));
    EXPECT_STREQ("C:\\Some Place", chosen.GetFolder().GetText());
    EXPECT_EQ(1, chosen.GetLanguageIndex());
    for (int type = 0; type < KwSDK::ASSOCIATION_TYPE_COUNT; ++type)
        EXPECT_EQ(type == KwSDK::ASSOCIATION_PNG || type == KwSDK::ASSOCIATION_GIF ||
                      type == KwSDK::ASSOCIATION_JPEG || type == KwSDK::ASSOCIATION_JPEG2000_COMPLETE,
                  chosen.IsTypeChecked(type) != 0)
            << type;

    SetupSilent all;
    EXPECT_EQ(1, all.Parse("/S /TYPES=all"));
    EXPECT_NE(0, all.IsTypeChecked(KwSDK::ASSOCIATION_WMF));

    for (const char* wrong : {"/S /TYPES=PNG,XYZ", "/S /LANG=fr", "/S /Q", "/S /D="}) {
        SetupSilent silent;
        EXPECT_EQ(0, silent.Parse(wrong)) << wrong;
        EXPECT_GT(silent.GetFailure().GetLength(), 0) << wrong;
    }
    EXPECT_EQ(1, SetupSilent::IsSilentCommandLine("\"/D=C:\\x\" /s"));
    EXPECT_EQ(0, SetupSilent::IsSilentCommandLine("C:\\folder\\Setup.exe"));
}

// A folder ending in a character whose second byte is the backslash byte
// keeps that character; a real trailing separator after it goes.
TEST(SetupSilentOptionsCp936, TrailingSeparatorIsCutByCharacters)
{
    ASSERT_EQ(936u, GetACP());
    SetupSilent silent;
    EXPECT_EQ(1, silent.Parse("/S /D=C:\\Place\\\x81\x5C"));
    EXPECT_STREQ("C:\\Place\\\x81\x5C", silent.GetFolder().GetText());
    SetupSilent trailing;
    EXPECT_EQ(1, trailing.Parse("/S /D=C:\\Place\\\x81\x5C\\"));
    EXPECT_STREQ("C:\\Place\\\x81\x5C", trailing.GetFolder().GetText());
}

#ifdef SETUP_EXE
TEST(SetupSilentProgram, InstallsWithoutWizardAndFailsOnAnUnwritableTarget)
{
    RegistryLock lock;
    SavedKey uninstall(HKEY_LOCAL_MACHINE, kUninstallKey);
    SavedKey classes(HKEY_CLASSES_ROOT, "Lumo");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);

    ScratchFolder package("silent package");
    CopyPackageFiles(package.Path(), nullptr);
    ASSERT_TRUE(CopyTree(PackageFolder() + "Brindle", package.Path() + "\\Brindle"));
    std::string program = package.Path() + "\\Setup.exe";
    ASSERT_EQ(1, CopyOneFile(KwSDK::KwTest::WinePath(SETUP_EXE), program));
    ScratchFolder target("silent target");
    std::string folder = target.Path() + "\\Product Folder";
    std::string log = target.Path() + "\\silent.log";

    long exitCode = KwSDK::KwTest::RunToEnd(
        "\"" + program + "\" /S \"/D=" + folder + "\" /LANG=en /TYPES=none \"/LOG=" + log + "\"", 120000);
    std::string installLog = folder + "\\Lumo\\install.txt";
    RemoveInstalledLinks(installLog);
    std::string logText = KwSDK::KwTest::ReadFile(log);
    EXPECT_EQ(0, exitCode) << logText;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\Lumo\\images\\app.ico").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\common\\palettes\\grey\\levels.txt").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(installLog.c_str()));
    EXPECT_NE(std::string::npos, KwSDK::KwTest::ReadFile(folder + "\\Lumo\\uninstall.reg").find("[-HKEY_CLASSES_ROOT\\Lumo]"));
    bool found = false;
    // The registry editor has ended before the install does.
    EXPECT_EQ("Lumo1.04 (32 bit)", ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", &found));
    EXPECT_EQ("en", ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "Language", &found));
    EXPECT_NE(std::string::npos, logText.find("copy Lumo\\readme.txt\r\n")) << logText;
    EXPECT_NE(std::string::npos, logText.find("done\r\n")) << logText;

    // Below a file no folder can be made: the install ends with a failure
    // that the log names, and nothing is copied.
    std::string blocker = target.Path() + "\\a file";
    ASSERT_EQ(1, CopyOneFile(log, blocker));
    std::string failLog = target.Path() + "\\failed.log";
    exitCode = KwSDK::KwTest::RunToEnd(
        "\"" + program + "\" /S \"/D=" + blocker + "\\Product\" \"/LOG=" + failLog + "\"", 120000);
    std::string failText = KwSDK::KwTest::ReadFile(failLog);
    EXPECT_NE(0, exitCode);
    EXPECT_NE(std::string::npos, failText.find("failed: cannot create folder " + blocker + "\\Product")) << failText;
}
#endif

#if defined(SETUP_EXE) && defined(CARTON_EXE) && defined(CARTON_PACK_EXE)
// The launcher hands its arguments on and ends with the installer's exit
// code; a wizard would wait for a user, so ending at all shows it stayed away.
TEST(SetupSilentProgram, PackedInstallerInstallsSilentlyThroughTheLauncher)
{
    RegistryLock lock;
    SavedKey uninstall(HKEY_LOCAL_MACHINE, kUninstallKey);
    SavedKey classes(HKEY_CLASSES_ROOT, "Lumo");
    ScratchFolder work("silent launcher");
    std::string source = work.MakeSubfolder("source");
    CopyPackageFiles(source, nullptr);
    ASSERT_TRUE(CopyTree(PackageFolder() + "Brindle", source + "\\Brindle"));
    ASSERT_EQ(1, CopyOneFile(KwSDK::KwTest::WinePath(SETUP_EXE), source + "\\Setup.exe"));
    std::string installer = work.Path() + "\\LumoSetup.exe";
    ASSERT_EQ(0, KwSDK::KwTest::RunToEnd("\"" + KwSDK::KwTest::WinePath(CARTON_PACK_EXE) +
                                             "\" create --no-check --stub \"" +
                                             KwSDK::KwTest::WinePath(CARTON_EXE) + "\" --run Setup.exe -o \"" +
                                             installer + "\" \"" + source + "\"",
                                         60000));
    std::string temp = work.MakeSubfolder("temp");
    KwSDK::KwTest::ScopedVariable tempVariable("TEMP", temp);
    KwSDK::KwTest::ScopedVariable tmpVariable("TMP", temp);
    std::string folder = work.Path() + "\\installed here";
    std::string log = work.Path() + "\\launcher.log";

    long exitCode = KwSDK::KwTest::RunToEnd(
        "\"" + installer + "\" /S \"/D=" + folder + "\" /TYPES=none \"/LOG=" + log + "\"", 120000);
    RemoveInstalledLinks(folder + "\\Lumo\\install.txt");
    EXPECT_EQ(0, exitCode) << KwSDK::KwTest::ReadFile(log);
    EXPECT_EQ("Lumo image viewer", KwSDK::KwTest::ReadFile(folder + "\\Lumo\\readme.txt").substr(0, 17));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\Lumo\\install.txt").c_str()));

    // A failure comes back through the launcher as well.
    exitCode = KwSDK::KwTest::RunToEnd("\"" + installer + "\" /S \"/D=" + log + "\\below a file\"", 120000);
    EXPECT_NE(0, exitCode);
}
#endif
