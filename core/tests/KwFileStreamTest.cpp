// Tests of KwFileStream and of the shared typed readers and writers on a file.
#include "KwFileStream.h"

#include "KwFile.h"
#include "KwTestFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace KwSDK {
namespace {

TEST(KwFileStreamErrors, TextsForEveryCode)
{
    KwFileStream stream;
    EXPECT_STREQ("Success", stream.GetErrorMessage(0));
    EXPECT_STREQ("Open file fail", stream.GetErrorMessage(0xF0000001u));
    EXPECT_STREQ("File is not openned", stream.GetErrorMessage(0xF0000002u));
    EXPECT_STREQ("Can not get file length", stream.GetErrorMessage(0xF0000003u));
    EXPECT_STREQ("Read file data fail", stream.GetErrorMessage(0xF0000004u));
    EXPECT_STREQ("Write file data fail", stream.GetErrorMessage(0xF0000005u));
    EXPECT_STREQ("File seek fail", stream.GetErrorMessage(0xF0000006u));
    EXPECT_STREQ("Success", stream.GetErrorMessage(0xF0000007u));
    EXPECT_STREQ("KwObject.IKwIOStream.KwFileStream", stream.GetTypeName());
}

TEST(KwFileStreamState, NewStreamAndModeStrings)
{
    KwFileStream stream;
    EXPECT_EQ(0, stream.IsOpen());
    EXPECT_EQ(3, stream.GetMode());
    EXPECT_TRUE(stream.GetModeString() == "rb+");
    EXPECT_TRUE(stream.GetFileName() == "");
    const char* expected[] = {"rb", "wb", "ab+", "rb+", "rb+"};
    const int modes[] = {0, 1, 2, 3, 7};
    for (int i = 0; i < 5; ++i) {
        stream.SetMode(modes[i]);
        EXPECT_TRUE(stream.GetModeString() == expected[i]) << modes[i];
        EXPECT_EQ(modes[i], stream.GetMode());
    }
}

TEST(KwFileStreamState, ClosedStreamAnswersNotOpened)
{
    KwFileStream stream;
    char byte;
    EXPECT_EQ(-1, stream.Read(&byte, 1));
    EXPECT_EQ(0xF0000002u, stream.GetErrorCode());
    EXPECT_EQ(-1, stream.Write("x", 1));
    EXPECT_EQ(0xF0000002u, stream.GetErrorCode());
    EXPECT_EQ(0, stream.Seek(0, 0));
    EXPECT_EQ(0xF0000002u, stream.GetErrorCode());
    EXPECT_EQ(-1, stream.GetPosition());
    EXPECT_EQ(0xF0000002u, stream.GetErrorCode());
    EXPECT_EQ(-1, stream.Available());
    EXPECT_EQ(0xF0000002u, stream.GetErrorCode());
    EXPECT_EQ(0, stream.Flush());
    EXPECT_EQ(0xF0000002u, stream.GetErrorCode());
    EXPECT_EQ(0, stream.Close());
    EXPECT_EQ(0xF0000002u, stream.GetErrorCode());
    EXPECT_EQ(0, stream.ReadInt());
    EXPECT_TRUE(stream.ReadString() == "");
}

TEST(KwFileStreamState, OpenFailures)
{
    KwTestFolder dir;
    KwFileStream stream;
    EXPECT_EQ(0, stream.Open());
    EXPECT_EQ(0xF0000001u, stream.GetErrorCode());
    EXPECT_EQ(0, stream.Open(dir.Path("missing.bin"), KW_MODE_READ));
    EXPECT_EQ(0xF0000001u, stream.GetErrorCode());
    EXPECT_EQ(0, stream.Open(dir.Path("missing.bin"), KW_MODE_UPDATE));
    EXPECT_EQ(0, stream.Open(dir.Path("no\\dir\\x.bin"), KW_MODE_WRITE));
    EXPECT_EQ(0, stream.IsOpen());
}

TEST(KwFileStreamData, WriteThenReadBack)
{
    KwTestFolder dir;
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("d.bin"), KW_MODE_WRITE));
    EXPECT_EQ(10, stream.Write("0123456789", 10));
    EXPECT_EQ(10, stream.GetPosition());
    // Reopening the stored path in another mode closes the first handle.
    ASSERT_EQ(1, stream.Open(KW_MODE_READ));
    char buffer[16] = {};
    EXPECT_EQ(4, stream.Read(buffer, 4));
    EXPECT_STREQ("0123", buffer);
    EXPECT_EQ(6, stream.Available());
    EXPECT_EQ(6, stream.Read(buffer, 16));
    EXPECT_EQ(-1, stream.Available());
    EXPECT_EQ(0u, stream.GetErrorCode());
    EXPECT_EQ(0, stream.Read(buffer, 16));
    EXPECT_EQ(-1, stream.Write("x", 1));
    EXPECT_EQ(0xF0000005u, stream.GetErrorCode());
    EXPECT_EQ(1, stream.Close());
}

