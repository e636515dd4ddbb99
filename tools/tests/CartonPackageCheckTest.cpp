// carton-pack new, check and create's package check, on packages made from
// the template in a stand-in for the installed share/carton and then broken
// one way per test.
#include "PackToolTestKit.h"

#include "CartonPackageCheck.h"

#include <gtest/gtest.h>

namespace KwSDK {
namespace {

using namespace PackTest;

const Command kNew = &CartonPackCommands::New;
const Command kCheck = &CartonPackCommands::Check;
const Command kCreate = &CartonPackCommands::Create;
const Command kList = &CartonPackCommands::List;

// The template in the source tree, as this process names it.
std::string TemplateSource()
{
#ifdef _WIN32
    return KwTest::WinePath(CARTON_PACK_TEMPLATE);
#else
    return CARTON_PACK_TEMPLATE;
#endif
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A 24-bit BMP of the size, grey.
std::string Bitmap(int width, int height)
{
    int row = (width * 3 + 3) / 4 * 4;
    int pixels = row * height;
    std::string bytes = "BM" + U32(54u + static_cast<unsigned int>(pixels)) + U32(0) + U32(54) +
                        U32(40) + U32(static_cast<unsigned int>(width)) +
                        U32(static_cast<unsigned int>(height)) + std::string("\x01\x00\x18\x00", 4) +
                        U32(0) + U32(static_cast<unsigned int>(pixels)) + U32(2835) + U32(2835) +
                        U32(0) + U32(0);
    return bytes + std::string(static_cast<size_t>(pixels), '\x80');
}

// Replaces the line "key=..." of a properties file; an empty line drops it.
void SetLine(const std::string& path, const std::string& key, const std::string& line)
{
    std::string text = ReadFile(path);
    size_t start = text.find("\r\n" + key + "=");
    ASSERT_NE(std::string::npos, start) << key;
    start += 2;
    size_t end = text.find("\r\n", start) + 2;
    text.replace(start, end - start, line.empty() ? std::string() : line + "\r\n");
    ASSERT_TRUE(WriteFile(path, text));
}

class PackageCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_data = m_dir.Folder("share");
        MakeTree(m_dir.Folder("share\\template"), Snapshot(TemplateSource()));
        ASSERT_TRUE(WriteFile(m_data + "\\Setup.exe", "MZ wizard"));
        ASSERT_TRUE(WriteFile(m_data + "\\Carton.exe", "MZ launcher"));
        ASSERT_TRUE(WriteFile(m_data + "\\uninstall.exe", "MZ uninstaller"));
        m_package = m_dir.Path("pkg");
    }

    Outcome Run(Command command, const std::vector<std::string>& args)
    {
        return RunCommand(m_dir, command, args, m_data);
    }

    // A package fresh from the template.
    void New()
    {
        Outcome made = Run(kNew, {m_package});
        ASSERT_EQ(0, made.code) << made.err;
    }

    // Checks the package; expects a refusal that names the problem.
    void ExpectProblem(const std::string& problem, const std::vector<std::string>& options = {})
    {
        std::vector<std::string> args = options;
        args.push_back(m_package);
        Outcome checked = Run(kCheck, args);
        EXPECT_EQ(1, checked.code) << checked.out;
        EXPECT_TRUE(Contains(checked.err, "carton-pack: " + problem + "\n")) << checked.err;
        EXPECT_TRUE(Contains(checked.err, "; fix them before packing\n")) << checked.err;
    }

    std::string File(const std::string& name) const { return m_package + "\\" + name; }

