// Tests of the JPEG 2000 core: pictures encoded losslessly in memory by
// OpenJPEG's encoder come back with the same samples; broken input fails.
#include "KwJ2KDecoder.h"

#include "KwBuffer.h"
#include "KwBufferStream.h"
#include "J2KTestEncoder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KwSDK;

namespace {

using J2KTest::CompH;
using J2KTest::CompW;
using J2KTest::Planes;

// Encodes the planes losslessly with two resolution levels.
std::vector<unsigned char> Encode(const Planes& p, OPJ_CODEC_FORMAT format)
{
    return J2KTest::Encode(p, format, 2);
}

Planes MakePlanes(unsigned int width, unsigned int height, unsigned int prec, unsigned int count)
{
    Planes p;
    p.width = width;
    p.height = height;
    p.prec = prec;
    int maximum = (1 << prec) - 1;
    for (unsigned int i = 0; i < count; ++i) {
        std::vector<int> plane(static_cast<size_t>(CompW(p, i)) * CompH(p, i));
        for (size_t k = 0; k < plane.size(); ++k) {
            plane[k] = static_cast<int>((k * 37 + i * 91 + (k * k) % 13) % (maximum + 1));
        }
        p.samples.push_back(plane);
    }
    return p;
}

// Decodes bytes through a buffer stream; answers the R, G, B rows, or an
// empty vector when the header or the decode fails.
std::vector<unsigned char> Decode(const std::vector<unsigned char>& bytes, int codec, KwJ2KDecoder& core)
{
    KwBufferStream stream;
    stream.SetData(bytes.data(), static_cast<int>(bytes.size()));
    stream.SetMode(KW_MODE_READ);
    if (!core.ReadHeader(&stream, codec)) {
        return {};
    }
    std::vector<unsigned char> out(static_cast<size_t>(core.GetWidth()) * core.GetHeight() * 3);
    if (!core.DecodeRGB(out.data(), out.size())) {
        return {};
    }
    return out;
}

} // namespace

TEST(KwJ2KDecoder, CodeStreamRgbIsLossless)
{
    Planes p = MakePlanes(19, 11, 8, 3);
    std::vector<unsigned char> bytes = Encode(p, OPJ_CODEC_J2K);
    KwJ2KDecoder core;
    std::vector<unsigned char> rgb = Decode(bytes, KW_J2K_CODESTREAM, core);
    ASSERT_EQ(rgb.size(), 19u * 11u * 3u);
    for (size_t k = 0; k < 19u * 11u; ++k) {
        ASSERT_EQ(rgb[k * 3 + 0], p.samples[0][k]) << k;
        ASSERT_EQ(rgb[k * 3 + 1], p.samples[1][k]) << k;
        ASSERT_EQ(rgb[k * 3 + 2], p.samples[2][k]) << k;
    }
}

TEST(KwJ2KDecoder, FileFormatReportsHeaderBeforeDecoding)
{
    Planes p = MakePlanes(8, 5, 8, 3);
    std::vector<unsigned char> bytes = Encode(p, OPJ_CODEC_JP2);
    KwBufferStream stream;
    stream.SetData(bytes.data(), static_cast<int>(bytes.size()));
    stream.SetMode(KW_MODE_READ);
    KwJ2KDecoder core;
    ASSERT_EQ(core.ReadHeader(&stream, KW_J2K_FILE), 1);
    EXPECT_EQ(core.GetWidth(), 8u);
    EXPECT_EQ(core.GetHeight(), 5u);
    EXPECT_EQ(core.GetComponents(), 3u);
    EXPECT_EQ(core.GetPrecision(), 8u);
    EXPECT_GE(core.GetSampleBytes(), 8ull * 5 * 3 * 4);
    std::vector<unsigned char> out(8 * 5 * 3);
    ASSERT_EQ(core.DecodeRGB(out.data(), out.size()), 1);
    EXPECT_EQ(out[3 * 7 + 1], p.samples[1][7]);
    // The samples were handed over: a second decode needs a new header.
    EXPECT_EQ(core.DecodeRGB(out.data(), out.size()), 0);
    EXPECT_EQ(core.GetErrorCode(), KW_J2K_NO_HEADER);
}

// The file may start inside a larger stream: the library's offsets count
// from the file's first byte.
TEST(KwJ2KDecoder, FileInsideALargerStream)
{
    Planes p = MakePlanes(10, 6, 8, 3);
    std::vector<unsigned char> bytes = Encode(p, OPJ_CODEC_JP2);
    bytes.insert(bytes.begin(), 13, 0xAB);
    KwBufferStream stream;
    stream.SetData(bytes.data(), static_cast<int>(bytes.size()));
    stream.SetMode(KW_MODE_READ);
    ASSERT_EQ(stream.Seek(13, KW_SEEK_SET), 1);
    KwJ2KDecoder core;
    ASSERT_EQ(core.ReadHeader(&stream, KW_J2K_FILE), 1);
    std::vector<unsigned char> out(10 * 6 * 3);
    ASSERT_EQ(core.DecodeRGB(out.data(), out.size()), 1);
    for (size_t k = 0; k < 60; ++k) {
        ASSERT_EQ(out[k * 3 + 2], p.samples[2][k]) << k;
    }
}

