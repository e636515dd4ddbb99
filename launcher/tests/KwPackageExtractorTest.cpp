// The extraction procedure on well-formed archives and on the faults it
// must survive: paths out of the folder, short or damaged streams, entries
// that cannot be written, hostile counts and strings.
#include "KwPackageExtractor.h"

#include "KwPackageReader.h"
#include "PackageTestKit.h"

#include <gtest/gtest.h>

namespace KwSDK {
namespace {

using namespace PackTest;

// The extraction folder sits three levels deep in a sandbox, so that any
// path climbing out with up to three ".." lands inside the sandbox where
// the test can see it.
struct Extraction {
    std::string program;
    unsigned int error = 0;
    int stopped = 0;
    int extracted = 0;
    int skipped = 0;
    Tree tree;        // everything in F
    Tree outside;     // everything in the sandbox that is not F or its parents
    bool scratchLeft = false;
};

class ExtractTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_box = m_dir.Folder("box");
        m_dir.Folder("box\\l1");
        m_dir.Folder("box\\l1\\l2");
        m_folder = m_dir.Folder("box\\l1\\l2\\F");
        m_scratch = m_folder + "\\20240101120000";
    }

    Extraction Run(const ArchiveBuilder& builder)
    {
        return RunFile(builder.WriteTo(m_dir, "own.exe"));
    }

    Extraction RunFile(const std::string& ownFile)
    {
        KwPackageExtractor extractor;
        Extraction result;
        result.program = Std(extractor.Extract(Str(ownFile), Str(m_folder), Str(m_scratch)));
        result.error = extractor.GetErrorCode();
        result.stopped = extractor.StoppedBeforeExtracting();
        result.extracted = extractor.GetExtractedCount();
        result.skipped = extractor.GetSkippedCount();
        result.scratchLeft = Exists(m_scratch);
        result.tree = Snapshot(m_folder);
        for (const auto& entry : Snapshot(m_box)) {
            const std::string& key = entry.first;
            if (key != "\\l1" && key != "\\l1\\l2" && key != "\\l1\\l2\\F" &&
                key.compare(0, 9, "\\l1\\l2\\F\\") != 0)
                result.outside[key] = entry.second;
        }
        return result;
    }

    TestFolder m_dir;
    std::string m_box;
    std::string m_folder;
    std::string m_scratch;
};

TEST_F(ExtractTest, TreeIsExtractedAndProgramNameAnswered)
{
    ArchiveBuilder archive;
    archive.Dir("\\Brindle").Dir("\\Brindle\\common").File("\\Brindle\\common\\convert.dll", "dll")
        .Dir("\\Brindle\\Lumo").File("\\license_en.txt", "licence").File("\\Setup.exe", "MZsetup");
    Extraction result = Run(archive);
    EXPECT_EQ("Setup.exe", result.program);
    EXPECT_EQ(0u, result.error);
    EXPECT_EQ(6, result.extracted);
    EXPECT_EQ(0, result.skipped);
    Tree expected = {{"\\Brindle", "<dir>"},          {"\\Brindle\\common", "<dir>"},
                     {"\\Brindle\\common\\convert.dll", "dll"}, {"\\Brindle\\Lumo", "<dir>"},
                     {"\\license_en.txt", "licence"}, {"\\Setup.exe", "MZsetup"}};
    EXPECT_EQ(expected, result.tree);
    EXPECT_FALSE(result.scratchLeft);
}

// Nothing depends on a fixed offset: the trailing value finds the archive
// behind a launcher image of any length, even none.
TEST_F(ExtractTest, ArchiveIsFoundBehindAnyImageLength)
{
    for (size_t stubLength : {size_t(0), size_t(1), size_t(10239), size_t(70001)}) {
        ArchiveBuilder archive;
        archive.stub = NoiseBytes(stubLength, 7);
        archive.File("\\Setup.exe", "run me");
        Extraction result = Run(archive);
        EXPECT_EQ("Setup.exe", result.program) << stubLength;
        EXPECT_EQ("run me", result.tree["\\Setup.exe"]) << stubLength;
        KwFile(Str(m_folder + "\\Setup.exe")).Delete();
    }
}

TEST_F(ExtractTest, EmptyFilesEmptyFoldersAndUnknownTypes)
{
    ArchiveBuilder archive;
    archive.File("\\zero", "").Dir("\\empty").Raw("\\seven", 7, 5).Raw("\\zero-type", 0, 3)
        .File("\\after", "bytes");
    Extraction result = Run(archive);
    // Unknown types create nothing and take no bytes: "\after" gets its own.
    Tree expected = {{"\\zero", ""}, {"\\empty", "<dir>"}, {"\\after", "bytes"}};
    EXPECT_EQ(expected, result.tree);
    EXPECT_EQ(0u, result.error);
}