    TestFolder m_dir;
    std::string m_data;
    std::string m_package;
};

TEST_F(PackageCheckTest, NewPackageIsReadyToPackWithTheInstalledPrograms)
{
    New();
    EXPECT_EQ("MZ wizard", ReadFile(File("Setup.exe")));
    EXPECT_EQ("MZ uninstaller", ReadFile(File("MyCompany\\MyApp\\uninstall.exe")));
    Outcome checked = Run(kCheck, {m_package});
    EXPECT_EQ(0, checked.code) << checked.err;
    EXPECT_EQ("", checked.err);
    EXPECT_TRUE(Contains(checked.out, "ready to pack (code page 936)")) << checked.out;

    // Without --stub, create takes the installed launcher.
    std::string output = m_dir.Path("MyAppSetup.exe");
    Outcome created = Run(kCreate, {"--run", "Setup.exe", "-o", output, m_package});
    ASSERT_EQ(0, created.code) << created.err;
    EXPECT_EQ(0, ReadFile(output).compare(0, 11, "MZ launcher"));
    Outcome listed = Run(kList, {output});
    EXPECT_TRUE(Contains(listed.out, "\\MyCompany\\MyApp\\MyApp.cmd\n")) << listed.out;
}

// Every key the wizard reads is in both files with its own comment line, and
// the Chinese file is GBK text with CR LF line ends.
TEST_F(PackageCheckTest, TemplateExplainsEveryKey)
{
    New();
    for (const char* name : {"setup_cn.properties", "setup_en.properties"}) {
        std::string text = ReadFile(File(name));
        for (int i = 0; i < CartonPackageCheck::kKeyCount; ++i) {
            std::string key = CartonPackageCheck::kKeys[i];
            size_t line = text.find("\r\n" + key + "=");
            ASSERT_NE(std::string::npos, line) << name << ": " << key;
            size_t comment = text.rfind("\r\n", line - 1);
            EXPECT_EQ('#', text[comment + 2]) << name << ": " << key;
        }
        for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
            EXPECT_EQ('\r', text[at - 1]) << name;
    }
    std::string chinese = ReadFile(File("setup_cn.properties"));
    EXPECT_TRUE(Contains(chinese, "font=\xCB\xCE\xCC\xE5\r\n")); // the GBK bytes of the face name
}

TEST_F(PackageCheckTest, NewRefusesAFolderWithContentOrAMissingTemplate)
{
    ASSERT_TRUE(KwFile(Str(m_package)).MakeFolder());
    ASSERT_TRUE(WriteFile(File("keep.txt"), "mine"));
    Outcome busy = Run(kNew, {m_package});
    EXPECT_EQ(1, busy.code);
    EXPECT_TRUE(busy.OneErrorLine()) << busy.err;
    EXPECT_TRUE(Contains(busy.err, "is not empty")) << busy.err;
    EXPECT_EQ(Tree({{"\\keep.txt", "mine"}}), Snapshot(m_package));

    Outcome noTemplate = RunCommand(m_dir, kNew, {m_dir.Path("other")}, m_dir.Path("absent"));
    EXPECT_EQ(1, noTemplate.code);
    EXPECT_TRUE(Contains(noTemplate.err, "no package template at")) << noTemplate.err;
    EXPECT_FALSE(Exists(m_dir.Path("other")));
}

TEST_F(PackageCheckTest, MissingPropertiesFile)
{
    New();
    ASSERT_TRUE(KwFile(Str(File("setup_en.properties"))).Delete());
    ExpectProblem("setup_en.properties is missing");
}

TEST_F(PackageCheckTest, MissingKeys)
{
    New();
    SetLine(File("setup_cn.properties"), "strexit", "");
    SetLine(File("setup_cn.properties"), "logo3", "");
    ExpectProblem("setup_cn.properties lacks the keys logo3, strexit");
}

TEST_F(PackageCheckTest, PictureOrLicenceThatIsNotThere)
{
    New();
    ASSERT_TRUE(KwFile(Str(File("banner.png"))).Delete());
    ASSERT_TRUE(KwFile(Str(File("license_cn.txt"))).Delete());
    ExpectProblem("setup_cn.properties: logo2 names banner.png, which is not in the folder");
    ExpectProblem("license_cn.txt is missing");
}

TEST_F(PackageCheckTest, PictureOfTheWrongSizeOrNoPictureAtAll)
{
    New();
    ASSERT_TRUE(WriteFile(File("logo.png"), Bitmap(100, 50)));
    ASSERT_TRUE(WriteFile(File("finish.png"), "a text, not a picture"));
    ExpectProblem("logo.png (logo, the welcome picture) is 100 x 50 pixels; the wizard shows it "
                  "at 498 x 312");
    ExpectProblem("finish.png (logo3, the finish picture) is not a picture the wizard can read");
}

TEST_F(PackageCheckTest, ProgramToRunMissing)
{
    New();
    ASSERT_TRUE(KwFile(Str(File("Setup.exe"))).Delete());
    ExpectProblem("Setup.exe, the program to run, is missing (new copies the installed wizard)");
}

TEST_F(PackageCheckTest, RegistryScriptWithoutPlaceholder)
{
    New();
    ASSERT_TRUE(WriteFile(File("setup.reg"), "Windows Registry Editor Version 5.00\r\n\r\n"
                                             "[HKEY_CURRENT_USER\\Software\\MyApp]\r\n"
                                             "\"Dir\"=\"C:\\\\MyApp\"\r\n"));
    ExpectProblem("setup.reg does not hold the placeholder '<root>' (key regist_root), so the "
                  "install folder is never written into it");
}

TEST_F(PackageCheckTest, PayloadWithoutTheProductsProgram)
{
    New();
    ASSERT_TRUE(KwFile(Str(File("MyCompany\\MyApp\\MyApp.cmd"))).Delete());
    ExpectProblem("the product's program MyCompany\\MyApp\\MyApp.cmd "
                  "(productfold\\sub_dir\\start_app) is missing");
}

// UTF-8 names and texts are valid GBK bytes surprisingly often ("中文" is),
// so they are named as UTF-8; bytes that are no GBK at all are named too.
TEST_F(PackageCheckTest, NamesAndTextsOutsideTheCodePage)
{
    New();
    std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87";
    ASSERT_TRUE(WriteFile(File("MyCompany\\" + utf8 + ".txt"), "x"));
    SetLine(File("setup_cn.properties"), "caption", "caption=\x81\x20Setup");
    ExpectProblem("the name MyCompany\\\\xE4\\xB8\\xAD\\xE6\\x96\\x87.txt looks like UTF-8, not "
                  "text of code page 936 (convert it, e.g. with iconv -f UTF-8 -t CP936)");
    ExpectProblem("setup_cn.properties: the value of 'caption' is not text of code page 936");

    // Under UTF-8 the name fits and the GBK texts of the Chinese file do not.
    Outcome unicode = Run(kCheck, {"--codepage", "65001", m_package});
    EXPECT_EQ(1, unicode.code);
    EXPECT_FALSE(Contains(unicode.err, "the name")) << unicode.err;
    EXPECT_TRUE(Contains(unicode.err, "the value of 'font' is not text of code page 65001\n"))
        << unicode.err;
    Outcome unknown = Run(kCheck, {"--codepage=12x", m_package});
    EXPECT_EQ(2, unknown.code);
    EXPECT_TRUE(unknown.OneErrorLine()) << unknown.err;
}

// A properties file saved as UTF-8 is one problem, not one per text.
TEST_F(PackageCheckTest, PropertiesFileInUtf8IsOneProblem)
{
    New();
    SetLine(File("setup_en.properties"), "caption", "caption=MyApp \xE5\xAE\x89\xE8\xA3\x85");
    SetLine(File("setup_en.properties"), "strexit", "strexit=\xE9\x80\x80\xE5\x87\xBA?");
    ExpectProblem("setup_en.properties looks like UTF-8, not text of code page 936 (convert it, "
                  "e.g. with iconv -f UTF-8 -t CP936)");
    Outcome checked = Run(kCheck, {m_package});
    EXPECT_TRUE(Contains(checked.err, ": 1 problem; fix them before packing\n")) << checked.err;
}

TEST_F(PackageCheckTest, ValuesTheWizardCanNotUse)
{
    New();
    SetLine(File("setup_en.properties"), "diskinfo", "diskinfo=%s total %d GB, free %s GB");
    SetLine(File("setup_en.properties"), "productfold", "productfold=Other");
    ExpectProblem("setup_en.properties: 'diskinfo' must hold exactly three %s (drive, total, "
                  "free) and no other % directive");
    ExpectProblem("'productfold' differs between setup_cn.properties ('MyCompany') and "
                  "setup_en.properties ('Other'); the wizard reads it from the language shown");
}

// Windows finds files whatever the case of their names, so the check does.
TEST_F(PackageCheckTest, NamesDifferingOnlyInCaseAreFound)
{
    New();
    SetLine(File("setup_cn.properties"), "logo", "logo=LOGO.PNG");
    SetLine(File("setup_en.properties"), "start_app", "start_app=myapp.CMD");
    SetLine(File("setup_cn.properties"), "start_app", "start_app=myapp.CMD");
    Outcome checked = Run(kCheck, {"--run", "setup.exe", m_package});
    EXPECT_EQ(0, checked.code) << checked.err;
}

// One run names every problem, and create refuses with the same lines.
TEST_F(PackageCheckTest, CreateRefusesWithTheSameProblemsUnlessTold)
{
    New();
    ASSERT_TRUE(WriteFile(File("banner.png"), Bitmap(498, 60)));
    ASSERT_TRUE(KwFile(Str(File("license_en.txt"))).Delete());
    Outcome checked = Run(kCheck, {m_package});
    EXPECT_EQ(1, checked.code);
    EXPECT_TRUE(Contains(checked.err, ": 2 problems; fix them before packing\n")) << checked.err;

    std::string output = m_dir.Path("MyAppSetup.exe");
    Outcome refused = Run(kCreate, {"--run", "Setup.exe", "-o", output, m_package});
    EXPECT_EQ(1, refused.code);
    std::string problems = checked.err.substr(0, checked.err.rfind("carton-pack: "));
    EXPECT_EQ(0u, refused.err.find(problems)) << refused.err;
    EXPECT_TRUE(Contains(refused.err, "nothing was packed (--no-check packs it anyway)\n"));
    EXPECT_FALSE(Exists(output));

    Outcome packed = Run(kCreate, {"--run", "Setup.exe", "-o", output, "--no-check", m_package});
    EXPECT_EQ(0, packed.code) << packed.err;
    EXPECT_TRUE(Exists(output));
}

} // namespace
} // namespace KwSDK