TEST(KwJ2KDecoder, GreyIsRepeatedAndHighPrecisionIsScaled)
{
    Planes p = MakePlanes(6, 4, 12, 1);
    p.space = OPJ_CLRSPC_GRAY;
    p.samples[0][0] = 4095;
    p.samples[0][1] = 0;
    p.samples[0][2] = 2048;
    KwJ2KDecoder core;
    std::vector<unsigned char> rgb = Decode(Encode(p, OPJ_CODEC_JP2), KW_J2K_FILE, core);
    ASSERT_EQ(rgb.size(), 6u * 4u * 3u);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[1], 255);
    EXPECT_EQ(rgb[3], 0);
    EXPECT_EQ(rgb[6], (2048 * 255 + 2047) / 4095);
    EXPECT_EQ(rgb[6], rgb[8]);
}

TEST(KwJ2KDecoder, SubsampledComponentsCoverTheirPixels)
{
    Planes p = MakePlanes(7, 5, 8, 0);
    p.dx = 2;
    p.dy = 2;
    for (unsigned int i = 0; i < 3; ++i) {
        std::vector<int> plane(static_cast<size_t>(CompW(p, i)) * CompH(p, i));
        for (size_t k = 0; k < plane.size(); ++k) {
            plane[k] = static_cast<int>((k * 29 + i * 50) % 256);
        }
        p.samples.push_back(plane);
    }
    KwJ2KDecoder core;
    std::vector<unsigned char> rgb = Decode(Encode(p, OPJ_CODEC_J2K), KW_J2K_CODESTREAM, core);
    ASSERT_EQ(rgb.size(), 7u * 5u * 3u);
    unsigned int cw = CompW(p, 1);
    for (unsigned int y = 0; y < 5; ++y) {
        for (unsigned int x = 0; x < 7; ++x) {
            size_t at = (static_cast<size_t>(y) * 7 + x) * 3;
            ASSERT_EQ(rgb[at], p.samples[0][y * 7 + x]);
            ASSERT_EQ(rgb[at + 1], p.samples[1][(y / 2) * cw + x / 2]);
            ASSERT_EQ(rgb[at + 2], p.samples[2][(y / 2) * cw + x / 2]);
        }
    }
}

TEST(KwJ2KDecoder, BrokenInputFails)
{
    Planes p = MakePlanes(16, 16, 8, 3);
    std::vector<unsigned char> bytes = Encode(p, OPJ_CODEC_J2K);
    KwJ2KDecoder core;
    // Cut in the middle of the tile data: strict decoding refuses it.
    std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + bytes.size() * 2 / 3);
    EXPECT_TRUE(Decode(cut, KW_J2K_CODESTREAM, core).empty());
    // A code stream is not a JP2 file, and noise is neither.
    EXPECT_TRUE(Decode(bytes, KW_J2K_FILE, core).empty());
    std::vector<unsigned char> noise(300);
    for (size_t k = 0; k < noise.size(); ++k) {
        noise[k] = static_cast<unsigned char>(k * 7 + 3);
    }
    EXPECT_TRUE(Decode(noise, KW_J2K_CODESTREAM, core).empty());
    EXPECT_EQ(core.GetErrorCode(), KW_J2K_BAD_HEADER);
}

TEST(KwJ2KDecoder, MisuseIsRefused)
{
    KwJ2KDecoder core;
    unsigned char out[3];
    EXPECT_EQ(core.DecodeRGB(out, sizeof(out)), 0);
    EXPECT_EQ(core.GetErrorCode(), KW_J2K_NO_HEADER);
    EXPECT_EQ(core.ReadHeader(nullptr, KW_J2K_FILE), 0);
    EXPECT_EQ(core.GetErrorCode(), KW_J2K_PARAM);
    EXPECT_STREQ(core.GetErrorMessage(KW_J2K_PARAM), "Paramater is wrong");
    EXPECT_STREQ(core.GetErrorMessage(0x1234), "Success");

    Planes p = MakePlanes(9, 9, 8, 3);
    std::vector<unsigned char> bytes = Encode(p, OPJ_CODEC_J2K);
    KwBufferStream stream;
    stream.SetData(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_EQ(core.ReadHeader(&stream, KW_J2K_CODESTREAM), 1);
    std::vector<unsigned char> small(9 * 9 * 3 - 1);
    EXPECT_EQ(core.DecodeRGB(small.data(), small.size()), 0);
    EXPECT_EQ(core.GetErrorCode(), KW_J2K_PARAM);
}
