// Tests of the bitmap decoder on files built byte by byte: every depth,
// both row orders, bit fields, header versions, parameters and bad files.
#include "KwBMPDecoder.h"

#include "ImageTestSupport.h"
#include "KwImageParams.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;

namespace {

struct BmpLayout {
    int width = 1;
    int height = 1;        // negative: top-down
    int bitCount = 24;
    unsigned int compression = 0;
    int headerSize = 40;
    unsigned int colorsUsed = 0;
    int xPerMeter = 2835;
    int yPerMeter = 3780;
    Bytes masks;           // written after a 40-byte header, or inside a longer one
    Bytes palette;         // 4 bytes per entry
    Bytes rows;            // stored rows, already padded
};

Bytes BuildBmp(const BmpLayout& layout)
{
    int extra = layout.headerSize == 40 ? static_cast<int>(layout.masks.size()) : 0;
    int offset = 14 + layout.headerSize + extra + static_cast<int>(layout.palette.size());
    ByteWriter w;
    w.Text("BM").U32(offset + static_cast<unsigned int>(layout.rows.size())).U32(0).U32(offset);
    w.U32(layout.headerSize).U32(layout.width).U32(static_cast<unsigned int>(layout.height));
    w.U16(1).U16(layout.bitCount).U32(layout.compression).U32(static_cast<unsigned int>(layout.rows.size()));
    w.U32(layout.xPerMeter).U32(layout.yPerMeter).U32(layout.colorsUsed).U32(0);
    if (layout.headerSize == 40) {
        w.Raw(layout.masks);
    } else {
        Bytes inHeader = layout.masks;
        inHeader.resize(static_cast<size_t>(layout.headerSize - 40), 0);
        w.Raw(inHeader);
    }
    w.Raw(layout.palette).Raw(layout.rows);
    return w.Get();
}

KwImage* Decode(const BmpLayout& layout)
{
    return ImageTest::DecodeWith<KwBMPDecoder>(BuildBmp(layout));
}

Bytes MaskBytes(unsigned int r, unsigned int g, unsigned int b, unsigned int a = 0, bool alpha = false)
{
    ByteWriter w;
    w.U32(r).U32(g).U32(b);
    if (alpha) {
        w.U32(a);
    }
    return w.Get();
}

} // namespace

TEST(KwBMPDecoder, Width3BottomUp24BitUsesStride12AndFlipsRows)
{
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    // Stored bottom row first: 9 pixel bytes and 3 padding bytes per row.
    layout.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE,
                 11, 12, 13, 14, 15, 16, 17, 18, 19, 0xEE, 0xEE, 0xEE};
    int opened = 0;
    KwBMPDecoder* decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(layout), &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(12, decoder->GetStride());
    EXPECT_EQ(0, decoder->IsTopDown());
    KwImage* image = decoder->GetImage();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(KW_FORMAT_BGR, image->GetFormat());
    EXPECT_EQ(3, image->GetWidth());
    EXPECT_EQ(2, image->GetHeight());
    EXPECT_EQ((Bytes{11, 12, 13, 14, 15, 16, 17, 18, 19, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
              ImageTest::PixelsOf(image));
    image->Release();
    decoder->Release();
}

TEST(KwBMPDecoder, TopDownRowsKeepTheirOrder)
{
    BmpLayout layout;
    layout.height = -2;
    layout.rows = {1, 2, 3, 0, 4, 5, 6, 0};
    KwImage* image = Decode(layout);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(2, image->GetHeight());
    EXPECT_EQ((Bytes{1, 2, 3, 4, 5, 6}), ImageTest::PixelsOf(image));
    image->Release();
}

TEST(KwBMPDecoder, ThirtyTwoBitFourthByteIsInvertedIntoAlpha)
{
    BmpLayout layout;
    layout.width = 2;
    layout.bitCount = 32;
    layout.rows = {10, 20, 30, 0, 40, 50, 60, 255};
    // A stored 0 is opaque; a stored 255 fully transparent.
    ImageTest::ExpectPixels(Decode(layout), KW_FORMAT_BGRA, Bytes{10, 20, 30, 255, 40, 50, 60, 0});
}

TEST(KwBMPDecoder, ExplicitAlphaMaskKeepsTheStoredAlpha)
{
    BmpLayout layout;
    layout.width = 2;
    layout.bitCount = 32;
    layout.compression = 3;
    layout.headerSize = 124;
    layout.masks = MaskBytes(0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, true);
    layout.rows = {10, 20, 30, 0, 40, 50, 60, 200};
    ImageTest::ExpectPixels(Decode(layout), Bytes{10, 20, 30, 0, 40, 50, 60, 200});
}

TEST(KwBMPDecoder, FourBitUsesHighNibbleForTheLeftPixel)
{
    BmpLayout layout;
    layout.width = 3;
    layout.bitCount = 4;
    for (int i = 0; i < 16; ++i) {
        layout.palette.insert(layout.palette.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(i * 2),
                                                 static_cast<unsigned char>(i * 3), 0x77});
    }
    layout.rows = {0x2F, 0x50, 0, 0};
    ImageTest::ExpectPixels(Decode(layout), Bytes{2, 4, 6, 15, 30, 45, 5, 10, 15});
}

