// Tests of the portable anymap decoder: all six kinds, comments, 16-bit
// samples, scaling and damaged files.
#include "KwPNMDecoder.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;

namespace {

Bytes Text(const char* text)
{
    ByteWriter w;
    w.Text(text);
    return w.Get();
}

int FormatOf(const Bytes& bytes)
{
    KwImage* image = ImageTest::DecodeWith<KwPNMDecoder>(bytes);
    int format = image != nullptr ? image->GetFormat() : 0;
    if (image != nullptr) {
        image->Release();
    }
    return format;
}

Bytes Decoded(const Bytes& bytes)
{
    KwImage* image = ImageTest::DecodeWith<KwPNMDecoder>(bytes);
    Bytes pixels = ImageTest::PixelsOf(image);
    if (image != nullptr) {
        image->Release();
    }
    return pixels;
}

} // namespace

TEST(KwPNMDecoder, AsciiKinds)
{
    EXPECT_EQ((Bytes{0, 255, 255, 0}), Decoded(Text("P1\n# two by two\n2 2\n1 0\n01")));
    EXPECT_EQ(KW_FORMAT_BILEVEL, FormatOf(Text("P1\n1 1\n1\n")));
    EXPECT_EQ((Bytes{0, 128, 255}), Decoded(Text("P2 3 1 # max\n 4\n0 2 4\n")));
    EXPECT_EQ(KW_FORMAT_GRAY, FormatOf(Text("P2\n1 1\n255\n7")));
    EXPECT_EQ((Bytes{255, 0, 0, 0, 0, 255}), Decoded(Text("P3\n2 1\n255\n255 0 0  0 0 255")));
    EXPECT_EQ(KW_FORMAT_RGB, FormatOf(Text("P3\n1 1\n255\n1 2 3\n")));
}

TEST(KwPNMDecoder, BinaryKinds)
{
    ByteWriter bits;
    bits.Text("P4\n10 2\n").U8(0x80).U8(0x40).U8(0xFF).U8(0xC0);
    Bytes pixels = Decoded(bits.Get());
    ASSERT_EQ(20u, pixels.size());
    EXPECT_EQ(0, pixels[0]);
    EXPECT_EQ(255, pixels[1]);
    EXPECT_EQ(0, pixels[9]);
    EXPECT_EQ(0, pixels[19]);

    ByteWriter grey;
    grey.Text("P5\n2 1\n255\n").U8(7).U8(200);
    EXPECT_EQ((Bytes{7, 200}), Decoded(grey.Get()));

    ByteWriter colour;
    colour.Text("P6\n1 1\n255\n").U8(1).U8(2).U8(3);
    EXPECT_EQ((Bytes{1, 2, 3}), Decoded(colour.Get()));
    // A data byte that looks like white space right after the maximum.
    ByteWriter space;
    space.Text("P5\n1 1\n255\n").U8(' ');
    EXPECT_EQ((Bytes{' '}), Decoded(space.Get()));
}

TEST(KwPNMDecoder, SixteenBitSamplesAreScaled)
{
    ByteWriter wide;
    wide.Text("P6\n1 1\n65535\n").U16BE(65535).U16BE(0).U16BE(32768);
    EXPECT_EQ((Bytes{255, 0, 128}), Decoded(wide.Get()));
    ByteWriter over;
    over.Text("P5\n1 1\n100\n").U8(250);
    EXPECT_EQ((Bytes{255}), Decoded(over.Get()));
}

TEST(KwPNMDecoder, RefusesBrokenFiles)
{
    EXPECT_TRUE(Decoded(Text("P7\n1 1\n255\n")).empty());
    EXPECT_TRUE(Decoded(Text("P5\n1 1\n0\n\x01")).empty());
    EXPECT_TRUE(Decoded(Text("P5\n1 1\n70000\n\x01\x01")).empty());
    EXPECT_TRUE(Decoded(Text("P5\n99999999 1\n255\n")).empty());
    EXPECT_TRUE(Decoded(Text("P3\n2 1\n255\n1 2 3 4 5")).empty());
    EXPECT_TRUE(Decoded(Text("P1\n2 1\n1 2")).empty());
    ByteWriter shortData;
    shortData.Text("P6\n2 2\n255\n").Fill(1, 11);
    EXPECT_TRUE(Decoded(shortData.Get()).empty());
    EXPECT_TRUE(Decoded(Text("P6\n0 5\n255\n")).empty());
}
