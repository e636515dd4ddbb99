// Tests of properties files: the line rules on load, the sorted text on save,
// line reading, and streams that fail.
#include "KwProperties.h"

#include "KwBuffer.h"
#include "KwBufferStream.h"
#include "KwFile.h"
#include "KwFileStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace KwSDK;

namespace {

// Loads text through a memory stream.
void LoadText(KwProperties& properties, const std::string& text)
{
    KwBufferStream stream;
    ASSERT_EQ(1, stream.SetData(text.data(), static_cast<int>(text.size())));
    ASSERT_EQ(1, properties.Load(&stream));
}

std::string Value(const KwProperties& properties, const char* key)
{
    KwString value;
    if (!properties.GetString(key, value))
        return "<absent>";
    return value.GetText() ? std::string(value.GetText(), static_cast<size_t>(value.GetLength())) : std::string();
}

// The bytes a save writes into memory.
std::string SavedText(KwProperties& properties)
{
    KwBufferStream stream;
    stream.SetMode(KW_MODE_WRITE);
    EXPECT_EQ(1, properties.Save(&stream));
    KwBuffer* buffer = stream.GetBuffer();
    std::string text;
    if (buffer) {
        for (int i = 0; i < buffer->GetSize(); ++i)
            text += static_cast<char>(*buffer->GetPointer(i));
        buffer->Release();
    }
    return text;
}

std::string ReadWholeFile(const char* path)
{
    KwFileStream stream;
    std::string text;
    if (!stream.Open(path, KW_MODE_READ))
        return "<unreadable>";
    char bytes[256];
    int count;
    while ((count = stream.Read(bytes, sizeof bytes)) > 0)
        text.append(bytes, static_cast<size_t>(count));
    stream.Close();
    return text;
}

void WriteWholeFile(const char* path, const std::string& text)
{
    KwFileStream stream;
    ASSERT_EQ(1, stream.Open(path, KW_MODE_WRITE));
    ASSERT_EQ(static_cast<int>(text.size()), stream.Write(text.data(), static_cast<int>(text.size())));
    ASSERT_EQ(1, stream.Close());
}

// A stream that claims to hold bytes but whose reads fail after a set number
// of bytes, and whose writes stop short.
class BrokenStream : public IKwIOStream {
public:
    explicit BrokenStream(int readable) : m_nReadable(readable), m_nPosition(0) {}
    int Available() override { return 100; }
    int Read(void* buffer, int count) override
    {
        if (m_nPosition + count > m_nReadable)
            return -1;
        memset(buffer, 'k', static_cast<size_t>(count));
        m_nPosition += count;
        return count;
    }
    int Write(const void*, int count) override { return count > 1 ? count - 1 : -1; }
    int Seek(int offset, int origin) override
    {
        if (origin != KW_SEEK_SET)
            return 0;
        m_nPosition = offset;
        return 1;
    }
    int GetPosition() override { return m_nPosition; }

private:
    int m_nReadable;
    int m_nPosition;
};

} // namespace

TEST(KwProperties, TypeNameChain)
{
    KwProperties properties;
    EXPECT_STREQ("KwObject.TKwMap.KwParam.KwProperties", properties.GetTypeName());
    KwProperties copy(properties);
    EXPECT_STREQ("KwObject.TKwMap.KwParam.KwProperties", copy.GetTypeName());
}

TEST(KwProperties, LineRules)
{
    KwProperties properties;
    LoadText(properties, "  # caption\n"
                         "#Title=hidden\n"
                         "caption\n"
                         "a=b=c\n"
                         "key = value\n"
                         "=x\n"
                         "empty=\n"
                         "\t indented=kept \t\n"
                         "\n"
                         "   \t \r\n"
                         "inner # not=a comment\n");
    EXPECT_EQ(7, properties.GetCount());
    EXPECT_EQ("", Value(properties, "caption"));
    EXPECT_EQ("b=c", Value(properties, "a"));
    EXPECT_EQ(" value", Value(properties, "key "));
    EXPECT_EQ("<absent>", Value(properties, "key"));
    EXPECT_EQ("x", Value(properties, ""));
    EXPECT_EQ("", Value(properties, "empty"));
    EXPECT_EQ("kept", Value(properties, "indented"));
    EXPECT_EQ("a comment", Value(properties, "inner # not"));
    EXPECT_EQ("<absent>", Value(properties, "#Title"));
    EXPECT_EQ("<absent>", Value(properties, "  # caption"));
}

TEST(KwProperties, LastLineWithoutLineFeedAndRepeatedKeys)
{
    KwProperties properties;
    LoadText(properties, "Font=SimSun\nSize=9\nFont=Tahoma");
    EXPECT_EQ(2, properties.GetCount());
    EXPECT_EQ("Tahoma", Value(properties, "Font"));
    EXPECT_EQ("9", Value(properties, "Size"));
}