TEST(KwBMPDecoder, OneAndEightBitPalettes)
{
    BmpLayout mono;
    mono.width = 10;
    mono.bitCount = 1;
    mono.palette = {0, 0, 0, 0, 255, 255, 255, 0};
    mono.rows = {0xA0, 0x40, 0, 0};
    KwImage* image = Decode(mono);
    ASSERT_NE(nullptr, image);
    Bytes pixels = ImageTest::PixelsOf(image);
    ASSERT_EQ(30u, pixels.size());
    EXPECT_EQ(255, pixels[0]);
    EXPECT_EQ(0, pixels[3]);
    EXPECT_EQ(255, pixels[6]);
    EXPECT_EQ(255, pixels[27]);  // pixel 9: second byte, bit 6
    image->Release();

    // Two colours used: the table stops after two entries, so a full
    // 256-entry table would run past the end of this small file.
    BmpLayout few;
    few.width = 2;
    few.bitCount = 8;
    few.colorsUsed = 2;
    few.palette = {1, 2, 3, 0, 4, 5, 6, 0};
    few.rows = {1, 0, 0, 0};
    image = Decode(few);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ((Bytes{4, 5, 6, 1, 2, 3}), ImageTest::PixelsOf(image));
    image->Release();
}

TEST(KwBMPDecoder, TwoBitRowsAndPaletteAfterALongerHeader)
{
    // Two bits per pixel are read as two, not widened to four.
    BmpLayout two;
    two.width = 5;
    two.bitCount = 2;
    two.headerSize = 108;
    two.palette = {0, 0, 0, 0, 1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0};
    two.rows = {0x1B, 0x80, 0, 0};
    ImageTest::ExpectPixels(Decode(two), Bytes{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 2, 2, 2});
}

TEST(KwBMPDecoder, SixteenBitWithoutMasksIs555)
{
    BmpLayout layout;
    layout.width = 2;
    layout.bitCount = 16;
    // 0x7FFF white, 0x7C00 pure red in 5-5-5.
    layout.rows = {0xFF, 0x7F, 0x00, 0x7C};
    int opened = 0;
    KwBMPDecoder* decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(layout), &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(0, decoder->Is565());
    KwImage* image = decoder->GetImage();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ((Bytes{0xF8, 0xF8, 0xF8, 0, 0, 0xF8}), ImageTest::PixelsOf(image));
    image->Release();
    decoder->Release();
}

TEST(KwBMPDecoder, SixteenBitRedMaskF800Is565)
{
    BmpLayout layout;
    layout.width = 2;
    layout.bitCount = 16;
    layout.compression = 3;
    layout.masks = MaskBytes(0xF800, 0x07E0, 0x001F);
    // 0x07E0 pure green (6 bits), 0xF81F magenta.
    layout.rows = {0xE0, 0x07, 0x1F, 0xF8};
    int opened = 0;
    KwBMPDecoder* decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(layout), &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(1, decoder->Is565());
    KwImage* image = decoder->GetImage();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ((Bytes{0, 0xFC, 0, 0xF8, 0, 0xF8}), ImageTest::PixelsOf(image));
    image->Release();
    decoder->Release();
}

TEST(KwBMPDecoder, CoreHeaderWithThreeBytePalette)
{
    ByteWriter w;
    w.Text("BM").U32(0).U32(0).U32(14 + 12 + 6);
    w.U32(12).U16(2).U16(1).U16(1).U16(1);
    w.U8(10).U8(20).U8(30).U8(40).U8(50).U8(60);
    w.U8(0x40).U8(0).U8(0).U8(0);
    ImageTest::ExpectPixels(ImageTest::DecodeWith<KwBMPDecoder>(w.Get()), Bytes{10, 20, 30, 40, 50, 60});
}

TEST(KwBMPDecoder, PublishesHeaderValues)
{
    BmpLayout layout;
    layout.bitCount = 32;
    layout.rows = {0, 0, 0, 0};
    int opened = 0;
    KwBMPDecoder* decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(layout), &opened);
    KwParam params;
    ASSERT_EQ(1, decoder->GetParams(&params));
    EXPECT_STREQ("1004", params.GetString(KW_PARAM_IMAGE_TYPE, "").GetText());
    EXPECT_STREQ("1", params.GetString(KW_PARAM_IMAGE_WIDTH, "").GetText());
    EXPECT_STREQ("3", params.GetString(KW_PARAM_BMP_COMPONENTS, "").GetText());
    EXPECT_STREQ("2835", params.GetString(KW_PARAM_BMP_X_PER_METER, "").GetText());
    EXPECT_STREQ("72", params.GetString(KW_PARAM_BMP_X_PER_INCH, "").GetText());
    EXPECT_STREQ("96", params.GetString(KW_PARAM_BMP_Y_PER_INCH, "").GetText());
    EXPECT_EQ(72, decoder->GetXPerInch());
    decoder->Release();

    layout.bitCount = 8;
    layout.palette.assign(1024, 0);
    decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(layout), &opened);
    KwParam eight;
    decoder->GetParams(&eight);
    EXPECT_STREQ("1003", eight.GetString(KW_PARAM_IMAGE_TYPE, "").GetText());
    EXPECT_STREQ("1", eight.GetString(KW_PARAM_BMP_COMPONENTS, "").GetText());
    decoder->Release();
}

