// KwBZip: both sides, their argument checks, the end and failure states, and
// exchange with the real bzip2 program on the host.
#include "KwBZip.h"
#include "KwPlatformFile.h"

#include "PackageTestKit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace KwSDK {
namespace {

using namespace PackTest;

// Reads the whole stream in requests of the given size.
std::string ReadAll(KwBZip* bzip, int request)
{
    std::string out;
    std::vector<char> buffer(request);
    for (;;) {
        int got = bzip->Read(buffer.data(), request);
        if (got <= 0)
            break;
        out.append(buffer.data(), got);
    }
    return out;
}

TEST(KwBZipTest, TypeNameEndsInKwBZip)
{
    KwBZip bzip;
    std::string chain = bzip.GetTypeName();
    ASSERT_GE(chain.size(), 6u);
    EXPECT_EQ("KwBZip", chain.substr(chain.size() - 6));
}

TEST(KwBZipTest, WrittenStreamStartsWithBlockSizeNineAndReadsBack)
{
    TestFolder dir;
    std::string data = NoiseBytes(100000, 1) + std::string(50000, 'a');
    std::string stream = Compress(dir, data);
    ASSERT_GE(stream.size(), 4u);
    EXPECT_EQ("BZh9", stream.substr(0, 4));

    ASSERT_TRUE(WriteFile(dir.Path("s.bz2"), stream));
    KwBZip bzip;
    ASSERT_EQ(1, bzip.OpenRead(Str(dir.Path("s.bz2"))));
    EXPECT_EQ(data, ReadAll(&bzip, 10240));
    EXPECT_EQ(1, bzip.CloseRead());
}

// A request is filled completely unless the stream ends first, whatever the
// block boundaries inside the stream.
TEST(KwBZipTest, RequestsAreFilledCompletelyUntilTheEnd)
{
    TestFolder dir;
    std::string data = NoiseBytes(30001, 2);
    ASSERT_TRUE(WriteFile(dir.Path("s.bz2"), Compress(dir, data)));
    KwBZip bzip;
    ASSERT_EQ(1, bzip.OpenRead(Str(dir.Path("s.bz2"))));
    char buffer[10240];
    EXPECT_EQ(10240, bzip.Read(buffer, 10240));
    EXPECT_EQ(10240, bzip.Read(buffer, 10240));
    EXPECT_EQ(9521, bzip.Read(buffer, 10240));
    EXPECT_EQ(0, memcmp(buffer, data.data() + 20480, 9521));
    // After the end: 0 without reading, again and again.
    EXPECT_EQ(0, bzip.Read(buffer, 10240));
    EXPECT_EQ(0, bzip.Read(buffer, 1));
}

TEST(KwBZipTest, ArgumentsAndMissingHandlesAnswerMinusOneOrZero)
{
    TestFolder dir;
    KwBZip bzip;
    char buffer[16];
    EXPECT_EQ(-1, bzip.Write("abc", 3));
    EXPECT_EQ(-1, bzip.Read(buffer, 16));
    EXPECT_EQ(0, bzip.CloseWrite());
    EXPECT_EQ(0, bzip.CloseRead());

    ASSERT_EQ(1, bzip.OpenWrite(Str(dir.Path("w.bz2"))));
    EXPECT_EQ(-1, bzip.Write(nullptr, 3));
    EXPECT_EQ(-1, bzip.Write("abc", -1));
    EXPECT_EQ(0, bzip.Write("abc", 0));
    EXPECT_EQ(3, bzip.Write("abc", 3));
    EXPECT_EQ(1, bzip.CloseWrite());
    EXPECT_EQ(0, bzip.CloseWrite());

    ASSERT_EQ(1, bzip.OpenRead(Str(dir.Path("w.bz2"))));
    EXPECT_EQ(-1, bzip.Read(nullptr, 3));
    EXPECT_EQ(-1, bzip.Read(buffer, -1));
    EXPECT_EQ(3, bzip.Read(buffer, 16));
    EXPECT_EQ(0, memcmp(buffer, "abc", 3));
    EXPECT_EQ(1, bzip.CloseRead());
    EXPECT_EQ(0, bzip.CloseRead());
}

// libbzip2 reads an empty path as standard input or output; KwBZip must not.
TEST(KwBZipTest, EmptyOrMissingPathsDoNotOpen)
{
    TestFolder dir;
    KwBZip bzip;
    EXPECT_EQ(0, bzip.OpenRead(KwString("")));
    EXPECT_EQ(0, bzip.OpenWrite(KwString("")));
    EXPECT_EQ(0, bzip.OpenRead(Str(dir.Path("absent.bz2"))));
    EXPECT_EQ(0, bzip.OpenWrite(Str(dir.Path("no-such-folder\\x.bz2"))));
    char buffer[4];
    EXPECT_EQ(-1, bzip.Read(buffer, 4));
    EXPECT_EQ(-1, bzip.Write("x", 1));
}

TEST(KwBZipTest, ReopeningClosesTheOldHandleFirst)
{
    TestFolder dir;
    KwBZip bzip;
    ASSERT_EQ(1, bzip.OpenWrite(Str(dir.Path("a.bz2"))));
    EXPECT_EQ(5, bzip.Write("first", 5));
    ASSERT_EQ(1, bzip.OpenWrite(Str(dir.Path("b.bz2"))));
    EXPECT_EQ(6, bzip.Write("second", 6));
    // The destructor finishes b.bz2; a.bz2 was finished by the reopen.
    {
        KwBZip scoped;
        ASSERT_EQ(1, scoped.OpenWrite(Str(dir.Path("c.bz2"))));
        EXPECT_EQ(5, scoped.Write("third", 5));
    }
    EXPECT_EQ(1, bzip.CloseWrite());

    const char* names[] = {"a.bz2", "b.bz2", "c.bz2"};
    const char* contents[] = {"first", "second", "third"};
    for (int i = 0; i < 3; ++i) {
        KwBZip reader;
        ASSERT_EQ(1, reader.OpenRead(Str(dir.Path(names[i]))));
        EXPECT_EQ(contents[i], ReadAll(&reader, 64)) << names[i];
    }
}

TEST(KwBZipTest, EmptyStreamReadsAsEnd)
{
    TestFolder dir;
    ASSERT_TRUE(WriteFile(dir.Path("e.bz2"), Compress(dir, "")));
    KwBZip bzip;
    ASSERT_EQ(1, bzip.OpenRead(Str(dir.Path("e.bz2"))));
    char buffer[8];
    EXPECT_EQ(0, bzip.Read(buffer, 8));
}

// A cut or damaged stream answers -1 and keeps answering -1; it never hangs.
TEST(KwBZipTest, TruncatedAndDamagedStreamsFailAndStayFailed)
{
    TestFolder dir;
    std::string data = NoiseBytes(200000, 3);
    std::string stream = Compress(dir, data);
    ASSERT_TRUE(WriteFile(dir.Path("cut.bz2"), stream.substr(0, stream.size() / 2)));
    std::string damaged = stream;
    damaged[damaged.size() / 3] ^= 0x55;
    ASSERT_TRUE(WriteFile(dir.Path("bad.bz2"), damaged));
    ASSERT_TRUE(WriteFile(dir.Path("text.bz2"), "this is not bzip2 data"));

    for (const char* name : {"cut.bz2", "bad.bz2", "text.bz2"}) {
        KwBZip bzip;
        ASSERT_EQ(1, bzip.OpenRead(Str(dir.Path(name))));
        std::vector<char> buffer(10240);
        int got = 0;
        int calls = 0;
        while ((got = bzip.Read(buffer.data(), 10240)) > 0)
            ASSERT_LT(++calls, 100) << name;
        EXPECT_EQ(-1, got) << name;
        EXPECT_EQ(-1, bzip.Read(buffer.data(), 10240)) << name;
    }
}

// Interoperability with the bzip2 program, on the host only: Windows has no
// bzip2 program to run.
#ifndef _WIN32
std::string Native(const std::string& path)
{
    return Std(Platform::NativePath(path.c_str()));
}
#endif

TEST(KwBZipInteropTest, StreamFromKwBZipDecompressesWithBzip2)
{
#ifdef _WIN32
    GTEST_SKIP() << "no bzip2 program on Windows";
#else
    TestFolder dir;
    std::string data = NoiseBytes(70000, 4) + std::string(40000, 'z');
    ASSERT_TRUE(WriteFile(dir.Path("k.bz2"), Compress(dir, data)));
    std::string command = "bzip2 -d -c '" + Native(dir.Path("k.bz2")) + "' > '" +
                          Native(dir.Path("k.out")) + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
    EXPECT_EQ(data, ReadFile(dir.Path("k.out")));
#endif
}

TEST(KwBZipInteropTest, StreamFromBzip2ReadsBackThroughKwBZip)
{
#ifdef _WIN32
    GTEST_SKIP() << "no bzip2 program on Windows";
#else
    TestFolder dir;
    std::string data = NoiseBytes(1000000, 5) + std::string(300000, '\0');
    ASSERT_TRUE(WriteFile(dir.Path("plain"), data));
    std::string command = "bzip2 -9 -k -f '" + Native(dir.Path("plain")) + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
    KwBZip bzip;
    ASSERT_EQ(1, bzip.OpenRead(Str(dir.Path("plain.bz2"))));
    EXPECT_TRUE(data == ReadAll(&bzip, 10240));
#endif
}

} // namespace
} // namespace KwSDK
