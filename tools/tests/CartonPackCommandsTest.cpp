// carton-pack's commands called in-process: the round trip, every bad input
// with its one-line message, and verify's view of damaged packages.
#include "PackToolTestKit.h"

#include <gtest/gtest.h>

#include <clocale>

namespace KwSDK {
namespace {

using namespace PackTest;

const Command kCreate = &CartonPackCommands::Create;
const Command kList = &CartonPackCommands::List;
const Command kExtract = &CartonPackCommands::Extract;
const Command kVerify = &CartonPackCommands::Verify;

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class PackCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_source = m_dir.Folder("src");
        MakeTree(m_source, {{"\\Setup.exe", "MZ setup"},
                            {"\\data", "<dir>"},
                            {"\\data\\big.bin", NoiseBytes(25000, 40)},
                            {"\\data\\empty", ""},
                            {"\\void", "<dir>"}});
        m_stub = m_dir.Path("Carton.exe");
        ASSERT_TRUE(WriteFile(m_stub, "MZ launcher"));
        m_output = m_dir.Path("Installer.exe");
    }

    Outcome Create(const std::string& run = "Setup.exe")
    {
        return RunCommand(m_dir, kCreate,
                          {"--stub", m_stub, "--run", run, "-o", m_output, "--no-check", m_source});
    }

    TestFolder m_dir;
    std::string m_source;
    std::string m_stub;
    std::string m_output;
};

TEST_F(PackCommandsTest, CreateListVerifyAndExtractAgree)
{
    Outcome created = Create();
    ASSERT_EQ(0, created.code) << created.err;
    EXPECT_EQ("", created.err);
    EXPECT_FALSE(Exists(m_output + ".part"));
    EXPECT_EQ(0, ReadFile(m_output).compare(0, 11, "MZ launcher"));

    Outcome listed = RunCommand(m_dir, kList, {m_output});
    EXPECT_EQ(0, listed.code);
    EXPECT_TRUE(Contains(listed.out, "program: Setup.exe\n"));
    EXPECT_TRUE(Contains(listed.out, "entries: 5\n"));
    EXPECT_TRUE(Contains(listed.out, "folder              0  \\data\n"));
    EXPECT_TRUE(Contains(listed.out, "file            25000  \\data\\big.bin\n"));
    EXPECT_LT(listed.out.find("\\data\\empty"), listed.out.find("\\Setup.exe"));

    Outcome verified = RunCommand(m_dir, kVerify, {m_output});
    EXPECT_EQ(0, verified.code) << verified.err;
    EXPECT_TRUE(Contains(verified.out, "OK"));

    std::string target = m_dir.Path("out");
    Outcome extracted = RunCommand(m_dir, kExtract, {m_output, target});
    EXPECT_EQ(0, extracted.code) << extracted.err;
    EXPECT_EQ(Snapshot(m_source), Snapshot(target));
}

TEST_F(PackCommandsTest, ProgramToRunMayBeNestedAndIsStoredAsFound)
{
    ASSERT_EQ(0, Create("DATA/Big.bin").code);
    Outcome listed = RunCommand(m_dir, kList, {m_output});
    EXPECT_TRUE(Contains(listed.out, "program: data\\big.bin\n"));
}

TEST_F(PackCommandsTest, BadCreateInputsGiveOneLineAndNoOutput)
{
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    std::vector<Case> cases = {
        {{"--stub", m_stub, "--run", "Setup.exe", "-o", m_output, m_dir.Path("absent")}, 1,
         "source folder not found"},
        {{"--stub", m_dir.Path("absent.exe"), "--run", "Setup.exe", "-o", m_output, m_source}, 1,
         "can not read launcher"},
        {{"--stub", m_stub, "--run", "Absent.exe", "-o", m_output, m_source}, 1,
         "Program to run is not a file of the package: Absent.exe"},
        {{"--stub", m_stub, "--run", "data", "-o", m_output, m_source}, 1,
         "Program to run is not a file of the package"},
        {{"--stub", m_stub, "--run", "..\\x.exe", "-o", m_output, m_source}, 1,
         "Program name can not be stored"},
        {{"--stub", m_stub, "--run", "Setup.exe", "-o", m_source, m_source}, 1,
         "output is a folder"},
        {{"--stub", m_stub, "--run", "Setup.exe", "-o", m_dir.Path("absent\\x.exe"), m_source}, 1,
         "output folder not found"},
        {{"--stub", m_stub, "-o", m_output, m_source}, 2, "--run PROGRAM is missing"},
        {{"--run", "Setup.exe", "-o", m_output, m_source}, 2, "--stub LAUNCHER is missing"},
        {{"--stub", m_stub, "--run", "Setup.exe", m_source}, 2, "-o OUTPUT is missing"},
        {{"--stub", m_stub, "--run", "Setup.exe", "-o", m_output}, 2, "SOURCE_DIR is missing"},
        {{"--stub", m_stub, "--run", "Setup.exe", "-o", m_output, m_source, "x"}, 2,
         "more than one source folder"},
        {{"--stub", m_stub, "--run", "Setup.exe", "-o", m_output, "--fast", m_source}, 2,
         "unknown option '--fast'"},
        {{"--stub", m_stub, "--run", "Setup.exe", m_source, "-o"}, 2, "-o needs a value"},
    };
    for (const Case& item : cases) {
        // These folders are no wizard packages: the package check is skipped.
        std::vector<std::string> args = item.args;
        args.insert(args.begin(), "--no-check");
        Outcome outcome = RunCommand(m_dir, kCreate, args);
        EXPECT_EQ(item.code, outcome.code) << item.message;
        EXPECT_TRUE(outcome.OneErrorLine()) << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, item.message)) << outcome.err;
        EXPECT_FALSE(Exists(m_output)) << item.message;
        EXPECT_FALSE(Exists(m_output + ".part")) << item.message;
    }
}