// A file spanning several pieces leaves the stream exactly at the next
// entry's first byte.
TEST_F(ExtractTest, LargeFilesSpanPiecesAndStayAligned)
{
    std::string big = NoiseBytes(3 * KwPackageLayout::kPieceSize + 17, 8);
    std::string exact = NoiseBytes(KwPackageLayout::kPieceSize, 9);
    ArchiveBuilder archive;
    archive.File("\\big.bin", big).File("\\exact.bin", exact).File("\\tail.txt", "tail");
    Extraction result = Run(archive);
    EXPECT_TRUE(result.tree["\\big.bin"] == big);
    EXPECT_TRUE(result.tree["\\exact.bin"] == exact);
    EXPECT_EQ("tail", result.tree["\\tail.txt"]);
}

TEST_F(ExtractTest, FolderAfterItsFilesLeavesThemOutButKeepsAlignment)
{
    ArchiveBuilder archive;
    archive.File("\\late\\inside.txt", "lost").Dir("\\late").File("\\next.txt", "next");
    Extraction result = Run(archive);
    Tree expected = {{"\\late", "<dir>"}, {"\\next.txt", "next"}};
    EXPECT_EQ(expected, result.tree);
    EXPECT_EQ(KW_EXTRACT_SKIPPED, result.error);
    EXPECT_EQ(1, result.skipped);
}

TEST_F(ExtractTest, MissingLauncherFileStopsBeforeExtracting)
{
    Extraction result = RunFile(m_dir.Path("absent.exe"));
    EXPECT_EQ("", result.program);
    EXPECT_EQ(KW_EXTRACT_OPEN_SOURCE, result.error);
    EXPECT_EQ(1, result.stopped);
    EXPECT_TRUE(result.tree.empty());
}

// The stream is read where it lies: the scratch path is only a name no entry
// may take, so a path that could not be created stops nothing.
TEST_F(ExtractTest, ScratchPathIsNeverWritten)
{
    ArchiveBuilder archive;
    archive.File("\\Setup.exe", "x");
    std::string own = archive.WriteTo(m_dir, "own.exe");
    m_scratch = m_folder + "\\no-such-folder\\scratch";
    Extraction result = RunFile(own);
    EXPECT_EQ(0u, result.error);
    EXPECT_EQ(0, result.stopped);
    EXPECT_EQ("x", ReadFile(m_folder + "\\Setup.exe"));
    EXPECT_FALSE(result.scratchLeft);
}

TEST_F(ExtractTest, FileWithoutArchiveExtractsNothingAndRemovesTheScratch)
{
    ASSERT_TRUE(WriteFile(m_dir.Path("plain.exe"), NoiseBytes(5000, 10)));
    Extraction result = RunFile(m_dir.Path("plain.exe"));
    EXPECT_EQ("", result.program);
    EXPECT_EQ(KW_EXTRACT_NOT_ARCHIVE, result.error);
    EXPECT_EQ(0, result.stopped);
    EXPECT_TRUE(result.tree.empty());
    EXPECT_FALSE(result.scratchLeft);

    ASSERT_TRUE(WriteFile(m_dir.Path("tiny.exe"), "abc"));
    EXPECT_EQ(KW_EXTRACT_NOT_ARCHIVE, RunFile(m_dir.Path("tiny.exe")).error);
}

// Mended: a path that would leave F is not created; its bytes are consumed so
// that the entries after it stay aligned.
TEST_F(ExtractTest, PathsLeavingTheFolderAreSkippedAndConsumed)
{
    ArchiveBuilder archive;
    archive.File("\\..\\escaped1", "A")
        .File("\\..\\..\\..\\escaped2", "BB")
        .Dir("\\..\\..\\escapedDir")
        .File("escaped3", "CCC")
        .File("\\sub/../../../escaped4", "DDDD")
        .File("\\C:\\escaped5", "EEEEE")
        .File("\\a:ads", "F")
        .File("\\\\escaped6", "GG")
        .File("\\NUL", "HHH")
        .File("\\ok.txt", "fine");
    Extraction result = Run(archive);
    EXPECT_EQ(Tree(), result.outside);
    Tree expected = {{"\\ok.txt", "fine"}};
    EXPECT_EQ(expected, result.tree);
    EXPECT_EQ(9, result.skipped);
    EXPECT_EQ(1, result.extracted);
}

