// Tests of KwBuffer: allocation, bounded writes, growing puts, reads, seeking,
// deleting and inserting.
#include "KwBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace KwSDK {
namespace {

std::string Contents(KwBuffer& buffer)
{
    if (buffer.GetSize() == 0)
        return std::string();
    return std::string(reinterpret_cast<const char*>(buffer.GetPointer(0)),
                       static_cast<size_t>(buffer.GetSize()));
}

KwBuffer* Filled(KwBuffer& buffer, const char* text)
{
    EXPECT_EQ(1, buffer.Alloc(static_cast<int>(strlen(text))));
    EXPECT_EQ(static_cast<int>(strlen(text)), buffer.WriteAt(0, text, static_cast<int>(strlen(text))));
    EXPECT_EQ(0, buffer.Seek(0, 0));
    return &buffer;
}

TEST(KwBufferErrors, TextsAndBlocklessAnswers)
{
    KwBuffer buffer;
    EXPECT_STREQ("Success", buffer.GetErrorMessage(0));
    EXPECT_STREQ("Alloc memory fail", buffer.GetErrorMessage(0xF0000001u));
    EXPECT_STREQ("Paramater is wrong", buffer.GetErrorMessage(0xF0000002u));
    EXPECT_STREQ("No buffer alloc", buffer.GetErrorMessage(0xF0000003u));
    EXPECT_STREQ("Success", buffer.GetErrorMessage(0xF0000004u));
    EXPECT_STREQ("KwObject.KwBuffer", buffer.GetTypeName());

    char byte = 0;
    EXPECT_EQ(0, buffer.GetSize());
    EXPECT_EQ(-1, buffer.GetPosition());
    EXPECT_EQ(0xF0000003u, buffer.GetErrorCode());
    EXPECT_EQ(-1, buffer.WriteAt(0, "x", 1));
    EXPECT_EQ(0xF0000003u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.ReadAt(0, &byte, 1));
    EXPECT_EQ(0xF0000003u, buffer.GetErrorCode());
    EXPECT_EQ(-1, buffer.Seek(0, 0));
    EXPECT_EQ(0xF0000003u, buffer.GetErrorCode());
    // Deleting from nothing is reported but answered as done.
    EXPECT_EQ(1, buffer.Delete(0, 0));
    EXPECT_EQ(0xF0000003u, buffer.GetErrorCode());
    EXPECT_EQ(nullptr, buffer.GetPointer(0));
}

TEST(KwBufferBlock, AllocResizeFree)
{
    KwBuffer buffer;
    EXPECT_EQ(0, buffer.Alloc(0));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    Filled(buffer, "abcdef");
    EXPECT_EQ(6, buffer.Seek(0, 6));
    EXPECT_EQ(1, buffer.Resize(10));
    EXPECT_EQ(std::string("abcdef\0\0\0\0", 10), Contents(buffer));
    EXPECT_EQ(6, buffer.GetPosition());
    EXPECT_EQ(1, buffer.Resize(3));
    EXPECT_EQ("abc", Contents(buffer));
    EXPECT_EQ(3, buffer.GetPosition());
    EXPECT_EQ(0, buffer.Resize(0));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.Resize(-5));
    EXPECT_EQ(1, buffer.Free());
    EXPECT_EQ(0, buffer.GetSize());
    EXPECT_EQ(1, buffer.Resize(4));
    EXPECT_EQ(4, buffer.GetSize());
    EXPECT_EQ(0, buffer.GetPosition());
}

TEST(KwBufferBlock, CopiesAreIndependent)
{
    KwBuffer buffer;
    Filled(buffer, "hello");
    KwBuffer copy(buffer);
    KwBuffer* clone = buffer.Clone();
    ASSERT_NE(nullptr, clone);
    buffer.WriteAt(0, "J", 1);
    EXPECT_EQ("Jello", Contents(buffer));
    EXPECT_EQ("hello", Contents(copy));
    EXPECT_EQ("hello", Contents(*clone));
    EXPECT_EQ(0, clone->Release());
}

TEST(KwBufferWrite, WriteNeverGrows)
{
    KwBuffer buffer;
    Filled(buffer, "0123456789");
    EXPECT_EQ(2, buffer.WriteAt(8, "ABCD", 4));
    EXPECT_EQ("01234567AB", Contents(buffer));
    EXPECT_EQ(10, buffer.GetPosition());
    EXPECT_EQ(0, buffer.Write("x", 1));
    EXPECT_EQ(0, buffer.WriteAt(3, "x", 0));
    EXPECT_EQ(-1, buffer.WriteAt(-1, "x", 1));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(-1, buffer.WriteAt(0, "x", -1));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(-1, buffer.WriteAt(11, "x", 1));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(10, buffer.GetSize());
}

