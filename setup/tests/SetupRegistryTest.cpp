// Tests of the registry script: line reading, the filled-in copy, and the
// real import through the system's registry editor.
#include "KwFileStream.h"
#include "SetupConfig.h"
#include "SetupRegistry.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KwSDK;
using namespace SetupTest;
using KwTest::Std;

namespace {

// Splits bytes into lines that keep their line ends.
std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        lines.push_back(bytes.substr(start, end - start));
        start = end;
    }
    return lines;
}

// Expands a script held in bytes for a target folder; answers the result.
std::string ExpandBytes(const std::string& script, const char* target)
{
    ScratchFolder scratch("expand");
    std::string source = scratch.Path() + "\\setup.reg";
    std::string expanded = scratch.Path() + "\\setup_temp.reg";
    EXPECT_TRUE(KwTest::WriteFile(source, script));
    EXPECT_EQ(1, ExpandRegistryScript(target, source.c_str(), expanded.c_str()));
    return KwTest::ReadFile(expanded);
}

class SetupRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(1, LoadConfigurationFrom(PackageFolder().c_str())); }
};

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumo";

} // namespace

TEST(SetupRegistry, EscapingDoublesEveryBackslash)
{
    EXPECT_EQ("D:\\\\Apps\\\\Brindle", Std(EscapeRegistryPath("D:\\Apps\\Brindle")));
    EXPECT_EQ("D:\\\\", Std(EscapeRegistryPath("D:\\")));
    EXPECT_EQ("\\\\\\\\server\\\\share", Std(EscapeRegistryPath("\\\\server\\share")));
    EXPECT_EQ("", Std(EscapeRegistryPath("")));
}

TEST(SetupRegistry, ReadScriptLineKeepsLineEndsAndTheLastLine)
{
    ScratchFolder scratch("lines");
    std::string path = scratch.Path() + "\\lines.txt";
    ASSERT_TRUE(KwTest::WriteFile(path, "first\r\n\nthird\nlast"));
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(path.c_str(), KW_MODE_READ));
    KwString line;
    std::vector<std::string> lines;
    while (ReadScriptLine(&stream, line))
        lines.push_back(Std(line));
    stream.Close();
    EXPECT_EQ((std::vector<std::string>{"first\r\n", "\n", "third\n", "last"}), lines);
    EXPECT_EQ(0, ReadScriptLine(nullptr, line));
}

TEST_F(SetupRegistryTest, PackageScriptGetsTheTargetFolder)
{
    std::string source = KwTest::ReadFile(PackageFolder() + "setup.reg");
    ASSERT_FALSE(source.empty());
    std::string expanded = ExpandBytes(source, "D:\\Apps\\Brindle");
    EXPECT_NE(std::string::npos,
              expanded.find("\"DisplayIcon\"=\"D:\\\\Apps\\\\Brindle\\\\Lumo\\\\LumoView.exe\"\r\n"));
    EXPECT_NE(std::string::npos, expanded.find("@=\"D:\\\\Apps\\\\Brindle\\\\Lumo\\\\\"\r\n"));
    EXPECT_EQ(std::string::npos, expanded.find("<root>"));

    // Line for line, the lines without the placeholder are byte-identical.
    std::vector<std::string> before = Lines(source);
    std::vector<std::string> after = Lines(expanded);
    ASSERT_EQ(before.size(), after.size());
    int replaced = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i].find("<root>") == std::string::npos) {
            EXPECT_EQ(before[i], after[i]) << "line " << i;
        } else {
            ++replaced;
        }
    }
    EXPECT_EQ(5, replaced);
}

TEST_F(SetupRegistryTest, EveryPlaceholderOfALineAndAnUnendedLastLine)
{
    std::string script = "REGEDIT4\r\n\"A\"=\"<root>|<root>\"\r\n\xB0\xB2\xD7\xB0=1\r\n@=\"<root>\\\\x\"";
    std::string expanded = ExpandBytes(script, "C:\\P");
    EXPECT_EQ("REGEDIT4\r\n\"A\"=\"C:\\\\P|C:\\\\P\"\r\n\xB0\xB2\xD7\xB0=1\r\n@=\"C:\\\\P\\\\x\"", expanded);
}

