// Tests of the TIFF decoder on small uncompressed files built here: RGB and
// grey rows as stored, alpha as a fourth sample, the RGBA conversion path
// (palette, bilevel, bottom-up), resolution, and refusal of broken files.
#include "ImageTestSupport.h"

#include "KwImageParams.h"
#include "KwTIFFDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace KwSDK;
using namespace ImageTest;

namespace {

const unsigned int kShort = 3;
const unsigned int kLong = 4;
const unsigned int kRational = 5;

struct Field {
    unsigned int tag;
    unsigned int type;
    std::vector<unsigned int> values;  // rationals: numerator, denominator pairs
};

// A little-endian TIFF with one directory and one strip holding the pixels.
// Strip offset and byte count are filled in here.
Bytes MakeTiff(std::vector<Field> fields, const Bytes& pixels)
{
    fields.push_back({ 273, kLong, { 0 } });
    fields.push_back({ 279, kLong, { static_cast<unsigned int>(pixels.size()) } });
    std::sort(fields.begin(), fields.end(), [](const Field& a, const Field& b) { return a.tag < b.tag; });
    auto valueBytes = [](const Field& f) {
        size_t per = f.type == kShort ? 2 : 4;
        return per * f.values.size();
    };
    size_t extraAt = 8 + 2 + 12 * fields.size() + 4;
    size_t extraSize = 0;
    for (const Field& f : fields) {
        extraSize += valueBytes(f) > 4 ? valueBytes(f) : 0;
    }
    unsigned int stripAt = static_cast<unsigned int>(extraAt + extraSize);
    ByteWriter head, extra;
    head.Text("II").U16(42).U32(8).U16(static_cast<unsigned int>(fields.size()));
    for (Field& f : fields) {
        if (f.tag == 273) {
            f.values[0] = stripAt;
        }
        unsigned int count = f.type == kRational ? static_cast<unsigned int>(f.values.size() / 2)
                                                 : static_cast<unsigned int>(f.values.size());
        head.U16(f.tag).U16(f.type).U32(count);
        ByteWriter value;
        for (unsigned int v : f.values) {
            f.type == kShort ? value.U16(v) : value.U32(v);
        }
        if (value.Get().size() > 4) {
            head.U32(static_cast<unsigned int>(extraAt + extra.Get().size()));
            extra.Raw(value.Get());
        } else {
            value.Fill(0, static_cast<int>(4 - value.Get().size()));
            head.Raw(value.Get());
        }
    }
    head.U32(0).Raw(extra.Get()).Raw(pixels);
    return head.Get();
}

std::vector<Field> Basic(unsigned int width, unsigned int height, unsigned int photometric,
                         std::vector<unsigned int> bits)
{
    return { { 256, kLong, { width } },
             { 257, kLong, { height } },
             { 258, kShort, bits },
             { 259, kShort, { 1 } },
             { 262, kShort, { photometric } },
             { 277, kShort, { static_cast<unsigned int>(bits.size()) } },
             { 278, kLong, { height } } };
}

} // namespace

TEST(KwTIFFDecoder, RgbRowsComeOutAsStored)
{
    Bytes pixels = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18 };
    KwImage* image = DecodeWith<KwTIFFDecoder>(MakeTiff(Basic(3, 2, 2, { 8, 8, 8 }), pixels));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFormat(), KW_FORMAT_RGB);
    EXPECT_EQ(image->GetWidth(), 3);
    EXPECT_EQ(PixelsOf(image), pixels);
    image->Release();
}

TEST(KwTIFFDecoder, ExtraSampleBecomesTheFourthSample)
{
    std::vector<Field> fields = Basic(2, 1, 2, { 8, 8, 8, 8 });
    fields.push_back({ 338, kShort, { 2 } });  // unassociated alpha
    Bytes pixels = { 200, 100, 50, 7, 1, 2, 3, 255 };
    int opened = 0;
    KwTIFFDecoder* decoder = OpenDecoder<KwTIFFDecoder>(MakeTiff(fields, pixels), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetSamplesPerPixel(), 4);
    KwImage* image = decoder->GetImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFormat(), KW_FORMAT_SAMPLES4);
    EXPECT_EQ(PixelsOf(image), pixels);  // not premultiplied
    image->Release();
    decoder->Release();
}