TEST(KwBufferWrite, PutGrowsToExactlyTheEnd)
{
    KwBuffer buffer;
    EXPECT_EQ(3, buffer.Put("abc", 3));
    EXPECT_EQ("abc", Contents(buffer));
    EXPECT_EQ(3, buffer.GetPosition());
    EXPECT_EQ(2, buffer.PutAt(1, "XY", 2));
    EXPECT_EQ("aXY", Contents(buffer));
    EXPECT_EQ(3, buffer.PutAt(2, "123", 3));
    EXPECT_EQ("aX123", Contents(buffer));
    EXPECT_EQ(5, buffer.GetPosition());
    // A gap behind the old end reads as zero bytes.
    EXPECT_EQ(1, buffer.PutAt(7, "z", 1));
    EXPECT_EQ(std::string("aX123\0\0z", 8), Contents(buffer));
    EXPECT_EQ(0, buffer.PutAt(0, "x", 0));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.PutAt(0, nullptr, 1));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.PutAt(-1, "x", 1));
    EXPECT_EQ(0, buffer.PutAt(0x7FFFFFFF, "xy", 2));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(8, buffer.GetSize());
}

TEST(KwBufferRead, ReadsStopAtTheEnd)
{
    KwBuffer buffer;
    Filled(buffer, "abcdef");
    char out[8] = {};
    EXPECT_EQ(4, buffer.Read(out, 4));
    EXPECT_STREQ("abcd", out);
    memset(out, 0, sizeof out);
    EXPECT_EQ(2, buffer.Read(out, 8));
    EXPECT_STREQ("ef", out);
    EXPECT_EQ(-1, buffer.Read(out, 1));
    EXPECT_EQ(-1, buffer.ReadAt(6, out, 1));
    EXPECT_EQ(0, buffer.ReadAt(7, out, 1));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.ReadAt(0, out, 0));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.ReadAt(-1, out, 1));
    EXPECT_EQ(2, buffer.ReadAt(2, out, 2));
    EXPECT_EQ(4, buffer.GetPosition());
}

TEST(KwBufferSeek, OriginsAndLimits)
{
    KwBuffer buffer;
    Filled(buffer, "0123456789");
    EXPECT_EQ(4, buffer.Seek(0, 4));
    EXPECT_EQ(7, buffer.Seek(1, 3));
    EXPECT_EQ(5, buffer.Seek(1, -2));
    EXPECT_EQ(10, buffer.Seek(2, 0));
    EXPECT_EQ(0, buffer.Seek(2, -10));
    EXPECT_EQ(-1, buffer.Seek(2, 1));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(-1, buffer.Seek(2, -11));
    EXPECT_EQ(-1, buffer.Seek(0, 11));
    EXPECT_EQ(-1, buffer.Seek(1, -1));
    EXPECT_EQ(-1, buffer.Seek(5, 0));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.GetPosition());
}

TEST(KwBufferDelete, RangesAndTheWholeBlock)
{
    KwBuffer buffer;
    Filled(buffer, "0123456789");
    EXPECT_EQ(1, buffer.Delete(2, 5));
    EXPECT_EQ("0156789", Contents(buffer));
    EXPECT_EQ(0, buffer.GetPosition());
    EXPECT_EQ(1, buffer.Delete(3, 3));
    EXPECT_EQ("0156789", Contents(buffer));
    EXPECT_EQ(0, buffer.Delete(3, 2));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.Delete(0, 7));
    EXPECT_EQ(0, buffer.Delete(-1, 2));
    EXPECT_EQ(1, buffer.Delete(0, buffer.GetSize() - 1));
    EXPECT_EQ(0, buffer.GetSize());
    EXPECT_EQ(nullptr, buffer.GetPointer(0));
}

TEST(KwBufferInsert, AppendAndInsert)
{
    KwBuffer buffer;
    EXPECT_EQ(3, buffer.Append("abc", 3));
    EXPECT_EQ(2, buffer.Append("de", 2));
    EXPECT_EQ("abcde", Contents(buffer));
    EXPECT_EQ(5, buffer.GetPosition());
    EXPECT_EQ(2, buffer.InsertAt(1, "XY", 2));
    EXPECT_EQ("aXYbcde", Contents(buffer));
    EXPECT_EQ(3, buffer.GetPosition());
    EXPECT_EQ(1, buffer.Insert("_", 1));
    EXPECT_EQ("aXY_bcde", Contents(buffer));
    EXPECT_EQ(1, buffer.InsertAt(8, "!", 1));
    EXPECT_EQ("aXY_bcde!", Contents(buffer));
    EXPECT_EQ(0, buffer.InsertAt(10, "x", 1));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());
    EXPECT_EQ(0, buffer.Append(nullptr, 3));
    EXPECT_EQ(0xF0000002u, buffer.GetErrorCode());

    KwBuffer empty;
    EXPECT_EQ(2, empty.Insert("hi", 2));
    EXPECT_EQ("hi", Contents(empty));
}

TEST(KwBufferPointer, OnlyInsideTheBlock)
{
    KwBuffer buffer;
    Filled(buffer, "xyz");
    ASSERT_NE(nullptr, buffer.GetPointer(2));
    EXPECT_EQ('z', *buffer.GetPointer(2));
    EXPECT_EQ(nullptr, buffer.GetPointer(3));
    EXPECT_EQ(nullptr, buffer.GetPointer(-1));
}

} // namespace
} // namespace KwSDK
