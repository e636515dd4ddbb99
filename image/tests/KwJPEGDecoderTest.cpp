// Tests of the JPEG decoder on files encoded here with libjpeg: colour order,
// grey, four-component files, resolution, and refusal of broken files.
#include "ImageTestSupport.h"

#include "KwJPEGDecoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

using namespace KwSDK;
using namespace ImageTest;

namespace {

// Encodes width x height pixels of `components` samples each, every pixel
// the same, at quality 100 without chroma subsampling.
Bytes EncodeFlat(int width, int height, int components, const unsigned char* pixel, int dpi = 0)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : (components == 3 ? JCS_RGB : JCS_CMYK);
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    if (dpi != 0) {
        cinfo.density_unit = 1;
        cinfo.X_density = static_cast<UINT16>(dpi);
        cinfo.Y_density = static_cast<UINT16>(dpi);
    }
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row(static_cast<size_t>(width) * components);
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < components; ++c) {
            row[static_cast<size_t>(x) * components + c] = pixel[c];
        }
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

void ExpectEveryPixelNear(const Bytes& pixels, const unsigned char* expected, int size)
{
    ASSERT_EQ(pixels.size() % size, 0u);
    for (size_t i = 0; i < pixels.size(); ++i) {
        ASSERT_NEAR(pixels[i], expected[i % size], 2) << "byte " << i;
    }
}

} // namespace

TEST(KwJPEGDecoder, ColourComesOutAsRgb)
{
    const unsigned char orange[3] = { 240, 120, 16 };
    KwImage* image = DecodeWith<KwJPEGDecoder>(EncodeFlat(19, 9, 3, orange));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFormat(), KW_FORMAT_RGB);
    EXPECT_EQ(image->GetWidth(), 19);
    EXPECT_EQ(image->GetHeight(), 9);
    ExpectEveryPixelNear(PixelsOf(image), orange, 3);
    image->Release();
}

TEST(KwJPEGDecoder, GreyIsRepeatedIntoRgb)
{
    const unsigned char grey[1] = { 77 };
    const unsigned char rgb[3] = { 77, 77, 77 };
    KwImage* image = DecodeWith<KwJPEGDecoder>(EncodeFlat(8, 8, 1, grey));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFormat(), KW_FORMAT_RGB);
    ExpectEveryPixelNear(PixelsOf(image), rgb, 3);
    image->Release();
}

TEST(KwJPEGDecoder, FourComponentsAreDeliveredAsStored)
{
    const unsigned char cmyk[4] = { 10, 200, 60, 30 };
    Bytes file = EncodeFlat(5, 3, 4, cmyk);
    int opened = 0;
    KwJPEGDecoder* decoder = OpenDecoder<KwJPEGDecoder>(file, &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetFileComponents(), 4);
    EXPECT_EQ(decoder->GetComponentNumber(), 4);
    KwImage* image = decoder->GetImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFormat(), KW_FORMAT_SAMPLES4);
    ExpectEveryPixelNear(PixelsOf(image), cmyk, 4);
    image->Release();
    decoder->Release();
}

TEST(KwJPEGDecoder, DensityGivesPixelsPerMetre)
{
    const unsigned char white[3] = { 255, 255, 255 };
    int opened = 0;
    KwJPEGDecoder* decoder = OpenDecoder<KwJPEGDecoder>(EncodeFlat(4, 4, 3, white, 300), &opened);
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetXPerMeter(), 11811);
    EXPECT_EQ(decoder->GetYPerInch(), 299);  // 11811 x 0.0254, truncated
    decoder->Release();
}

TEST(KwJPEGDecoder, TruncatedFileFailsInsteadOfPadding)
{
    const unsigned char blue[3] = { 0, 0, 255 };
    Bytes file = EncodeFlat(64, 64, 3, blue);
    // Cut just after the start of the scan: the header is whole.
    size_t scan = 0;
    while (scan + 1 < file.size() && !(file[scan] == 0xFF && file[scan + 1] == 0xDA)) {
        ++scan;
    }
    ASSERT_LT(scan + 20, file.size() - 2);
    Bytes cut(file.begin(), file.begin() + static_cast<long>(scan + 20));
    int opened = 0;
    KwJPEGDecoder* decoder = OpenDecoder<KwJPEGDecoder>(cut, &opened);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_BAD_DATA);
    decoder->Release();
    // Without its end marker the file is cut as well.
    EXPECT_EQ(DecodeWith<KwJPEGDecoder>(Bytes(file.begin(), file.end() - 2)), nullptr);
}

TEST(KwJPEGDecoder, BrokenHeadersFail)
{
    Bytes noise = { 0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x04, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06 };
    int opened = 1;
    KwJPEGDecoder* decoder = OpenDecoder<KwJPEGDecoder>(noise, &opened);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(decoder->GetErrorCode(), KW_CODER_BAD_HEADER);
    EXPECT_EQ(decoder->GetImage(), nullptr);
    decoder->Release();
    EXPECT_EQ(DecodeWith<KwJPEGDecoder>(Bytes{ 'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }), nullptr);
}
