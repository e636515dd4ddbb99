// Exercises each third-party library through the calls the programs rely on,
// so a broken cross-build or link order fails here rather than deep inside a
// decoder or the launcher.
#include <gtest/gtest.h>

#include <bzlib.h>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <openjpeg.h>
#include <png.h>
#include <string>
#include <tiffio.h>
#include <vector>
#include <zlib.h>

namespace {

// A 2 x 2 RGBA PNG: red, half-transparent green / blue, transparent white.
const unsigned char kTinyPng[] = { 0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00, 0x15, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0xf0, 0x1f, 0x08, 0x1b, 0x18, 0x80, 0x34, 0x08, 0x30, 0x00, 0x00, 0x43, 0xd3, 0x08, 0x79, 0xc9, 0x15, 0x1c, 0x0f, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82 };

struct PngSource {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    PngSource* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (src->size - src->pos < count)
        png_error(png, "read past end");
    memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

} // namespace

TEST(Dependencies, LibpngDecodesTinyRgbaImage)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    ASSERT_NE(png, nullptr);
    png_infop info = png_create_info_struct(png);
    ASSERT_NE(info, nullptr);
    std::vector<unsigned char> pixels(2 * 2 * 4);
    PngSource src = { kTinyPng, sizeof kTinyPng, 0 };
    bool failed = false;
    if (setjmp(png_jmpbuf(png))) {
        failed = true;
    } else {
        png_set_read_fn(png, &src, ReadFromMemory);
        png_read_info(png, info);
        ASSERT_EQ(png_get_image_width(png, info), 2u);
        ASSERT_EQ(png_get_image_height(png, info), 2u);
        ASSERT_EQ(png_get_color_type(png, info), PNG_COLOR_TYPE_RGBA);
        png_bytep rows[2] = { &pixels[0], &pixels[8] };
        png_read_image(png, rows);
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    ASSERT_FALSE(failed);
    const unsigned char expected[16] = { 255, 0, 0, 255, 0, 255, 0, 128,
                                         0, 0, 255, 255, 255, 255, 255, 0 };
    EXPECT_EQ(0, memcmp(pixels.data(), expected, sizeof expected));
}

TEST(Dependencies, Bzip2HighLevelFileCallsRoundTrip)
{
    const char* path = "dependencies_roundtrip.bz2";
    std::string payload;
    for (int i = 0; i < 5000; ++i)
        payload += "line " + std::to_string(i) + " of the payload\r\n";

    BZFILE* out = BZ2_bzopen(path, "wb");
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(BZ2_bzwrite(out, &payload[0], (int)payload.size()), (int)payload.size());
    BZ2_bzclose(out);

    BZFILE* in = BZ2_bzopen(path, "rb");
    ASSERT_NE(in, nullptr);
    std::string back;
    char piece[10240];
    int n;
    while ((n = BZ2_bzread(in, piece, sizeof piece)) > 0)
        back.append(piece, n);
    BZ2_bzclose(in);
    remove(path);
    EXPECT_EQ(back, payload);
}

TEST(Dependencies, OtherCodecLibrariesAreLinked)
{
    // Creating and destroying a context proves the library is callable; the
    // decoders test the formats themselves.
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);

    EXPECT_NE(TIFFGetVersion(), nullptr);
    EXPECT_TRUE(TIFFIsCODECConfigured(COMPRESSION_ADOBE_DEFLATE));
    EXPECT_TRUE(TIFFIsCODECConfigured(COMPRESSION_JPEG));

    opj_codec_t* codec = opj_create_decompress(OPJ_CODEC_J2K);
    ASSERT_NE(codec, nullptr);
    opj_destroy_codec(codec);

    EXPECT_NE(zlibVersion(), nullptr);
}