TEST(KwBMPDecoder, DecodesOnceAndHandsOutTheSameBuffer)
{
    BmpLayout layout;
    layout.rows = {1, 2, 3, 0};
    int opened = 0;
    KwBMPDecoder* decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(layout), &opened);
    KwBuffer* first = decoder->GetPixels();
    KwBuffer* second = decoder->GetPixels();
    EXPECT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    first->Release();
    second->Release();
    decoder->Release();
}

TEST(KwBMPDecoder, RefusesBrokenAndHostileFiles)
{
    BmpLayout layout;
    layout.width = 4;
    layout.height = 4;
    layout.rows.assign(48, 7);
    Bytes good = BuildBmp(layout);

    Bytes truncated(good.begin(), good.end() - 5);
    int opened = 0;
    KwBMPDecoder* decoder = ImageTest::OpenDecoder<KwBMPDecoder>(truncated, &opened);
    EXPECT_EQ(1, opened);
    EXPECT_EQ(nullptr, decoder->GetImage());
    EXPECT_EQ(KW_CODER_BAD_DATA, decoder->GetErrorCode());
    EXPECT_EQ(nullptr, decoder->GetPixels());
    decoder->Release();

    Bytes shortHeader(good.begin(), good.begin() + 40);
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwBMPDecoder>(shortHeader));
    Bytes wrongMagic = good;
    wrongMagic[0] = 'X';
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwBMPDecoder>(wrongMagic));

    BmpLayout huge = layout;
    huge.width = 0x7FFFFFFF;
    huge.height = -0x7FFFFFFF - 1;
    decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(huge), &opened);
    EXPECT_EQ(0, opened);
    EXPECT_EQ(KW_CODER_TOO_LARGE, decoder->GetErrorCode());
    decoder->Release();

    BmpLayout rle = layout;
    rle.bitCount = 8;
    rle.compression = 1;
    rle.palette.assign(1024, 0);
    decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(rle), &opened);
    EXPECT_EQ(0, opened);
    EXPECT_EQ(KW_CODER_UNSUPPORTED, decoder->GetErrorCode());
    decoder->Release();

    BmpLayout zero = layout;
    zero.height = 0;
    EXPECT_EQ(nullptr, Decode(zero));
}

TEST(KwBMPDecoder, ExpandRowRejectsDepthZeroAndAbove32)
{
    KwBMPDecoder decoder;
    unsigned char palette[1024] = {0};
    palette[4] = 9;
    unsigned char row[4] = {0x40, 0, 0, 0};
    unsigned char out[16] = {0};
    EXPECT_EQ(0, decoder.ExpandRow(palette, row, out, 1, 0));
    EXPECT_EQ(0, decoder.ExpandRow(palette, row, out, 1, 33));
    EXPECT_EQ(1, decoder.ExpandRow(palette, row, out, 2, 1));
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(9, out[3]);
}

namespace {

class CountingListener : public IKwProgressListener {
public:
    int OnProgress(int done, int total) override
    {
        last = done;
        totalSeen = total;
        ++calls;
        return 1;
    }
    int OnComplete(int success) override
    {
        completed = success ? 1 : -1;
        return 1;
    }
    int calls = 0;
    int last = -1;
    int totalSeen = 0;
    int completed = 0;
};

} // namespace

TEST(KwBMPDecoder, ReportsProgressPerRowAndCompletion)
{
    BmpLayout layout;
    layout.height = 5;
    layout.rows.assign(20, 1);
    CountingListener* listener = new CountingListener();
    listener->AddRef();
    int opened = 0;
    KwBMPDecoder* decoder = ImageTest::OpenDecoder<KwBMPDecoder>(BuildBmp(layout), &opened);
    decoder->SetProgressListener(listener);
    KwBuffer* pixels = decoder->GetPixels();
    ASSERT_NE(nullptr, pixels);
    pixels->Release();
    EXPECT_EQ(5, listener->calls);
    EXPECT_EQ(4, listener->last);
    EXPECT_EQ(5, listener->totalSeen);
    EXPECT_EQ(1, listener->completed);
    decoder->Release();
    listener->Release();
}
