// Tests of the icon and cursor decoder: several images of several depths,
// the main image, masks and damaged directories.
#include "KwICODecoder.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::ByteWriter;
using ImageTest::Bytes;

namespace {

struct IconImage {
    int width;
    int height;
    int bitCount;
    Bytes palette;   // 4 bytes per entry
    Bytes rows;      // colour rows, bottom-up, padded
    Bytes mask;      // mask rows, bottom-up, padded
};

Bytes ImageData(const IconImage& image)
{
    ByteWriter w;
    w.U32(40).U32(image.width).U32(image.height * 2).U16(1).U16(image.bitCount);
    w.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
    w.Raw(image.palette).Raw(image.rows).Raw(image.mask);
    return w.Get();
}

Bytes BuildIcon(const std::vector<IconImage>& images, int type = 1)
{
    ByteWriter w;
    w.U16(0).U16(type).U16(static_cast<unsigned int>(images.size()));
    unsigned int offset = 6 + 16 * static_cast<unsigned int>(images.size());
    std::vector<Bytes> data;
    for (const IconImage& image : images) {
        data.push_back(ImageData(image));
        w.U8(image.width & 0xFF).U8(image.height & 0xFF).U8(0).U8(0);
        w.U16(1).U16(image.bitCount).U32(static_cast<unsigned int>(data.back().size())).U32(offset);
        offset += static_cast<unsigned int>(data.back().size());
    }
    for (const Bytes& bytes : data) {
        w.Raw(bytes);
    }
    return w.Get();
}

// A width x height image of the given depth, every byte of the colour rows
// set to fill, an empty mask.
IconImage Solid(int width, int height, int bitCount, unsigned char fill)
{
    IconImage image{width, height, bitCount, {}, {}, {}};
    if (bitCount <= 8) {
        image.palette.assign(static_cast<size_t>(4 << bitCount), 0);
        image.palette[4 * fill] = 11;
        image.palette[4 * fill + 1] = 22;
        image.palette[4 * fill + 2] = 33;
    }
    int stride = ((bitCount * width + 7) / 8 + 3) / 4 * 4;
    int maskStride = ((width + 7) / 8 + 3) / 4 * 4;
    image.rows.assign(static_cast<size_t>(stride * height), bitCount <= 8 ? 0 : fill);
    if (bitCount == 8) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.rows[y * stride + x] = fill;
            }
        }
    }
    image.mask.assign(static_cast<size_t>(maskStride * height), 0);
    return image;
}

} // namespace

TEST(KwICODecoder, ThreeImagesGiveAGroupOfThreeAtHalfTheStoredHeight)
{
    Bytes icon = BuildIcon({Solid(16, 16, 8, 3), Solid(32, 32, 32, 0x80), Solid(24, 24, 24, 0x40)});
    int opened = 0;
    KwICODecoder* decoder = ImageTest::OpenDecoder<KwICODecoder>(icon, &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(3, decoder->GetImageCount());
    EXPECT_EQ(32, decoder->GetWidth());
    EXPECT_EQ(32, decoder->GetHeight());
    EXPECT_EQ(1, decoder->GetResourceType());
    KwImageGroup* group = decoder->GetImageGroup();
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(3, group->GetCount());
    const int sizes[3] = {16, 32, 24};
    const int formats[3] = {KW_FORMAT_BGR, KW_FORMAT_BGRA, KW_FORMAT_BGR};
    for (int i = 0; i < 3; ++i) {
        KwImage* image = group->GetAt(i);
        EXPECT_EQ(sizes[i], image->GetWidth());
        EXPECT_EQ(sizes[i], image->GetHeight());
        EXPECT_EQ(formats[i], image->GetFormat());
        image->Release();
    }
    KwImage* first = group->GetAt(0);
    Bytes pixels = ImageTest::PixelsOf(first);
    ASSERT_EQ(static_cast<size_t>(16 * 16 * 3), pixels.size());
    EXPECT_EQ((Bytes{11, 22, 33}), Bytes(pixels.begin(), pixels.begin() + 3));
    first->Release();
    group->Release();
    // The main image is the largest one.
    KwImage* main = decoder->GetImage();
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(32, main->GetWidth());
    EXPECT_EQ(KW_FORMAT_BGRA, main->GetFormat());
    main->Release();
    decoder->Release();
}

TEST(KwICODecoder, ThirtyTwoBitPixelsKeepTheirAlpha)
{
    IconImage image = Solid(2, 2, 32, 0);
    // Bottom row stored first.
    image.rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    KwImage* decoded = ImageTest::DecodeWith<KwICODecoder>(BuildIcon({image}));
    ASSERT_NE(nullptr, decoded);
    EXPECT_EQ((Bytes{9, 10, 11, 12, 13, 14, 15, 16, 1, 2, 3, 4, 5, 6, 7, 8}),
              ImageTest::PixelsOf(decoded));
    decoded->Release();
}

TEST(KwICODecoder, ThirtyTwoBitWithoutAlphaTakesTheMask)
{
    IconImage image = Solid(2, 1, 32, 0);
    image.rows = {1, 2, 3, 0, 4, 5, 6, 0};
    image.mask = {0x40, 0, 0, 0};  // the second pixel is masked out
    KwImage* decoded = ImageTest::DecodeWith<KwICODecoder>(BuildIcon({image}));
    ASSERT_NE(nullptr, decoded);
    EXPECT_EQ((Bytes{1, 2, 3, 255, 4, 5, 6, 0}), ImageTest::PixelsOf(decoded));
    decoded->Release();
}

TEST(KwICODecoder, CursorFilesAreRead)
{
    Bytes cursor = BuildIcon({Solid(4, 4, 24, 9)}, 2);
    int opened = 0;
    KwICODecoder* decoder = ImageTest::OpenDecoder<KwICODecoder>(cursor, &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(2, decoder->GetResourceType());
    KwImage* image = decoder->GetImage();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(Bytes(48, 9), ImageTest::PixelsOf(image));
    image->Release();
    decoder->Release();
}

TEST(KwICODecoder, RefusesBadDirectoriesAndTruncatedImages)
{
    Bytes good = BuildIcon({Solid(8, 8, 8, 1), Solid(4, 4, 24, 2)});
    Bytes badType = good;
    badType[2] = 3;
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwICODecoder>(badType));
    Bytes reserved = good;
    reserved[0] = 1;
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwICODecoder>(reserved));
    Bytes none = good;
    none[4] = 0;
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwICODecoder>(none));

    // Cut inside the second image: the main (first, larger) image decodes,
    // but the group fails as a whole.
    Bytes cut(good.begin(), good.end() - 10);
    int opened = 0;
    KwICODecoder* decoder = ImageTest::OpenDecoder<KwICODecoder>(cut, &opened);
    ASSERT_EQ(1, opened);
    EXPECT_EQ(nullptr, decoder->GetImageGroup());
    KwImage* main = decoder->GetImage();
    EXPECT_NE(nullptr, main);
    if (main != nullptr) {
        main->Release();
    }
    decoder->Release();

    // An image offset beyond the end of the file.
    Bytes beyondEnd = good;
    beyondEnd[18] = 0xFF;
    beyondEnd[19] = 0xFF;
    beyondEnd[20] = 0xFF;
    EXPECT_EQ(nullptr, ImageTest::DecodeWith<KwICODecoder>(beyondEnd));
}