TEST(KwFileStreamData, AvailableCountsWrittenBytes)
{
    KwTestFolder dir;
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("u.bin"), KW_MODE_WRITE));
    EXPECT_EQ(5, stream.Write("abcde", 5));
    EXPECT_EQ(1, stream.Seek(1, KW_SEEK_SET));
    EXPECT_EQ(4, stream.Available());
}

TEST(KwFileStreamData, SeekOrigins)
{
    KwTestFolder dir;
    KwFileStream stream;
    dir.Write("s.bin", "abcdefghij", 10);
    ASSERT_EQ(1, stream.Open(dir.Path("s.bin"), KW_MODE_READ));
    EXPECT_EQ(1, stream.Seek(3, KW_SEEK_SET));
    EXPECT_EQ('d', stream.ReadByte());
    EXPECT_EQ(1, stream.Seek(2, KW_SEEK_CUR));
    EXPECT_EQ('g', stream.ReadByte());
    // Any unknown origin moves relative to the current position.
    EXPECT_EQ(1, stream.Seek(1, 7));
    EXPECT_EQ('i', stream.ReadByte());
    EXPECT_EQ(1, stream.Seek(-2, KW_SEEK_END));
    EXPECT_EQ('i', stream.ReadByte());
    EXPECT_EQ(0, stream.Seek(-100, KW_SEEK_SET));
    EXPECT_EQ(0xF0000006u, stream.GetErrorCode());
}

TEST(KwFileStreamData, TurningFromWritingToReadingNeedsNoSeek)
{
    KwTestFolder dir;
    dir.Write("rw.bin", "123456", 6);
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("rw.bin"), KW_MODE_UPDATE));
    EXPECT_EQ(3, stream.Write("abc", 3));
    char buffer[4] = {};
    EXPECT_EQ(3, stream.Read(buffer, 3));
    EXPECT_STREQ("456", buffer);
    EXPECT_EQ(1, stream.Seek(0, KW_SEEK_SET));
    EXPECT_EQ(1, stream.Read(buffer, 1));
    EXPECT_EQ(1, stream.Write("Z", 1));
    EXPECT_EQ(1, stream.Close());
    EXPECT_TRUE(KwTestFolder::Read(dir.Path("rw.bin")) == "aZc456");
}

TEST(KwFileStreamData, AppendModeWritesAtTheEnd)
{
    KwTestFolder dir;
    dir.Write("log.txt", "one", 3);
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("log.txt"), KW_MODE_APPEND));
    EXPECT_EQ(1, stream.Seek(0, KW_SEEK_SET));
    EXPECT_EQ(3, stream.Write("two", 3));
    EXPECT_EQ(1, stream.Flush());
    EXPECT_EQ(1, stream.Close());
    EXPECT_TRUE(KwTestFolder::Read(dir.Path("log.txt")) == "onetwo");
}

TEST(KwFileStreamData, CloneIsClosedOnTheSamePath)
{
    KwTestFolder dir;
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("c.bin"), KW_MODE_WRITE));
    KwFileStream* copy = stream.Clone();
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(0, copy->IsOpen());
    EXPECT_TRUE(copy->GetFileName() == stream.GetFileName());
    EXPECT_EQ(KW_MODE_WRITE, copy->GetMode());
    EXPECT_TRUE(copy->GetModeString() == "wb");
    EXPECT_EQ(0, copy->Release());
}