TEST_F(SetupRegistryTest, MissingScriptWritesNothing)
{
    ScratchFolder scratch("expand");
    std::string expanded = scratch.Path() + "\\setup_temp.reg";
    EXPECT_EQ(0, ExpandRegistryScript("C:\\P", (scratch.Path() + "\\setup.reg").c_str(), expanded.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(expanded.c_str()));
}

TEST(SetupRegistryImport, MissingScriptStartsNoEditor)
{
    ScratchFolder package("import");
    CopyPackageFiles(package.Path(), "setup.reg");
    ASSERT_EQ(1, LoadConfigurationFrom((package.Path() + "\\").c_str()));
    EXPECT_EQ(0, ImportRegistryScript("C:\\P", ""));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((package.Path() + "\\setup_temp.reg").c_str()));
}

TEST(SetupRegistryImport, RegistryEditorImportsTheFilledInScript)
{
    RegistryLock lock;
    SavedKey uninstall(HKEY_LOCAL_MACHINE, kUninstallKey);
    SavedKey classes(HKEY_CLASSES_ROOT, "Lumo");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    DeleteKeyTree(HKEY_CLASSES_ROOT, "Lumo");

    // The program folder is a copy of the package: the filled-in script is
    // written next to the original.
    ScratchFolder package("import");
    CopyPackageFiles(package.Path(), nullptr);
    ASSERT_EQ(1, LoadConfigurationFrom((package.Path() + "\\").c_str()));
    ScratchFolder target("target folder");
    ASSERT_TRUE(CreateDirectoryA((target.Path() + "\\Lumo").c_str(), nullptr));
    SetLanguage(1);
    ASSERT_EQ(1, ImportRegistryScript(target.Path().c_str(), ""));
    // The uninstaller's deletion script lies in the product folder, the
    // product's own keys deleted deepest first.
    std::string deletion = KwTest::ReadFile(target.Path() + "\\Lumo\\uninstall.reg");
    size_t path = deletion.find("[-HKEY_CLASSES_ROOT\\Lumo\\shell\\Open\\Path]\r\n");
    size_t lumo = deletion.find("[-HKEY_CLASSES_ROOT\\Lumo]\r\n");
    EXPECT_EQ(0u, deletion.find("Windows Registry Editor Version 5.00\r\n")) << deletion;
    EXPECT_NE(std::string::npos, deletion.find("[-HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKey) + "]\r\n")) << deletion;
    ASSERT_NE(std::string::npos, path) << deletion;
    ASSERT_NE(std::string::npos, lumo) << deletion;
    EXPECT_LT(path, lumo);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((package.Path() + "\\setup_temp.reg").c_str()));

    std::string icon = target.Path() + "\\Lumo\\LumoView.exe";
    bool imported = WaitFor(
        [&] {
            bool found = false;
            return ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", &found) == icon;
        },
        30000);
    ASSERT_TRUE(imported) << "the registry editor did not import " << icon;
    // The last key of the script has arrived once the whole file was read.
    bool found = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            ReadRegistryString(HKEY_CLASSES_ROOT, "Lumo\\shell\\Open\\Path", nullptr, &found);
            return found;
        },
        30000));
    EXPECT_EQ("Lumo1.04 (32 bit)", ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", &found));
    EXPECT_EQ(target.Path() + "\\Lumo\\uninstall.exe",
              ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", &found));
    EXPECT_EQ(target.Path() + "\\Lumo\\LumoConvert.exe",
              ReadRegistryString(HKEY_CLASSES_ROOT, "Lumo\\shell\\Convert", nullptr, &found));
    EXPECT_EQ(target.Path() + "\\Lumo\\",
              ReadRegistryString(HKEY_CLASSES_ROOT, "Lumo\\shell\\Open\\Path", nullptr, &found));
    // The uninstaller speaks the language of the install.
    EXPECT_EQ("en", ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "Language", &found));
}