TEST_F(ExtractTest, UnsafeProgramNameIsNotAnswered)
{
    ArchiveBuilder archive;
    archive.program = "..\\..\\evil.exe";
    archive.File("\\Setup.exe", "x");
    Extraction result = Run(archive);
    EXPECT_EQ("", result.program);
    EXPECT_EQ(KW_EXTRACT_BAD_PROGRAM, result.error);
    EXPECT_EQ("x", result.tree["\\Setup.exe"]);
}

// Mended: an output that cannot be created has its bytes discarded.
TEST_F(ExtractTest, UnwritableFilesAreDiscardedAndLaterFilesStayRight)
{
    ArchiveBuilder archive;
    archive.Dir("\\taken")
        .File("\\taken", "folder already there")
        .File("\\missing\\file.txt", "no folder")
        .File("\\good.txt", "good");
    Extraction result = Run(archive);
    Tree expected = {{"\\taken", "<dir>"}, {"\\good.txt", "good"}};
    EXPECT_EQ(expected, result.tree);
    EXPECT_EQ(2, result.skipped);
}

// An entry named like the scratch file would overwrite the stream being read.
TEST_F(ExtractTest, EntryNamedLikeTheScratchFileIsSkipped)
{
    ArchiveBuilder archive;
    archive.File("\\20240101120000", "clobber").File("\\after.txt", "after");
    Extraction result = Run(archive);
    Tree expected = {{"\\after.txt", "after"}};
    EXPECT_EQ(expected, result.tree);
    EXPECT_FALSE(result.scratchLeft);
}

// Mended: a stream that ends early ends the walk; completed files stay and the
// cut-off file is removed. bzip2 delivers nothing of a block until the whole
// block is there, so the kept files lie in the first, complete block.
TEST_F(ExtractTest, TruncatedStreamEndsTheWalkAndKeepsCompletedFiles)
{
    std::string filler = NoiseBytes(700000, 11);
    ArchiveBuilder archive;
    archive.File("\\first.txt", "complete").File("\\filler.bin", filler)
        .File("\\second.bin", NoiseBytes(600000, 12)).File("\\third.txt", "never");
    std::string full = archive.Build(m_dir);
    std::string stream = archive.Stream(m_dir);
    // Cutting the launcher file takes the trailer away: the last four bytes
    // left are stream bytes, so there is no archive to find.
    ASSERT_TRUE(WriteFile(m_dir.Path("cut.exe"), full.substr(0, full.size() - stream.size() / 10)));
    EXPECT_EQ(KW_EXTRACT_NOT_ARCHIVE, RunFile(m_dir.Path("cut.exe")).error);

    // Keep the trailer but claim a longer stream than the file holds.
    archive.useRawStream = true;
    archive.rawStream = stream.substr(0, stream.size() * 9 / 10);
    archive.overrideLength = true;
    archive.length = static_cast<unsigned int>(stream.size());
    Extraction result = Run(archive);
    EXPECT_EQ(2u, result.tree.size());
    EXPECT_EQ("complete", result.tree["\\first.txt"]);
    EXPECT_TRUE(result.tree["\\filler.bin"] == filler);
    EXPECT_EQ(KW_EXTRACT_TRUNCATED, result.error);
    EXPECT_EQ(1, result.skipped);
    EXPECT_FALSE(result.scratchLeft);
}

// The block check comes at the end of a block, so a file completed in the
// damaged block may already be written; the walk ends there all the same.
TEST_F(ExtractTest, DamagedStreamEndsTheWalk)
{
    ArchiveBuilder archive;
    archive.File("\\big.bin", NoiseBytes(400000, 12)).File("\\after.txt", "after");
    archive.rawStream = archive.Stream(m_dir);
    archive.rawStream[archive.rawStream.size() / 2] ^= 0x20;
    archive.useRawStream = true;
    Extraction result = Run(archive);
    EXPECT_EQ(0u, result.tree.count("\\after.txt"));
    EXPECT_EQ(KW_EXTRACT_BAD_STREAM, result.error);
}

// Mended: a size larger than the stream cannot make the loop wait for bytes
// that never come.
TEST_F(ExtractTest, SizeLargerThanTheStreamEnds)
{
    ArchiveBuilder archive;
    archive.File("\\ok.txt", "ok");
    archive.Raw("\\huge.bin", 1, 0xFFFFFFF0u);
    archive.payload += "only a few bytes";
    archive.File("\\never.txt", "x");
    Extraction result = Run(archive);
    Tree expected = {{"\\ok.txt", "ok"}};
    EXPECT_EQ(expected, result.tree);
    EXPECT_EQ(KW_EXTRACT_BAD_STREAM, result.error);
}

