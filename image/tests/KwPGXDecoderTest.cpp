// Tests of the PGX decoder: byte orders, signed samples and depths.
#include "KwPGXDecoder.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;

namespace {

Bytes Decoded(const Bytes& bytes)
{
    KwImage* image = ImageTest::DecodeWith<KwPGXDecoder>(bytes);
    Bytes pixels = ImageTest::PixelsOf(image);
    if (image != nullptr) {
        image->Release();
    }
    return pixels;
}

} // namespace

TEST(KwPGXDecoder, EightBitUnsigned)
{
    ByteWriter w;
    w.Text("PG ML + 8 2 1\n").U8(0).U8(200);
    EXPECT_EQ((Bytes{0, 0, 0, 200, 200, 200}), Decoded(w.Get()));
}

TEST(KwPGXDecoder, SixteenBitBothByteOrders)
{
    ByteWriter big;
    big.Text("PG ML +16 1 1\n").U16BE(65535);
    EXPECT_EQ((Bytes{255, 255, 255}), Decoded(big.Get()));
    ByteWriter little;
    little.Text("PG LM 12 2 1\n").U16(4095).U16(0);
    EXPECT_EQ((Bytes{255, 255, 255, 0, 0, 0}), Decoded(little.Get()));
}

TEST(KwPGXDecoder, SignedSamplesAreShiftedUp)
{
    ByteWriter w;
    w.Text("PG ML - 8 3 1\n").U8(0x80).U8(0).U8(0x7F);
    EXPECT_EQ((Bytes{0, 0, 0, 128, 128, 128, 255, 255, 255}), Decoded(w.Get()));
}

TEST(KwPGXDecoder, ReadsHeaderValues)
{
    ByteWriter w;
    w.Text("PG LM - 10 1 1\n").U16(0);
    int opened = 0;
    KwPGXDecoder* decoder = ImageTest::OpenDecoder<KwPGXDecoder>(w.Get(), &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(10, decoder->GetDepth());
    EXPECT_EQ(1, decoder->IsSigned());
    EXPECT_EQ(0, decoder->IsBigEndian());
    decoder->Release();
}

TEST(KwPGXDecoder, RefusesBadFiles)
{
    ByteWriter order;
    order.Text("PG XX + 8 1 1\n").U8(0);
    EXPECT_TRUE(Decoded(order.Get()).empty());
    ByteWriter depth;
    depth.Text("PG ML + 24 1 1\n").Fill(0, 4);
    EXPECT_TRUE(Decoded(depth.Get()).empty());
    ByteWriter noLine;
    noLine.Text("PG ML + 8 1 1");
    EXPECT_TRUE(Decoded(noLine.Get()).empty());
    ByteWriter truncated;
    truncated.Text("PG ML + 16 2 2\n").Fill(0, 7);
    EXPECT_TRUE(Decoded(truncated.Get()).empty());
}