// The new installer takes the output's name only when it is complete: a
// failed run leaves an older installer exactly as it was.
TEST_F(PackCommandsTest, FailedCreateLeavesTheOldOutputAlone)
{
    ASSERT_TRUE(WriteFile(m_output, "previous installer"));
    EXPECT_EQ(1, Create("Missing.exe").code);
    EXPECT_EQ("previous installer", ReadFile(m_output));
    EXPECT_FALSE(Exists(m_output + ".part"));

    Outcome replaced = Create();
    EXPECT_EQ(0, replaced.code) << replaced.err;
    EXPECT_EQ(0, RunCommand(m_dir, kVerify, {m_output}).code);
}

TEST_F(PackCommandsTest, ListExtractAndVerifyRefuseBadInputs)
{
    std::string plain = m_dir.Path("plain.exe");
    ASSERT_TRUE(WriteFile(plain, NoiseBytes(3000, 41)));
    struct Case {
        Command command;
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    std::vector<Case> cases = {
        {kList, {m_dir.Path("absent.exe")}, 1, "can not read"},
        {kList, {plain}, 1, "not a package archive"},
        {kList, {m_source}, 1, "can not read"},
        {kList, {}, 2, "list takes one FILE"},
        {kVerify, {m_dir.Path("absent.exe")}, 1, "can not read"},
        {kVerify, {plain}, 1, "not a package archive"},
        {kVerify, {plain, plain}, 2, "verify takes one FILE"},
        {kExtract, {m_dir.Path("absent.exe"), m_dir.Path("x")}, 1, "can not read"},
        {kExtract, {plain, m_dir.Path("x")}, 1, "Not a package archive"},
        {kExtract, {plain, m_dir.Path("no\\such\\dir")}, 1, "can not create folder"},
        {kExtract, {plain}, 2, "extract takes FILE and DIR"},
    };
    for (const Case& item : cases) {
        Outcome outcome = RunCommand(m_dir, item.command, item.args);
        EXPECT_EQ(item.code, outcome.code) << item.message;
        EXPECT_TRUE(outcome.OneErrorLine()) << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, item.message)) << outcome.err;
    }
}

TEST_F(PackCommandsTest, ExtractReportsEntriesItRefused)
{
    ArchiveBuilder archive;
    archive.File("\\..\\escape.txt", "no").File("\\Setup.exe", "yes");
    std::string path = archive.WriteTo(m_dir, "hostile.exe");
    std::string target = m_dir.Path("out");
    Outcome outcome = RunCommand(m_dir, kExtract, {path, target});
    EXPECT_EQ(1, outcome.code);
    EXPECT_TRUE(outcome.OneErrorLine()) << outcome.err;
    EXPECT_TRUE(Contains(outcome.err, "(1 extracted, 1 not extracted)")) << outcome.err;
    EXPECT_EQ(Tree({{"\\Setup.exe", "yes"}}), Snapshot(target));
    EXPECT_FALSE(Exists(m_dir.Path("escape.txt")));
}