TEST(KwProperties, CarriageReturnsNeverReachValues)
{
    KwProperties properties;
    LoadText(properties, "Title=Setup\r\nPath=C:\\Program Files\\Brindle\r\nLast=1\r\n");
    EXPECT_EQ(3, properties.GetCount());
    EXPECT_EQ("Setup", Value(properties, "Title"));
    EXPECT_EQ("C:\\Program Files\\Brindle", Value(properties, "Path"));
    EXPECT_EQ("1", Value(properties, "Last"));
    for (int more = properties.MoveFirst(); more; more = properties.MoveNext()) {
        EXPECT_EQ(-1, properties.GetKey().Find('\r'));
        EXPECT_EQ(-1, properties.GetValue().Find('\r'));
    }
}

TEST(KwProperties, BytesPassThroughUnconverted)
{
    // GBK text for a caption, stored and saved byte for byte.
    const std::string gbk = "\xB0\xB2\xD7\xB0";
    KwProperties properties;
    LoadText(properties, "Caption=" + gbk + "\r\n" + gbk + "=key\r\n");
    EXPECT_EQ(gbk, Value(properties, "Caption"));
    EXPECT_EQ("key", Value(properties, gbk.c_str()));
    // Keys sort as unsigned bytes: the high bytes come after ASCII.
    EXPECT_EQ("Caption=" + gbk + "\r\n" + gbk + "=key\r\n", SavedText(properties));
}

TEST(KwProperties, LoadStartsOverFromTheBeginning)
{
    KwBufferStream stream;
    const char text[] = "one=1\ntwo=2\n";
    ASSERT_EQ(1, stream.SetData(text, static_cast<int>(strlen(text))));
    stream.Seek(0, KW_SEEK_END);
    KwProperties properties;
    properties.SetString("old", "gone");
    ASSERT_EQ(1, properties.Load(&stream));
    EXPECT_EQ(2, properties.GetCount());
    EXPECT_EQ("<absent>", Value(properties, "old"));
    EXPECT_EQ("2", Value(properties, "two"));
    EXPECT_EQ(0, properties.Load(nullptr));
    EXPECT_EQ(2, properties.GetCount());
}

TEST(KwProperties, ReadLineKeepsLineEndings)
{
    KwBufferStream stream;
    const char text[] = "a=1\r\n\nlast";
    ASSERT_EQ(1, stream.SetData(text, static_cast<int>(strlen(text))));
    KwProperties properties;
    KwString line;
    ASSERT_EQ(1, properties.ReadLine(&stream, line));
    EXPECT_STREQ("a=1\r\n", line.GetText());
    ASSERT_EQ(1, properties.ReadLine(&stream, line));
    EXPECT_STREQ("\n", line.GetText());
    ASSERT_EQ(1, properties.ReadLine(&stream, line));
    EXPECT_STREQ("last", line.GetText());
    EXPECT_EQ(0, properties.ReadLine(&stream, line));
    EXPECT_EQ(0, properties.ReadLine(nullptr, line));
}

TEST(KwProperties, SaveWritesSortedLines)
{
    KwProperties properties;
    properties.SetString("b", "2");
    properties.SetString("A", "1");
    properties.SetString("a", "");
    EXPECT_EQ("A=1\r\na=\r\nb=2\r\n", SavedText(properties));
    KwProperties empty;
    EXPECT_EQ("", SavedText(empty));
    EXPECT_EQ(0, properties.Save(nullptr));
}

TEST(KwProperties, FilesRoundTrip)
{
    const char* path = "KwPropertiesTest.round.properties";
    WriteWholeFile(path, "# Chinese texts\r\nTitle = Setup\r\nButton=Next\r\nAgree=1");
    KwProperties loaded;
    ASSERT_EQ(1, loaded.LoadFile(KwString(path)));
    EXPECT_EQ(3, loaded.GetCount());
    EXPECT_EQ(" Setup", Value(loaded, "Title "));

    ASSERT_EQ(1, loaded.SaveFile(KwString(path)));
    EXPECT_EQ("Agree=1\r\nButton=Next\r\nTitle = Setup\r\n", ReadWholeFile(path));
    KwProperties again;
    ASSERT_EQ(1, again.LoadFile(KwString(path)));
    EXPECT_EQ(3, again.GetCount());
    EXPECT_EQ("Next", Value(again, "Button"));
    KwFile(path).Delete();

    EXPECT_EQ(0, again.LoadFile(KwString("KwPropertiesTest.missing.properties")));
    EXPECT_EQ(3, again.GetCount());
    EXPECT_EQ(0, again.SaveFile(KwString("KwPropertiesTest.no-such-folder\\x.properties")));
}

TEST(KwProperties, FailingStreamsEndTheWork)
{
    KwProperties properties;
    KwString line;
    // Reads fail at once although bytes are claimed: no line, and Load ends.
    BrokenStream dead(0);
    EXPECT_EQ(0, properties.ReadLine(&dead, line));
    EXPECT_EQ(1, properties.Load(&dead));
    EXPECT_EQ(0, properties.GetCount());
    // Reads fail midway: the bytes read so far form the last line.
    BrokenStream partial(5);
    EXPECT_EQ(1, properties.Load(&partial));
    EXPECT_EQ("", Value(properties, "kkkkk"));
    // A short write is a failed save.
    properties.SetString("key", "value");
    BrokenStream shortWrite(0);
    EXPECT_EQ(0, properties.Save(&shortWrite));
}
