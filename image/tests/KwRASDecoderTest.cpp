// Tests of the Sun raster decoder: depths, colour maps, the RGB type and
// run-length data.
#include "KwRASDecoder.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;

namespace {

ByteWriter Header(int width, int height, int depth, int type, int mapType, const Bytes& map)
{
    ByteWriter w;
    w.U32BE(0x59A66A95u).U32BE(width).U32BE(height).U32BE(depth).U32BE(0).U32BE(type);
    w.U32BE(mapType).U32BE(static_cast<unsigned int>(map.size())).Raw(map);
    return w;
}

Bytes Decoded(const Bytes& bytes)
{
    KwImage* image = ImageTest::DecodeWith<KwRASDecoder>(bytes);
    Bytes pixels = ImageTest::PixelsOf(image);
    if (image != nullptr) {
        EXPECT_EQ(KW_FORMAT_BGR, image->GetFormat());
        image->Release();
    }
    return pixels;
}

} // namespace

TEST(KwRASDecoder, TwentyFourBitRowsArePaddedTo16Bits)
{
    ByteWriter w = Header(1, 2, 24, 1, 0, {});
    w.U8(1).U8(2).U8(3).U8(0xEE).U8(4).U8(5).U8(6).U8(0xEE);
    EXPECT_EQ((Bytes{1, 2, 3, 4, 5, 6}), Decoded(w.Get()));
    ByteWriter rgb = Header(1, 1, 24, 3, 0, {});
    rgb.U8(1).U8(2).U8(3).U8(0);
    EXPECT_EQ((Bytes{3, 2, 1}), Decoded(rgb.Get()));
    ByteWriter wide = Header(1, 1, 32, 1, 0, {});
    wide.U8(0).U8(7).U8(8).U8(9);
    EXPECT_EQ((Bytes{7, 8, 9}), Decoded(wide.Get()));
}

TEST(KwRASDecoder, ColourMapIsStoredByChannel)
{
    // Two entries: reds 10 40, greens 20 50, blues 30 60.
    ByteWriter w = Header(2, 1, 8, 1, 1, {10, 40, 20, 50, 30, 60});
    w.U8(1).U8(0);
    EXPECT_EQ((Bytes{60, 50, 40, 30, 20, 10}), Decoded(w.Get()));
    ByteWriter grey = Header(2, 1, 8, 1, 0, {});
    grey.U8(5).U8(250);
    EXPECT_EQ((Bytes{5, 5, 5, 250, 250, 250}), Decoded(grey.Get()));
}

TEST(KwRASDecoder, OneBitSetIsBlack)
{
    ByteWriter w = Header(3, 1, 1, 1, 0, {});
    w.U8(0xA0).U8(0);
    EXPECT_EQ((Bytes{0, 0, 0, 255, 255, 255, 0, 0, 0}), Decoded(w.Get()));
}

TEST(KwRASDecoder, RunLengthData)
{
    // 4 x 2 grey: a run of five 9s, an escaped 0x80, then two literals.
    ByteWriter w = Header(4, 2, 8, 2, 0, {});
    w.U8(0x80).U8(4).U8(9).U8(0x80).U8(0).U8(1).U8(2);
    Bytes pixels = Decoded(w.Get());
    ASSERT_EQ(24u, pixels.size());
    EXPECT_EQ(9, pixels[0]);
    EXPECT_EQ(9, pixels[12]);
    EXPECT_EQ(0x80, pixels[15]);
    EXPECT_EQ(1, pixels[18]);
    EXPECT_EQ(2, pixels[21]);
    Bytes cut = w.Get();
    cut.resize(cut.size() - 1);
    EXPECT_TRUE(Decoded(cut).empty());
}

TEST(KwRASDecoder, RefusesBadHeaders)
{
    ByteWriter magic = Header(1, 1, 24, 1, 0, {});
    magic.Fill(0, 4);
    Bytes bad = magic.Get();
    bad[0] = 0;
    EXPECT_TRUE(Decoded(bad).empty());
    ByteWriter depth = Header(1, 1, 16, 1, 0, {});
    depth.Fill(0, 4);
    EXPECT_TRUE(Decoded(depth.Get()).empty());
    ByteWriter bigMap = Header(1, 1, 8, 1, 1, Bytes(771, 0));
    bigMap.Fill(0, 2);
    EXPECT_TRUE(Decoded(bigMap.Get()).empty());
    ByteWriter truncated = Header(8, 8, 24, 1, 0, {});
    truncated.Fill(0, 100);
    EXPECT_TRUE(Decoded(truncated.Get()).empty());
}