TEST(KwTIFFDecoder, GreyWithAlphaGoesThroughTheSamePath)
{
    std::vector<Field> fields = Basic(2, 1, 1, { 8, 8 });
    fields.push_back({ 338, kShort, { 2 } });
    ExpectPixels(DecodeWith<KwTIFFDecoder>(MakeTiff(fields, { 90, 128, 250, 0 })),
                 Bytes{ 90, 90, 90, 128, 250, 250, 250, 0 });
}

TEST(KwTIFFDecoder, PaletteAndBilevelAreConverted)
{
    // 4-bit palette: entries 0 and 1 used; colour map values are 16-bit.
    std::vector<Field> fields = Basic(3, 1, 3, { 4 });
    std::vector<unsigned int> map(48, 0);
    map[0] = 0xFFFF;           // red of entry 0
    map[16 + 1] = 0x8000;      // green of entry 1
    map[32 + 1] = 0x2000;      // blue of entry 1
    fields.push_back({ 320, kShort, map });
    KwImage* image = DecodeWith<KwTIFFDecoder>(MakeTiff(fields, { 0x01, 0x00 }));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(image), (Bytes{ 255, 0, 0, 0, 128, 32, 255, 0, 0 }));
    image->Release();

    // Bilevel, 0 is white: 1 0 1 1 0.
    image = DecodeWith<KwTIFFDecoder>(MakeTiff(Basic(5, 1, 0, { 1 }), { 0xB0 }));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(image), (Bytes{ 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 255 }));
    image->Release();
}

TEST(KwTIFFDecoder, BottomUpOrientationIsTurned)
{
    std::vector<Field> fields = Basic(1, 2, 2, { 8, 8, 8 });
    fields.push_back({ 274, kShort, { 4 } });  // rows stored bottom to top
    ExpectPixels(DecodeWith<KwTIFFDecoder>(MakeTiff(fields, { 1, 2, 3, 4, 5, 6 })), Bytes{ 4, 5, 6, 1, 2, 3 });
}

TEST(KwTIFFDecoder, ResolutionAndParameters)
{
    std::vector<Field> fields = Basic(1, 1, 2, { 8, 8, 8 });
    fields.push_back({ 282, kRational, { 300, 1 } });
    fields.push_back({ 283, kRational, { 150, 1 } });
    fields.push_back({ 296, kShort, { 2 } });  // inches
    int opened = 0;
    KwTIFFDecoder* decoder = OpenDecoder<KwTIFFDecoder>(MakeTiff(fields, { 9, 9, 9 }), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetXPerMeter(), 11811);
    EXPECT_EQ(decoder->GetYPerMeter(), 5906);
    EXPECT_EQ(decoder->GetDirectoryCount(), 1);
    KwParam params;
    ASSERT_EQ(decoder->GetParams(&params), 1);
    EXPECT_EQ(params.GetString(KW_PARAM_IMAGE_TYPE, ""), KwString("1003"));
    EXPECT_EQ(params.GetString(KW_PARAM_IMAGE_DEPTH, ""), KwString("8"));
    decoder->Release();
}

TEST(KwTIFFDecoder, BrokenFilesFail)
{
    Bytes pixels(3 * 4 * 3, 7);
    Bytes good = MakeTiff(Basic(3, 4, 2, { 8, 8, 8 }), pixels);
    // The strip ends early: the header reads, the pixels do not.
    Bytes cut(good.begin(), good.end() - 5);
    int opened = 0;
    KwTIFFDecoder* decoder = OpenDecoder<KwTIFFDecoder>(cut, &opened);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_BAD_DATA);
    decoder->Release();

    // No photometric interpretation, a directory beyond the end, no magic.
    std::vector<Field> noPhotometric = Basic(3, 4, 2, { 8, 8, 8 });
    noPhotometric.erase(noPhotometric.begin() + 4);
    EXPECT_EQ(DecodeWith<KwTIFFDecoder>(MakeTiff(noPhotometric, pixels)), nullptr);
    Bytes farDirectory = good;
    farDirectory[4] = 0xF0;
    EXPECT_EQ(DecodeWith<KwTIFFDecoder>(farDirectory), nullptr);
    Bytes badMagic = good;
    badMagic[2] = 43;
    EXPECT_EQ(DecodeWith<KwTIFFDecoder>(badMagic), nullptr);
}

TEST(KwTIFFDecoder, OversizedPictureIsRefused)
{
    int opened = 0;
    KwTIFFDecoder* decoder =
        OpenDecoder<KwTIFFDecoder>(MakeTiff(Basic(30000, 30000, 2, { 8, 8, 8 }), { 1, 2, 3 }), &opened);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_TOO_LARGE);
    decoder->Release();
}
