// The built carton-pack program: command dispatch, help, exit codes, and a
// package made and checked through the program itself.
#include "PackToolTestKit.h"

#include <gtest/gtest.h>

namespace KwSDK {
namespace {

using namespace PackTest;

TEST(PackProgramTest, HelpGoesToStandardOutputWithExitZero)
{
    TestFolder dir;
    for (const char* option : {"--help", "-h", "help"}) {
        Outcome outcome = RunTool(dir, {option});
        EXPECT_EQ(0, outcome.code) << option;
        EXPECT_EQ(0u, outcome.out.find("usage: carton-pack")) << option;
        EXPECT_EQ("", outcome.err);
    }
    Outcome commandHelp = RunTool(dir, {"create", "--help"});
    EXPECT_EQ(0, commandHelp.code);
    EXPECT_NE(std::string::npos, commandHelp.out.find("--stub LAUNCHER"));
}

TEST(PackProgramTest, MissingOrUnknownCommandIsAUsageError)
{
    TestFolder dir;
    Outcome none = RunTool(dir, {});
    EXPECT_EQ(2, none.code);
    EXPECT_TRUE(none.OneErrorLine()) << none.err;
    Outcome unknown = RunTool(dir, {"pack"});
    EXPECT_EQ(2, unknown.code);
    EXPECT_TRUE(unknown.OneErrorLine()) << unknown.err;
    EXPECT_NE(std::string::npos, unknown.err.find("unknown command 'pack'"));
}

TEST(PackProgramTest, ProgramCreatesVerifiesAndExtracts)
{
    TestFolder dir;
    std::string source = dir.Folder("src");
    ASSERT_TRUE(WriteFile(source + "\\Setup.exe", "MZ setup"));
    dir.Folder("src\\sub");
    ASSERT_TRUE(WriteFile(source + "\\sub\\data.bin", NoiseBytes(30000, 50)));
    ASSERT_TRUE(WriteFile(dir.Path("Carton.exe"), "MZ launcher"));
    std::string output = dir.Path("Installer.exe");

    Outcome created = RunTool(dir, {"create", "--stub", dir.Path("Carton.exe"), "--run",
                                    "Setup.exe", "-o", output, "--no-check", source});
    ASSERT_EQ(0, created.code) << created.err;
    Outcome verified = RunTool(dir, {"verify", output});
    EXPECT_EQ(0, verified.code) << verified.err;
    Outcome extracted = RunTool(dir, {"extract", output, dir.Path("out")});
    EXPECT_EQ(0, extracted.code) << extracted.err;
    EXPECT_EQ(Snapshot(source), Snapshot(dir.Path("out")));

    Outcome notArchive = RunTool(dir, {"list", dir.Path("Carton.exe")});
    EXPECT_EQ(1, notArchive.code);
    EXPECT_TRUE(notArchive.OneErrorLine()) << notArchive.err;
}

// The built program finds the template staged beside the build folder's
// tools, as an installed one finds <prefix>/share/carton; the build has no
// wizard to copy, so check names that and nothing else.
TEST(PackProgramTest, ProgramFindsItsTemplateRelativeToItself)
{
    TestFolder dir;
    std::string package = dir.Path("pkg");
    Outcome made = RunTool(dir, {"new", package});
    ASSERT_EQ(0, made.code) << made.err;
    EXPECT_NE(std::string::npos, made.out.find("note: no wizard at")) << made.out;
    Outcome checked = RunTool(dir, {"check", package});
    EXPECT_EQ(1, checked.code);
    EXPECT_NE(std::string::npos, checked.err.find("Setup.exe, the program to run, is missing"));
    EXPECT_NE(std::string::npos, checked.err.find(": 1 problem; fix them before packing"))
        << checked.err;
}

} // namespace
} // namespace KwSDK
