// Tests of the PCX decoder: run-length lines, 24-bit planes, 16-colour
// planar and 256-colour palette files.
#include "KwPCXDecoder.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;

namespace {

ByteWriter Header(int width, int height, int bits, int planes, int bytesPerLine, int encoding = 1,
                  const Bytes& egaPalette = {})
{
    ByteWriter w;
    w.U8(0x0A).U8(5).U8(encoding).U8(bits).U16(0).U16(0).U16(width - 1).U16(height - 1);
    w.U16(72).U16(72);
    Bytes palette = egaPalette;
    palette.resize(48, 0);
    w.Raw(palette).U8(0).U8(planes).U16(bytesPerLine).U16(1).U16(0).U16(0);
    w.Fill(0, 54);
    return w;
}

Bytes Decoded(const Bytes& bytes)
{
    KwImage* image = ImageTest::DecodeWith<KwPCXDecoder>(bytes);
    Bytes pixels = ImageTest::PixelsOf(image);
    if (image != nullptr) {
        EXPECT_EQ(KW_FORMAT_RGB, image->GetFormat());
        image->Release();
    }
    return pixels;
}

} // namespace

TEST(KwPCXDecoder, TwentyFourBitPlanesWithRuns)
{
    // 2 x 1: red plane 10 20, green plane a run of two 30s, blue plane 0xC5
    // coded as a run of one.
    ByteWriter w = Header(2, 1, 8, 3, 2);
    w.U8(10).U8(20).U8(0xC2).U8(30).U8(0xC1).U8(0xC5).U8(0);
    EXPECT_EQ((Bytes{10, 30, 0xC5, 20, 30, 0}), Decoded(w.Get()));
}

TEST(KwPCXDecoder, TwoHundredFiftySixColourPalette)
{
    ByteWriter w = Header(3, 2, 8, 1, 4);
    w.U8(0xC4).U8(1).U8(0xC3).U8(2).U8(0xC1).U8(0);
    w.U8(0x0C);
    Bytes palette(768, 0);
    palette[3] = 11;
    palette[4] = 12;
    palette[5] = 13;
    palette[6] = 21;
    palette[7] = 22;
    palette[8] = 23;
    w.Raw(palette);
    EXPECT_EQ((Bytes{11, 12, 13, 11, 12, 13, 11, 12, 13, 21, 22, 23, 21, 22, 23, 21, 22, 23}),
              Decoded(w.Get()));
    // Without the trailing palette the file is refused.
    ByteWriter missing = Header(3, 2, 8, 1, 4);
    missing.U8(0xC8).U8(1).Fill(0, 800);
    EXPECT_TRUE(Decoded(missing.Get()).empty());
}

TEST(KwPCXDecoder, SixteenColourPlanesAndMonochrome)
{
    Bytes ega(48, 0);
    for (int i = 0; i < 16; ++i) {
        ega[i * 3] = static_cast<unsigned char>(i * 16);
    }
    // 2 x 1 in 4 planes: pixel 0 has index 0b0101, pixel 1 index 0b1010.
    ByteWriter planar = Header(2, 1, 1, 4, 1, 0, ega);
    planar.U8(0x80).U8(0x40).U8(0x80).U8(0x40);
    EXPECT_EQ((Bytes{80, 0, 0, 160, 0, 0}), Decoded(planar.Get()));

    ByteWriter mono = Header(3, 1, 1, 1, 2, 0);
    mono.U8(0xA0).U8(0);
    EXPECT_EQ((Bytes{255, 255, 255, 0, 0, 0, 255, 255, 255}), Decoded(mono.Get()));
}

TEST(KwPCXDecoder, RefusesBadHeadersAndShortData)
{
    ByteWriter manufacturer = Header(1, 1, 8, 3, 1, 0);
    manufacturer.Fill(0, 3);
    Bytes bad = manufacturer.Get();
    bad[0] = 0x0B;
    EXPECT_TRUE(Decoded(bad).empty());
    ByteWriter layout = Header(1, 1, 16, 1, 2, 0);
    layout.Fill(0, 2);
    EXPECT_TRUE(Decoded(layout.Get()).empty());
    ByteWriter narrow = Header(20, 1, 8, 3, 2, 0);
    narrow.Fill(0, 6);
    EXPECT_TRUE(Decoded(narrow.Get()).empty());
    ByteWriter truncated = Header(4, 4, 8, 3, 4, 0);
    truncated.Fill(0, 40);
    EXPECT_TRUE(Decoded(truncated.Get()).empty());
}