// Mended: counts and strings are bounded by the file's size.
TEST_F(ExtractTest, HugeCountAndHugeStringAreRefusedWithoutAllocating)
{
    ArchiveBuilder counted;
    counted.File("\\a.txt", "a");
    counted.overrideCount = true;
    counted.count = 0xFFFFFFFFu;
    Extraction result = Run(counted);
    EXPECT_EQ(KW_EXTRACT_BAD_TABLE, result.error);
    EXPECT_TRUE(result.tree.empty());
    EXPECT_FALSE(result.scratchLeft);

    // A program name with no zero byte before the end of the file.
    std::string own = NoiseBytes(10, 13) + std::string(200000, 'A');
    own += U32(10);
    ASSERT_TRUE(WriteFile(m_dir.Path("string.exe"), own));
    EXPECT_EQ(KW_EXTRACT_BAD_TABLE, RunFile(m_dir.Path("string.exe")).error);

    // A trailing offset that points past the file.
    ArchiveBuilder offset;
    offset.File("\\a.txt", "a");
    offset.overrideOffset = true;
    offset.offset = 0x7FFFFFF0u;
    EXPECT_EQ(KW_EXTRACT_NOT_ARCHIVE, Run(offset).error);
}

// Reading the same archive twice with one extractor gives the same result:
// nothing from the first run lingers.
TEST_F(ExtractTest, ExtractorCanBeReused)
{
    ArchiveBuilder archive;
    archive.File("\\Setup.exe", "one");
    std::string own = archive.WriteTo(m_dir, "own.exe");
    KwPackageExtractor extractor;
    EXPECT_EQ("Setup.exe", Std(extractor.Extract(Str(own), Str(m_folder), Str(m_scratch))));
    EXPECT_EQ("Setup.exe", Std(extractor.Extract(Str(own), Str(m_folder), Str(m_scratch))));
    EXPECT_EQ(0u, extractor.GetErrorCode());
    EXPECT_EQ(1, extractor.GetExtractedCount());
    EXPECT_STREQ("Not a package archive", extractor.GetErrorMessage(KW_EXTRACT_NOT_ARCHIVE));
    EXPECT_STREQ("Success", extractor.GetErrorMessage(0x12345678u));
}

TEST(PackReaderTest, TableAndOffsetsAreReported)
{
    TestFolder dir;
    ArchiveBuilder archive;
    archive.stub = "STUB";
    archive.Dir("\\d").File("\\d\\f", "12345").Raw("\\odd", 7, 9);
    std::string path = archive.WriteTo(dir, "p.exe");
    KwFileStream source;
    ASSERT_EQ(1, source.Open(Str(path), KW_MODE_READ));
    KwPackageReader reader;
    ASSERT_EQ(1, reader.ReadHeader(&source));
    EXPECT_EQ("Setup.exe", Std(reader.GetProgramName()));
    EXPECT_EQ(4u, reader.GetArchiveOffset());
    EXPECT_EQ(3, reader.GetTable()->GetCount());
    ASSERT_EQ(1, reader.GetTable()->MoveLast());
    EXPECT_EQ(7, reader.GetTable()->GetAt()->type);
    EXPECT_EQ(9, reader.GetTable()->GetAt()->size);
    EXPECT_EQ(1, reader.IsDataComplete());
    EXPECT_EQ(0, reader.GetSlackBytes());
    unsigned int length = reader.GetCompressedLength();
    EXPECT_EQ(reader.GetFileLength(), reader.GetDataOffset() + length + 4);
    EXPECT_EQ(static_cast<int>(reader.GetDataOffset()), source.GetPosition());
    EXPECT_STREQ("Package table is damaged", reader.GetErrorMessage(KW_PACKAGE_BAD_TABLE));
}

TEST(PackReaderTest, CountIsBoundedByTheBytesLeft)
{
    TestFolder dir;
    // Two entries of nine bytes each fit; a count of three cannot be true.
    ArchiveBuilder archive;
    archive.program = "";
    archive.Raw("", 7, 0).Raw("", 7, 0);
    archive.useRawStream = true;
    for (unsigned int count : {2u, 3u}) {
        archive.overrideCount = true;
        archive.count = count;
        std::string path = archive.WriteTo(dir, "p.exe");
        KwFileStream source;
        ASSERT_EQ(1, source.Open(Str(path), KW_MODE_READ));
        KwPackageReader reader;
        EXPECT_EQ(count == 2 ? 1 : 0, reader.ReadHeader(&source)) << count;
    }
}

} // namespace
} // namespace KwSDK
