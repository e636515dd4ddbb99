// Tests of the Targa decoder: plain and run-length data, both origins,
// colour maps, grey and 16-bit pixels.
#include "KwTGADecoder.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;

namespace {

ByteWriter Header(int kind, int width, int height, int depth, int descriptor, int mapLength = 0,
                  int mapDepth = 0, int idLength = 0)
{
    ByteWriter w;
    w.U8(idLength).U8(mapLength > 0 ? 1 : 0).U8(kind).U16(0).U16(mapLength).U8(mapDepth);
    w.U16(0).U16(0).U16(width).U16(height).U8(depth).U8(descriptor);
    w.Fill('i', idLength);
    return w;
}

Bytes Decoded(const Bytes& bytes, int* format = nullptr)
{
    KwImage* image = ImageTest::DecodeWith<KwTGADecoder>(bytes);
    Bytes pixels = ImageTest::PixelsOf(image);
    if (format != nullptr) {
        *format = image != nullptr ? image->GetFormat() : 0;
    }
    if (image != nullptr) {
        image->Release();
    }
    return pixels;
}

} // namespace

TEST(KwTGADecoder, PlainTrueColourBottomUpAndTopDown)
{
    ByteWriter bottomUp = Header(2, 1, 2, 24, 0, 0, 0, 3);
    bottomUp.U8(1).U8(2).U8(3).U8(4).U8(5).U8(6);
    int format = 0;
    EXPECT_EQ((Bytes{4, 5, 6, 1, 2, 3}), Decoded(bottomUp.Get(), &format));
    EXPECT_EQ(KW_FORMAT_BGR, format);

    ByteWriter topDown = Header(2, 1, 2, 24, 0x20);
    topDown.U8(1).U8(2).U8(3).U8(4).U8(5).U8(6);
    EXPECT_EQ((Bytes{1, 2, 3, 4, 5, 6}), Decoded(topDown.Get()));

    ByteWriter rightToLeft = Header(2, 2, 1, 24, 0x30);
    rightToLeft.U8(1).U8(2).U8(3).U8(4).U8(5).U8(6);
    EXPECT_EQ((Bytes{4, 5, 6, 1, 2, 3}), Decoded(rightToLeft.Get()));
}

TEST(KwTGADecoder, ThirtyTwoBitKeepsAlpha)
{
    ByteWriter w = Header(2, 2, 1, 32, 0x28);
    w.U8(1).U8(2).U8(3).U8(0).U8(4).U8(5).U8(6).U8(200);
    int format = 0;
    EXPECT_EQ((Bytes{1, 2, 3, 0, 4, 5, 6, 200}), Decoded(w.Get(), &format));
    EXPECT_EQ(KW_FORMAT_BGRA, format);
}

TEST(KwTGADecoder, RunLengthPacketsMayCrossRows)
{
    // 3 x 2 top-down: a run of 4 red pixels, then 2 raw pixels.
    ByteWriter w = Header(10, 3, 2, 24, 0x20);
    w.U8(0x83).U8(0).U8(0).U8(255);
    w.U8(0x01).U8(1).U8(2).U8(3).U8(4).U8(5).U8(6);
    EXPECT_EQ((Bytes{0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 1, 2, 3, 4, 5, 6}), Decoded(w.Get()));
    Bytes cut = w.Get();
    cut.resize(cut.size() - 2);
    EXPECT_TRUE(Decoded(cut).empty());
}

TEST(KwTGADecoder, ColourMappedGreyAndSixteenBit)
{
    ByteWriter mapped = Header(1, 3, 1, 8, 0x20, 2, 24);
    mapped.U8(10).U8(20).U8(30).U8(40).U8(50).U8(60);
    mapped.U8(1).U8(0).U8(9);  // index 9 is outside the map: black
    EXPECT_EQ((Bytes{40, 50, 60, 10, 20, 30, 0, 0, 0}), Decoded(mapped.Get()));

    ByteWriter grey = Header(3, 2, 1, 8, 0x20);
    grey.U8(7).U8(250);
    EXPECT_EQ((Bytes{7, 7, 7, 250, 250, 250}), Decoded(grey.Get()));

    ByteWriter rle = Header(11, 2, 1, 8, 0x20);
    rle.U8(0x81).U8(9);
    EXPECT_EQ((Bytes{9, 9, 9, 9, 9, 9}), Decoded(rle.Get()));

    ByteWriter sixteen = Header(2, 2, 1, 16, 0x20);
    sixteen.U16(0x7C00).U16(0x001F);
    EXPECT_EQ((Bytes{0, 0, 255, 255, 0, 0}), Decoded(sixteen.Get()));
}

TEST(KwTGADecoder, RefusesUnsupportedAndTruncatedFiles)
{
    ByteWriter noImage = Header(0, 1, 1, 24, 0);
    noImage.Fill(0, 3);
    EXPECT_TRUE(Decoded(noImage.Get()).empty());
    ByteWriter depth = Header(2, 1, 1, 12, 0);
    depth.Fill(0, 3);
    EXPECT_TRUE(Decoded(depth.Get()).empty());
    ByteWriter mappedWithoutMap = Header(1, 1, 1, 8, 0);
    mappedWithoutMap.U8(0);
    EXPECT_TRUE(Decoded(mappedWithoutMap.Get()).empty());
    ByteWriter truncated = Header(2, 4, 4, 24, 0);
    truncated.Fill(1, 47);
    EXPECT_TRUE(Decoded(truncated.Get()).empty());
    ByteWriter empty = Header(2, 0, 4, 24, 0);
    EXPECT_TRUE(Decoded(empty.Get()).empty());
}
