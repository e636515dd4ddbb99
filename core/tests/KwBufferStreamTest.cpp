// Tests of KwBufferStream: attaching, modes, growth, seeking, sharing a
// buffer, and the shared typed readers and writers over memory.
#include "KwBufferStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace KwSDK {
namespace {

std::string Contents(KwBuffer* buffer)
{
    if (!buffer || buffer->GetSize() == 0)
        return std::string();
    return std::string(reinterpret_cast<const char*>(buffer->GetPointer(0)),
                       static_cast<size_t>(buffer->GetSize()));
}

// A heap buffer with one reference, as attaching requires.
KwBuffer* NewBuffer()
{
    KwBuffer* buffer = new KwBuffer;
    buffer->AddRef();
    return buffer;
}

TEST(KwBufferStreamAttach, ReferencesAreHeldAndHandedOut)
{
    KwBuffer* buffer = NewBuffer();
    {
        KwBufferStream stream;
        EXPECT_EQ(nullptr, stream.GetBuffer());
        EXPECT_EQ(0, stream.Attach(nullptr));
        EXPECT_EQ(1, stream.Attach(buffer));
        KwBuffer* handed = stream.GetBuffer();
        EXPECT_EQ(buffer, handed);
        EXPECT_EQ(2, handed->Release());
        EXPECT_STREQ("KwObject.IKwIOStream.KwBufferStream", stream.GetTypeName());
    }
    // The stream let go of its reference when it ended.
    EXPECT_EQ(0, buffer->Release());
}

TEST(KwBufferStreamAttach, AttachReplacesAndResetsPosition)
{
    KwBuffer* first = NewBuffer();
    KwBuffer* second = NewBuffer();
    KwBufferStream stream(first);
    EXPECT_EQ(3, stream.Write("abc", 3));
    EXPECT_EQ(3, stream.GetPosition());
    EXPECT_EQ(1, stream.Attach(second));
    EXPECT_EQ(0, stream.GetPosition());
    EXPECT_EQ(0, first->Release());
    EXPECT_EQ(1, stream.Attach(second));
    EXPECT_EQ(1, second->Release());
}

TEST(KwBufferStreamData, SetDataThenRead)
{
    KwBufferStream stream;
    EXPECT_EQ(0, stream.SetData("x", 0));
    EXPECT_EQ(1, stream.SetData("hello", 5));
    EXPECT_EQ(5, stream.Available());
    char out[8] = {};
    EXPECT_EQ(3, stream.Read(out, 3));
    EXPECT_STREQ("hel", out);
    EXPECT_EQ(2, stream.Available());
    EXPECT_EQ(2, stream.Read(out, 8));
    EXPECT_EQ(-1, stream.Available());
    EXPECT_EQ(0, stream.Read(out, 8));
}

TEST(KwBufferStreamData, ModesLimitReadAndWrite)
{
    KwBufferStream stream;
    stream.SetData("abc", 3);
    char out[4] = {};
    stream.SetMode(KW_MODE_WRITE);
    EXPECT_EQ(-1, stream.Read(out, 1));
    EXPECT_EQ(1, stream.Write("Z", 1));
    stream.SetMode(KW_MODE_READ);
    EXPECT_EQ(-1, stream.Write("x", 1));
    EXPECT_EQ(2, stream.Read(out, 3));
    EXPECT_STREQ("bc", out);
    KwBuffer* buffer = stream.GetBuffer();
    EXPECT_EQ("Zbc", Contents(buffer));
    buffer->Release();
}

TEST(KwBufferStreamData, WritesGrowTheBuffer)
{
    KwBufferStream stream;
    EXPECT_EQ(4, stream.Write("abcd", 4));
    EXPECT_EQ(1, stream.Seek(2, KW_SEEK_SET));
    EXPECT_EQ(5, stream.Write("XYZ12", 5));
    KwBuffer* buffer = stream.GetBuffer();
    EXPECT_EQ("abXYZ12", Contents(buffer));
    buffer->Release();
    EXPECT_EQ(7, stream.GetPosition());
}

TEST(KwBufferStreamData, CloseAndOpen)
{
    KwBufferStream stream;
    stream.SetData("abc", 3);
    char out[4] = {};
    EXPECT_EQ(1, stream.Read(out, 1));
    EXPECT_EQ(1, stream.Close());
    EXPECT_EQ(0, stream.GetPosition());
    EXPECT_EQ(-1, stream.Available());
    EXPECT_EQ(-1, stream.Read(out, 1));
    EXPECT_EQ(-1, stream.Write("x", 1));
    EXPECT_EQ(1, stream.Open());
    EXPECT_EQ(3, stream.Available());
    EXPECT_EQ(1, stream.Flush());
}

TEST(KwBufferStreamSeek, BoundsDependOnTheMode)
{
    KwBufferStream stream;
    stream.SetData("0123456789", 10);
    EXPECT_EQ(1, stream.Seek(-3, KW_SEEK_END));
    EXPECT_EQ(7, stream.GetPosition());
    EXPECT_EQ(1, stream.Seek(-2, KW_SEEK_CUR));
    EXPECT_EQ(5, stream.GetPosition());
    EXPECT_EQ(1, stream.Seek(3, 9));
    EXPECT_EQ(5, stream.GetPosition());
    EXPECT_EQ(0, stream.Seek(-6, KW_SEEK_CUR));
    EXPECT_EQ(5, stream.GetPosition());

    stream.SetMode(KW_MODE_READ);
    EXPECT_EQ(0, stream.Seek(11, KW_SEEK_SET));
    EXPECT_EQ(1, stream.Seek(10, KW_SEEK_SET));
    EXPECT_EQ(-1, stream.Available());

    stream.SetMode(KW_MODE_UPDATE);
    EXPECT_EQ(1, stream.Seek(12, KW_SEEK_SET));
    KwBuffer* buffer = stream.GetBuffer();
    EXPECT_EQ(12, buffer->GetSize());
    EXPECT_EQ(std::string("0123456789\0\0", 12), Contents(buffer));
    buffer->Release();
}

TEST(KwBufferStreamShared, TwoStreamsOnOneBuffer)
{
    KwBuffer* buffer = NewBuffer();
    KwBufferStream writer(buffer);
    KwBufferStream reader(buffer);
    EXPECT_EQ(1, writer.WriteString("first"));
    EXPECT_EQ(1, writer.WriteInt(42));
    EXPECT_TRUE(reader.ReadString() == "first");
    EXPECT_EQ(42, reader.ReadInt());
    EXPECT_EQ(10, writer.GetPosition());
    EXPECT_EQ(10, reader.GetPosition());
    // Each operation took and gave back the buffer's lock.
    EXPECT_EQ(1, buffer->Lock(0));
    EXPECT_EQ(1, buffer->Unlock());
    EXPECT_EQ(2, buffer->Release());
}

TEST(KwBufferStreamTyped, RoundTripAndByteOrder)
{
    KwBufferStream stream;
    EXPECT_EQ(1, stream.WriteUInt(0x11223344u));
    EXPECT_EQ(1, stream.WriteShort(-2));
    EXPECT_EQ(1, stream.WriteByte(7));
    EXPECT_EQ(1, stream.WriteDouble(1.0 / 3.0));
    EXPECT_EQ(1, stream.WriteFloat(-0.5f));
    EXPECT_EQ(1, stream.WriteLong(-1));
    EXPECT_EQ(1, stream.WriteString("\xD6\xD0\xCE\xC4"));
    KwBuffer* buffer = stream.GetBuffer();
    const unsigned char expectedHead[7] = {0x44, 0x33, 0x22, 0x11, 0xFE, 0xFF, 7};
    EXPECT_EQ(0, memcmp(expectedHead, buffer->GetPointer(0), 7));
    EXPECT_EQ(4 + 2 + 1 + 8 + 4 + 4 + 5, buffer->GetSize());
    buffer->Release();

    EXPECT_EQ(1, stream.Seek(0, KW_SEEK_SET));
    EXPECT_EQ(0x11223344u, stream.ReadUInt());
    EXPECT_EQ(0xFFFE, stream.ReadShort());
    EXPECT_EQ(7, stream.ReadByte());
    EXPECT_EQ(1.0 / 3.0, stream.ReadDouble());
    EXPECT_EQ(-0.5f, stream.ReadFloat());
    EXPECT_EQ(-1, stream.ReadLong());
    EXPECT_TRUE(stream.ReadString() == "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(0, stream.ReadInt());
}

TEST(KwBufferStreamTyped, UnterminatedStringIsEmpty)
{
    KwBufferStream stream;
    stream.SetData("no zero here", 12);
    EXPECT_TRUE(stream.ReadString() == "");
    EXPECT_EQ(-1, stream.Available());
    EXPECT_TRUE(stream.ReadString() == "");
    EXPECT_EQ(0.0, stream.ReadDouble());
}

} // namespace
} // namespace KwSDK