TEST(KwFileStreamTyped, LittleEndianOnDisk)
{
    KwTestFolder dir;
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("le.bin"), KW_MODE_WRITE));
    EXPECT_EQ(1, stream.WriteInt(0x01020304));
    EXPECT_EQ(1, stream.WriteShort(0xA0B0));
    ASSERT_EQ(1, stream.Close());
    ASSERT_EQ(1, stream.Open(KW_MODE_READ));
    unsigned char bytes[6] = {};
    EXPECT_EQ(6, stream.Read(bytes, 6));
    const unsigned char expected[6] = {0x04, 0x03, 0x02, 0x01, 0xB0, 0xA0};
    EXPECT_EQ(0, memcmp(expected, bytes, 6));
}

TEST(KwFileStreamTyped, RoundTripOfEveryType)
{
    KwTestFolder dir;
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("all.bin"), KW_MODE_WRITE));
    EXPECT_EQ(1, stream.WriteByte(0xFE));
    EXPECT_EQ(1, stream.WriteInt(-123456789));
    EXPECT_EQ(1, stream.WriteLong(0x7FFFFFFF));
    EXPECT_EQ(1, stream.WriteShort(0xFFFF));
    EXPECT_EQ(1, stream.WriteDouble(-2.5e-300));
    EXPECT_EQ(1, stream.WriteFloat(3.25f));
    EXPECT_EQ(1, stream.WriteUInt(0xDEADBEEFu));
    EXPECT_EQ(1, stream.WriteString("setup.exe"));
    EXPECT_EQ(1, stream.WriteString(""));
    ASSERT_EQ(1, stream.Close());

    ASSERT_EQ(1, stream.Open(KW_MODE_READ));
    EXPECT_EQ(0xFE, stream.ReadByte());
    EXPECT_EQ(-123456789, stream.ReadInt());
    EXPECT_EQ(0x7FFFFFFF, stream.ReadLong());
    EXPECT_EQ(65535, stream.ReadShort());
    EXPECT_EQ(-2.5e-300, stream.ReadDouble());
    EXPECT_EQ(3.25f, stream.ReadFloat());
    EXPECT_EQ(0xDEADBEEFu, stream.ReadUInt());
    EXPECT_TRUE(stream.ReadString() == "setup.exe");
    EXPECT_TRUE(stream.ReadString() == "");
    EXPECT_EQ(-1, stream.Available());
}

TEST(KwFileStreamTyped, ShortReadsAtTheEndYieldZero)
{
    KwTestFolder dir;
    dir.Write("short.bin", "\x01\x02\x03", 3);
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("short.bin"), KW_MODE_READ));
    EXPECT_EQ(0, stream.ReadInt());
    EXPECT_EQ(1, stream.Seek(0, KW_SEEK_SET));
    EXPECT_EQ(0.0, stream.ReadDouble());
    EXPECT_EQ(1, stream.Seek(2, KW_SEEK_SET));
    EXPECT_EQ(0, stream.ReadShort());
    EXPECT_EQ(0, stream.ReadByte());
    EXPECT_EQ(0.0f, stream.ReadFloat());
}

TEST(KwFileStreamTyped, StringWithoutZeroByteIsEmpty)
{
    KwTestFolder dir;
    dir.Write("name.bin", "partial", 7);
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("name.bin"), KW_MODE_READ));
    EXPECT_TRUE(stream.ReadString() == "");
    EXPECT_EQ(-1, stream.Available());
    // Reading on at the end stays empty and ends at once.
    EXPECT_TRUE(stream.ReadString() == "");
}

TEST(KwFileStreamTyped, LongStringsSurvive)
{
    KwTestFolder dir;
    std::string text(1000, 'q');
    text[500] = 'X';
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(dir.Path("long.bin"), KW_MODE_WRITE));
    EXPECT_EQ(1, stream.WriteString(text.c_str()));
    ASSERT_EQ(1, stream.Open(KW_MODE_READ));
    EXPECT_EQ(text, std::string(stream.ReadString().GetText()));
}

} // namespace
} // namespace KwSDK
