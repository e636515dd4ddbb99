// The writing side: table order, refused names, the program check, and the
// round trip of a generated tree through a package and back.
#include "KwPackageWriter.h"

#include "KwPackageExtractor.h"
#include "PackageTestKit.h"

#include <gtest/gtest.h>

#include <clocale>
#ifdef _WIN32
#include <windows.h>
#endif

namespace KwSDK {
namespace {

using namespace PackTest;

std::vector<std::string> Paths(TKwList<FILENODE>* table)
{
    std::vector<std::string> paths;
    for (int more = table->MoveFirst(); more; more = table->MoveNext())
        paths.push_back(Std(table->GetAt()->name));
    return paths;
}

// Packs source, extracts the package into a fresh folder and answers what
// came out.
Tree RoundTrip(const TestFolder& dir, const std::string& source, const std::string& run)
{
    KwPackageWriter writer;
    TKwList<FILENODE> table;
    KwString program;
    EXPECT_EQ(1, writer.BuildTable(Str(source), &table)) << writer.GetErrorCode();
    EXPECT_EQ(1, writer.ResolveProgram(&table, Str(run), &program));
    EXPECT_TRUE(WriteFile(dir.Path("stub.exe"), "MZ launcher image"));
    EXPECT_EQ(1, writer.CompressContents(Str(source), &table, Str(dir.Path("stream.bz2"))));
    EXPECT_EQ(1, writer.WritePackage(Str(dir.Path("stub.exe")), program, &table,
                                     Str(dir.Path("stream.bz2")), Str(dir.Path("out.exe"))));
    std::string folder = dir.Folder("extracted");
    KwPackageExtractor extractor;
    EXPECT_EQ(Std(program), Std(extractor.Extract(Str(dir.Path("out.exe")), Str(folder),
                                                  Str(folder + "\\scratch"))));
    EXPECT_EQ(0u, extractor.GetErrorCode());
    return Snapshot(folder);
}

TEST(PackWriterTest, TableIsDepthFirstInCaseInsensitiveOrder)
{
    TestFolder dir;
    std::string source = dir.Folder("src");
    MakeTree(source, {{"\\Brindle", "<dir>"}, {"\\Brindle\\Lumo", "<dir>"},
                      {"\\Brindle\\common", "<dir>"}, {"\\Brindle\\common\\convert.dll", "d"},
                      {"\\Brindle\\Lumo\\x.txt", "x"}, {"\\b.txt", "b"}, {"\\A.txt", "a"},
                      {"\\Setup.exe", "s"}, {"\\_under", "u"}});
    KwPackageWriter writer;
    TKwList<FILENODE> table;
    ASSERT_EQ(1, writer.BuildTable(Str(source), &table));
    std::vector<std::string> expected = {
        "\\_under", "\\A.txt", "\\b.txt", "\\Brindle", "\\Brindle\\common",
        "\\Brindle\\common\\convert.dll", "\\Brindle\\Lumo", "\\Brindle\\Lumo\\x.txt",
        "\\Setup.exe"};
    EXPECT_EQ(expected, Paths(&table));
    ASSERT_EQ(1, table.MoveFirst());
    EXPECT_EQ(FILENODE_FILE, table.GetAt()->type);
    EXPECT_EQ(1, table.GetAt()->size);
    ASSERT_EQ(1, table.MoveNext() && table.MoveNext() && table.MoveNext());
    EXPECT_EQ(FILENODE_FOLDER, table.GetAt()->type);
    EXPECT_EQ(0, table.GetAt()->size);
}

TEST(PackWriterTest, ProgramMustBeAFileEntry)
{
    TestFolder dir;
    std::string source = dir.Folder("src");
    MakeTree(source, {{"\\bin", "<dir>"}, {"\\bin\\Setup.exe", "s"}, {"\\top.exe", "t"}});
    KwPackageWriter writer;
    TKwList<FILENODE> table;
    ASSERT_EQ(1, writer.BuildTable(Str(source), &table));
    KwString program;
    EXPECT_EQ(1, writer.ResolveProgram(&table, KwString("bin/setup.EXE"), &program));
    EXPECT_EQ("bin\\Setup.exe", Std(program));
    EXPECT_EQ(1, writer.ResolveProgram(&table, KwString("\\top.exe"), &program));
    EXPECT_EQ("top.exe", Std(program));
    EXPECT_EQ(0, writer.ResolveProgram(&table, KwString("bin"), &program));
    EXPECT_EQ(KW_PACK_NO_PROGRAM, writer.GetErrorCode());
    EXPECT_EQ(0, writer.ResolveProgram(&table, KwString("missing.exe"), &program));
    EXPECT_EQ(0, writer.ResolveProgram(&table, KwString("..\\top.exe"), &program));
    EXPECT_EQ(KW_PACK_NOT_ENTRY, writer.GetErrorCode());
}

TEST(PackWriterTest, MissingSourceAndStubAreReported)
{
    TestFolder dir;
    KwPackageWriter writer;
    TKwList<FILENODE> table;
    EXPECT_EQ(0, writer.BuildTable(Str(dir.Path("absent")), &table));
    EXPECT_EQ(KW_PACK_NO_SOURCE, writer.GetErrorCode());
    EXPECT_EQ(dir.Path("absent"), Std(writer.GetErrorPath()));
    EXPECT_STREQ("Source folder not found", writer.GetErrorMessage(KW_PACK_NO_SOURCE));

    ASSERT_TRUE(WriteFile(dir.Path("stream.bz2"), Compress(dir, "")));
    EXPECT_EQ(0, writer.WritePackage(Str(dir.Path("no-stub.exe")), KwString("Setup.exe"), &table,
                                     Str(dir.Path("stream.bz2")), Str(dir.Path("out.exe"))));
    EXPECT_EQ(KW_PACK_STUB_FAIL, writer.GetErrorCode());
    EXPECT_FALSE(Exists(dir.Path("out.exe")));
}

// A file that changed size after the table was made would shift every later
// entry: the writer refuses to go on.
TEST(PackWriterTest, FileChangedAfterTheTableIsRefused)
{
    TestFolder dir;
    std::string source = dir.Folder("src");
    MakeTree(source, {{"\\a.txt", "four"}, {"\\b.txt", "bee"}});
    KwPackageWriter writer;
    TKwList<FILENODE> table;
    ASSERT_EQ(1, writer.BuildTable(Str(source), &table));
    ASSERT_TRUE(WriteFile(source + "\\a.txt", "grown longer"));
    EXPECT_EQ(0, writer.CompressContents(Str(source), &table, Str(dir.Path("s.bz2"))));
    EXPECT_EQ(KW_PACK_CHANGED, writer.GetErrorCode());
    ASSERT_TRUE(WriteFile(source + "\\a.txt", "4"));
    EXPECT_EQ(0, writer.CompressContents(Str(source), &table, Str(dir.Path("s.bz2"))));
    EXPECT_EQ(KW_PACK_CHANGED, writer.GetErrorCode());
}

// Names the host allows but Windows cannot hold apart or at all; Windows
// itself cannot create them, so there is nothing to pack there.
TEST(PackWriterTest, NamesWindowsCannotHoldAreRefused)
{
#ifdef _WIN32
    GTEST_SKIP() << "such names cannot be created on Windows";
#else
    TestFolder dir;
    std::string clash = dir.Folder("clash");
    MakeTree(clash, {{"\\Readme", "1"}, {"\\README", "2"}});
    KwPackageWriter writer;
    TKwList<FILENODE> table;
    EXPECT_EQ(0, writer.BuildTable(Str(clash), &table));
    EXPECT_EQ(KW_PACK_CASE_CLASH, writer.GetErrorCode());

    for (const char* name : {"\\NUL", "\\a:b"}) {
        std::string source = dir.Folder(std::string("bad") + (name[1] == 'N' ? "1" : "2"));
        ASSERT_TRUE(WriteFile(source + name, "x"));
        EXPECT_EQ(0, writer.BuildTable(Str(source), &table)) << name;
        EXPECT_EQ(KW_PACK_BAD_NAME, writer.GetErrorCode()) << name;
    }
#endif
}

TEST(PackWriterTest, GeneratedTreeSurvivesTheRoundTrip)
{
    TestFolder dir;
    std::string source = dir.Folder("src");
    Tree tree = {{"\\Setup.exe", "MZ" + NoiseBytes(5000, 20)},
                 {"\\empty.txt", ""},
                 {"\\emptydir", "<dir>"},
                 {"\\deep", "<dir>"},
                 {"\\deep\\er", "<dir>"},
                 {"\\deep\\er\\est", "<dir>"},
                 {"\\deep\\er\\est\\big.bin", NoiseBytes(5 * KwPackageLayout::kPieceSize + 3, 21)},
                 {"\\deep\\er\\zero", ""},
                 {"\\deep\\Sibling.TXT", std::string(25000, 'q')},
                 {"\\license_en.txt", "licence text\r\n"}};
    MakeTree(source, tree);
    EXPECT_EQ(tree, RoundTrip(dir, source, "Setup.exe"));
}

// Run under the Chinese code page: names with GBK double-byte characters
// pass through byte for byte, also characters whose second byte is the
// backslash byte ("\xC4\x5C").
TEST(PackRoundTripCp936, GbkNamesSurviveTheRoundTrip)
{
    ASSERT_TRUE(KwTest::UsesChineseCodePage());
    TestFolder dir;
    std::string source = dir.Folder("src");
    // "安装.bat", "卸载.bat" and a folder "图片" with a file inside.
    Tree tree = {{"\\Setup.exe", "MZ"},
                 {"\\\xB0\xB2\xD7\xB0.bat", "@echo install\r\n"},
                 {"\\\xD0\xB6\xD4\xD8.bat", "@echo remove\r\n"},
                 {"\\\xCD\xBC\xC6\xAC", "<dir>"},
                 {"\\\xCD\xBC\xC6\xAC\\\xCE\xC4.txt", NoiseBytes(12000, 22)},
                 {"\\\xC4\x5C", "<dir>"},
                 {"\\\xC4\x5C\\\xC4\x5C.txt", "fifth\r\n"}};
    MakeTree(source, tree);
    EXPECT_EQ(tree, RoundTrip(dir, source, "Setup.exe"));
#ifndef _WIN32
    setlocale(LC_ALL, "C");
#endif
}

} // namespace
} // namespace KwSDK
