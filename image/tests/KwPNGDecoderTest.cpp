// Tests of the PNG decoder on small files built here: the transformations
// (palette, transparency, grey, 16 bits, gamma), the output formats, and
// refusal of broken and oversized files.
#include "ImageTestSupport.h"

#include "IKwProgressListener.h"
#include "KwImageParams.h"
#include "KwPNGDecoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>

using namespace KwSDK;
using namespace ImageTest;

namespace {

void Chunk(ByteWriter& out, const char* type, const Bytes& body)
{
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.U32BE(static_cast<unsigned int>(body.size())).Raw(typed);
    out.U32BE(static_cast<unsigned int>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// A PNG of the given header with unfiltered rows (filter byte 0 added here)
// and optional PLTE, tRNS and gAMA chunks.
struct PngLayout {
    unsigned int width = 2, height = 2;
    int depth = 8, colorType = 2;
    std::vector<Bytes> rows;
    Bytes palette, transparency;
    unsigned int gamma = 0;  // gAMA value (x 100000), 0 for none
};

Bytes MakePng(const PngLayout& layout)
{
    ByteWriter out;
    out.U8(0x89).Text("PNG\r\n").U8(0x1A).U8('\n');
    ByteWriter ihdr;
    ihdr.U32BE(layout.width).U32BE(layout.height).U8(layout.depth).U8(layout.colorType).U8(0).U8(0).U8(0);
    Chunk(out, "IHDR", ihdr.Get());
    if (layout.gamma != 0) {
        Chunk(out, "gAMA", ByteWriter().U32BE(layout.gamma).Get());
    }
    if (!layout.palette.empty()) {
        Chunk(out, "PLTE", layout.palette);
    }
    if (!layout.transparency.empty()) {
        Chunk(out, "tRNS", layout.transparency);
    }
    Bytes raw;
    for (const Bytes& row : layout.rows) {
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", Bytes());
    return out.Get();
}

KwImage* Decode(const Bytes& png)
{
    return DecodeWith<KwPNGDecoder>(png);
}

class CountingListener : public IKwProgressListener {
public:
    int OnProgress(int, int total) override
    {
        ++rows;
        lastTotal = total;
        return 1;
    }
    int OnComplete(int success) override
    {
        completed = success;
        return 1;
    }
    int rows = 0, lastTotal = 0, completed = -1;
};

} // namespace

TEST(KwPNGDecoder, PaletteWithTransparencyGivesBgra)
{
    PngLayout layout;
    layout.colorType = 3;
    layout.palette = { 255, 0, 0, 0, 255, 0, 0, 0, 255 };
    layout.transparency = { 0, 128 };  // entry 2 stays opaque
    layout.rows = { { 0, 1 }, { 2, 0 } };
    Bytes expected = { 0, 0, 255, 0, 0, 255, 0, 128, 255, 0, 0, 255, 0, 0, 255, 0 };
    ExpectPixels(Decode(MakePng(layout)), KW_FORMAT_BGRA, expected);
}

TEST(KwPNGDecoder, PaletteWithoutTransparencyGivesBgr)
{
    PngLayout layout;
    layout.colorType = 3;
    layout.depth = 4;
    layout.width = 3;
    layout.height = 1;
    layout.palette = { 10, 20, 30, 40, 50, 60 };
    layout.rows = { { 0x01, 0x00 } };  // indices 0, 1, 0 in the high nibble first
    Bytes expected = { 30, 20, 10, 60, 50, 40, 30, 20, 10 };
    ExpectPixels(Decode(MakePng(layout)), KW_FORMAT_BGR, expected);
}

TEST(KwPNGDecoder, GreyIsExpandedToEightBitRgb)
{
    PngLayout layout;
    layout.colorType = 0;
    layout.depth = 1;
    layout.width = 3;
    layout.height = 1;
    layout.rows = { { 0xA0 } };  // 1, 0, 1
    Bytes expected = { 255, 255, 255, 0, 0, 0, 255, 255, 255 };
    ExpectPixels(Decode(MakePng(layout)), KW_FORMAT_BGR, expected);
}

TEST(KwPNGDecoder, SixteenBitSamplesKeepTheirHighByte)
{
    PngLayout layout;
    layout.colorType = 6;
    layout.depth = 16;
    layout.width = 1;
    layout.height = 1;
    layout.rows = { { 0x12, 0xFF, 0x34, 0x01, 0x56, 0x80, 0x78, 0x00 } };
    Bytes expected = { 0x56, 0x34, 0x12, 0x78 };
    ExpectPixels(Decode(MakePng(layout)), KW_FORMAT_BGRA, expected);
}

TEST(KwPNGDecoder, FileGammaIsCorrectedForTheScreen)
{
    PngLayout layout;
    layout.width = 1;
    layout.height = 1;
    layout.rows = { { 128, 0, 255 } };
    KwImage* plain = Decode(MakePng(layout));
    layout.gamma = 100000;  // linear samples
    KwImage* linear = Decode(MakePng(layout));
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(linear, nullptr);
    EXPECT_EQ(PixelsOf(plain), (Bytes{ 255, 0, 128 }));
    Bytes corrected = PixelsOf(linear);
    int expected = static_cast<int>(std::lround(255.0 * std::pow(128.0 / 255.0, 1.0 / 2.2)));
    EXPECT_NEAR(corrected[2], expected, 1);
    EXPECT_EQ(corrected[0], 255);
    EXPECT_EQ(corrected[1], 0);
    plain->Release();
    linear->Release();
}

TEST(KwPNGDecoder, HeaderValuesAndProgress)
{
    PngLayout layout;
    layout.colorType = 0;
    layout.width = 2;
    layout.height = 3;
    layout.rows = { { 1, 2 }, { 3, 4 }, { 5, 6 } };
    Bytes png = MakePng(layout);
    int opened = 0;
    KwPNGDecoder* decoder = OpenDecoder<KwPNGDecoder>(png, &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetWidth(), 2);
    EXPECT_EQ(decoder->GetHeight(), 3);
    EXPECT_EQ(decoder->GetDepth(), 8);
    KwParam params;
    ASSERT_EQ(decoder->GetParams(&params), 1);
    EXPECT_EQ(params.GetString(KW_PARAM_IMAGE_TYPE, ""), KwString("1005"));
    EXPECT_EQ(params.GetString(KW_PARAM_IMAGE_DEPTH, ""), KwString("8"));
    EXPECT_EQ(params.GetString(KW_PARAM_IMAGE_HEIGHT, ""), KwString("3"));
    CountingListener* listener = new CountingListener();
    listener->AddRef();
    decoder->SetProgressListener(listener);
    KwBuffer* first = decoder->GetPixels();
    KwBuffer* second = decoder->GetPixels();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);  // decoded once
    EXPECT_EQ(listener->rows, 3);
    EXPECT_EQ(listener->lastTotal, 3);
    EXPECT_EQ(listener->completed, 1);
    first->Release();
    second->Release();
    decoder->Release();
    listener->Release();
}

TEST(KwPNGDecoder, BrokenFilesFail)
{
    PngLayout layout;
    layout.rows = { { 1, 2, 3, 4, 5, 6 }, { 7, 8, 9, 10, 11, 12 } };
    Bytes good = MakePng(layout);

    // Cut inside the image data: the header reads, the pixels do not.
    Bytes cut(good.begin(), good.end() - 20);
    int opened = 0;
    KwPNGDecoder* decoder = OpenDecoder<KwPNGDecoder>(cut, &opened);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_BAD_DATA);
    EXPECT_EQ(decoder->GetPixels(), nullptr);  // the failure is remembered
    decoder->Release();

    Bytes badCrc = good;
    badCrc[29] ^= 0x55;  // inside the IHDR checksum
    EXPECT_EQ(Decode(badCrc), nullptr);
    Bytes notPng = good;
    notPng[1] = 'J';
    EXPECT_EQ(Decode(notPng), nullptr);
    EXPECT_EQ(Decode(Bytes(good.begin(), good.begin() + 12)), nullptr);
}

TEST(KwPNGDecoder, OversizedPictureIsRefusedBeforeDecoding)
{
    PngLayout layout;
    layout.width = 40000;
    layout.height = 40000;
    layout.rows = { { 0, 0, 0 } };
    int opened = 0;
    KwPNGDecoder* decoder = OpenDecoder<KwPNGDecoder>(MakePng(layout), &opened);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_TOO_LARGE);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    decoder->Release();

    layout.width = 70000;  // beyond the side limit libpng is given
    layout.height = 1;
    EXPECT_EQ(Decode(MakePng(layout)), nullptr);
}