// verify names the first thing that would make an extraction go wrong.
TEST_F(PackCommandsTest, VerifyNamesEveryKindOfMismatch)
{
    struct Case {
        std::string name;
        ArchiveBuilder archive;
        std::string reason;
    };
    std::vector<Case> cases;
    ArchiveBuilder good;
    good.Dir("\\d").File("\\d\\a.txt", "alpha").File("\\Setup.exe", NoiseBytes(20000, 42));
    std::string stream = good.Stream(m_dir);

    Case truncated{"truncated", good, "compressed data is truncated"};
    truncated.archive.useRawStream = true;
    truncated.archive.rawStream = stream.substr(0, stream.size() - 10);
    truncated.archive.overrideLength = true;
    truncated.archive.length = static_cast<unsigned int>(stream.size());
    cases.push_back(truncated);

    Case stray{"stray", good, "trailing offset does not follow the compressed data (3 stray"};
    stray.archive.useRawStream = true;
    stray.archive.rawStream = stream + "xyz";
    stray.archive.overrideLength = true;
    stray.archive.length = static_cast<unsigned int>(stream.size());
    cases.push_back(stray);

    Case damaged{"damaged", good, "compressed data is damaged"};
    damaged.archive.useRawStream = true;
    damaged.archive.rawStream = stream;
    damaged.archive.rawStream[stream.size() / 2] ^= 0x10;
    cases.push_back(damaged);

    Case shortStream{"short", good, "compressed data ends inside '\\Setup.exe' (20000 of 20001"};
    shortStream.archive.entries.back().size = 20001;
    cases.push_back(shortStream);

    Case longStream{"long", good, "compressed data holds more bytes than the table"};
    longStream.archive.entries.back().size = 19999;
    cases.push_back(longStream);

    Case order{"order", ArchiveBuilder(), "entry '\\d\\a.txt' comes before its folder entry"};
    order.archive.File("\\d\\a.txt", "a").Dir("\\d").File("\\Setup.exe", "s");
    cases.push_back(order);

    Case seven{"seven", ArchiveBuilder(), "entry '\\x' has unknown type 7"};
    seven.archive.Raw("\\x", 7, 0).File("\\Setup.exe", "s");
    cases.push_back(seven);

    Case unsafe{"unsafe", ArchiveBuilder(), "entry '\\..\\x' leads out of the extraction folder"};
    unsafe.archive.File("\\..\\x", "x").File("\\Setup.exe", "s");
    cases.push_back(unsafe);

    Case noProgram{"program", ArchiveBuilder(), "program 'Setup.exe' is not a file entry"};
    noProgram.archive.Dir("\\Setup.exe");
    cases.push_back(noProgram);

    Case badOffset{"offset", good, "not a package archive"};
    badOffset.archive.overrideOffset = true;
    badOffset.archive.offset = 0x10000000u;
    cases.push_back(badOffset);

    for (const Case& item : cases) {
        std::string path = item.archive.WriteTo(m_dir, "case.exe");
        Outcome outcome = RunCommand(m_dir, kVerify, {path});
        EXPECT_EQ(1, outcome.code) << item.name;
        EXPECT_TRUE(outcome.OneErrorLine()) << item.name << ": " << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, item.reason)) << item.name << ": " << outcome.err;
    }
    EXPECT_EQ(0, RunCommand(m_dir, kVerify, {good.WriteTo(m_dir, "good.exe")}).code);
}

// Run under the Chinese code page: GBK names go through create and extract
// byte for byte.
TEST(PackCommandsCp936, GbkTreeSurvivesCreateAndExtract)
{
    ASSERT_TRUE(KwTest::UsesChineseCodePage());
    TestFolder dir;
    std::string source = dir.Folder("src");
    Tree tree = {{"\\Setup.exe", "MZ"},
                 {"\\\xB0\xB2\xD7\xB0.bat", "@echo install\r\n"},
                 {"\\\xCD\xBC\xC6\xAC", "<dir>"},
                 {"\\\xCD\xBC\xC6\xAC\\\xCE\xC4.txt", NoiseBytes(11000, 43)}};
    MakeTree(source, tree);
    ASSERT_TRUE(WriteFile(dir.Path("Carton.exe"), "MZ"));
    std::string output = dir.Path("\xB0\xB2\xD7\xB0.exe");
    Outcome created = RunCommand(dir, kCreate, {"--stub", dir.Path("Carton.exe"), "--run",
                                                "Setup.exe", "-o", output, "--no-check", source});
    ASSERT_EQ(0, created.code) << created.err;
    Outcome extracted = RunCommand(dir, kExtract, {output, dir.Path("out")});
    EXPECT_EQ(0, extracted.code) << extracted.err;
    EXPECT_EQ(tree, Snapshot(dir.Path("out")));
#ifndef _WIN32
    setlocale(LC_ALL, "C");
#endif
}

} // namespace
} // namespace KwSDK
