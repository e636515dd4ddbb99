// Tests of the image model: constructors, region extraction, buffer
// ownership, the surface hooks and the picture size limit.
#include "KwImage.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using ImageTest::Bytes;

namespace {

// A 4 x 3 picture of 3-byte pixels whose bytes are (row, column, channel).
KwImage* MakeGrid(int format)
{
    Bytes bytes;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            for (int c = 0; c < 3; ++c) {
                bytes.push_back(static_cast<unsigned char>(y * 100 + x * 10 + c));
            }
        }
    }
    KwImage* image = new KwImage(format, bytes.data(), static_cast<int>(bytes.size()), 0, 0, 4, 3, 0);
    image->AddRef();
    return image;
}

Bytes RegionOf(KwImage* image, int left, int top, int right, int bottom)
{
    Bytes out;
    KwBuffer* region = image->GetRegion(left, top, right, bottom);
    if (region != nullptr) {
        out.assign(region->GetPointer(0), region->GetPointer(0) + region->GetSize());
        region->Release();
    }
    return out;
}

} // namespace

TEST(KwImage, EmptyImageHasNoPixelsAndFormatZero)
{
    KwImage image;
    EXPECT_EQ(0, image.GetFormat());
    EXPECT_EQ(nullptr, image.GetPixels());
    EXPECT_EQ(nullptr, image.GetPalette());
    EXPECT_EQ(nullptr, image.GetRegion(0, 0, 10, 10));
    EXPECT_STREQ("KwObject.KwImage", image.GetTypeName());
}

TEST(KwImage, ConstructorsCopyOrHoldThePixels)
{
    unsigned char bytes[6] = {1, 2, 3, 4, 5, 6};
    KwImage copied(KW_FORMAT_BGR, bytes, 6, 7, 8, 2, 1, 90);
    bytes[0] = 99;
    EXPECT_EQ(1, ImageTest::PixelsOf(&copied)[0]);
    EXPECT_EQ(7, copied.GetX());
    EXPECT_EQ(8, copied.GetY());
    EXPECT_EQ(90, copied.GetDelay());

    KwBuffer* buffer = new KwBuffer(6);
    buffer->AddRef();
    {
        KwImage held(KW_FORMAT_BGR, buffer, 0, 0, 2, 1, 0);
        KwBuffer* same = held.GetPixels();
        EXPECT_EQ(buffer, same);
        same->Release();
        EXPECT_EQ(3, buffer->AddRef());
        buffer->Release();
    }
    // The image released its reference when it went away.
    EXPECT_EQ(2, buffer->AddRef());
    buffer->Release();
    buffer->Release();
}

TEST(KwImage, GetRegionClampsToThePicture)
{
    KwImage* image = MakeGrid(KW_FORMAT_RGB);
    // left -5 becomes 0, right 50 becomes the width, bottom 2 keeps rows 0-1.
    Bytes region = RegionOf(image, -5, -1, 50, 2);
    ASSERT_EQ(static_cast<size_t>(4 * 2 * 3), region.size());
    EXPECT_EQ(0, region[0]);
    EXPECT_EQ(130, region[(1 * 4 + 3) * 3]);  // row 1, column 3, channel 0
    Bytes inner = RegionOf(image, 1, 1, 3, 3);
    ASSERT_EQ(static_cast<size_t>(2 * 2 * 3), inner.size());
    EXPECT_EQ((Bytes{110, 111, 112, 120, 121, 122, 210, 211, 212, 220, 221, 222}), inner);
    image->Release();
}

TEST(KwImage, GetRegionAnswersNullForEmptyRectanglesAndUnknownFormats)
{
    KwImage* image = MakeGrid(KW_FORMAT_RGB);
    EXPECT_TRUE(RegionOf(image, 2, 0, 2, 3).empty());
    EXPECT_TRUE(RegionOf(image, 0, 2, 4, 1).empty());
    EXPECT_TRUE(RegionOf(image, 10, 0, 20, 3).empty());
    image->Release();
    // Outside 1001-1011, and codes inside it without a pixel size.
    for (int format : {1000, 1012, 1027, 1001, 1002, 1009, 1010}) {
        KwImage* other = MakeGrid(format);
        EXPECT_TRUE(RegionOf(other, 0, 0, 4, 3).empty()) << format;
        other->Release();
    }
}

TEST(KwImage, GetRegionRefusesPixelsShorterThanThePicture)
{
    unsigned char bytes[9] = {0};
    // Claims 4 x 3 pixels of 3 bytes but holds only 9 bytes.
    KwImage image(KW_FORMAT_BGR, bytes, 9, 0, 0, 4, 3, 0);
    EXPECT_EQ(nullptr, image.GetRegion(0, 0, 4, 3));
    image.SetWidth(3);
    image.SetHeight(1);
    KwBuffer* region = image.GetRegion(0, 0, 4, 3);
    ASSERT_NE(nullptr, region);
    EXPECT_EQ(9, region->GetSize());
    region->Release();
}

TEST(KwImage, OneBytePixelFormatsGiveRegions)
{
    unsigned char grey[6] = {1, 2, 3, 4, 5, 6};
    KwImage image(KW_FORMAT_GRAY, grey, 6, 0, 0, 3, 2, 0);
    KwBuffer* region = image.GetRegion(1, 0, 3, 2);
    ASSERT_NE(nullptr, region);
    ASSERT_EQ(4, region->GetSize());
    EXPECT_EQ(2, *region->GetPointer(0));
    EXPECT_EQ(6, *region->GetPointer(3));
    region->Release();
}

TEST(KwImage, SetAndAttachReplaceBuffers)
{
    KwImage image;
    unsigned char bytes[4] = {9, 8, 7, 6};
    EXPECT_EQ(0, image.SetPixels(KW_FORMAT_BGRA, nullptr, 4));
    EXPECT_EQ(0, image.SetPixels(KW_FORMAT_BGRA, bytes, 0));
    EXPECT_EQ(1, image.SetPixels(KW_FORMAT_BGRA, bytes, 4));
    EXPECT_EQ(KW_FORMAT_BGRA, image.GetFormat());
    EXPECT_EQ((Bytes{9, 8, 7, 6}), ImageTest::PixelsOf(&image));

    KwBuffer* other = new KwBuffer(3);
    other->AddRef();
    EXPECT_EQ(1, image.AttachPixels(KW_FORMAT_RGB, other));
    EXPECT_EQ(KW_FORMAT_RGB, image.GetFormat());
    EXPECT_EQ(3, other->AddRef());
    other->Release();
    EXPECT_EQ(1, image.AttachPixels(KW_FORMAT_RGB, nullptr));
    EXPECT_EQ(2, other->AddRef());
    other->Release();
    other->Release();

    EXPECT_EQ(1, image.SetPalette(bytes, 4));
    KwBuffer* palette = image.GetPalette();
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ(4, palette->GetSize());
    palette->Release();
    image.AttachPalette(nullptr);
    EXPECT_EQ(nullptr, image.GetPalette());
}

TEST(KwImage, TransparentColorAndResolution)
{
    KwImage image;
    unsigned int argb = 7;
    EXPECT_EQ(0, image.GetTransparentColor(&argb));
    EXPECT_EQ(7u, argb);
    image.SetTransparentColor(0x00FF00FFu);
    EXPECT_EQ(1, image.GetTransparentColor(&argb));
    EXPECT_EQ(0x00FF00FFu, argb);
    EXPECT_EQ(0x0000000200000001ull, image.SetResolution(1, 2));
    EXPECT_EQ(0x0000000200000001ull, image.GetResolution());
}

namespace {

struct HookLog {
    int created = 0;
    int reloaded = 0;
    int writtenBack = 0;
    int released = 0;
};
HookLog g_log;

IKwGraphics* FakeCreate(KwImage* image)
{
    ++g_log.created;
    // The hooks may read the image's pixels without calling back into them.
    KwBuffer* pixels = image->GetPixels();
    if (pixels != nullptr) {
        pixels->Release();
    }
    return reinterpret_cast<IKwGraphics*>(&g_log);
}
void FakeReload(IKwGraphics*, KwImage*) { ++g_log.reloaded; }
void FakeWriteBack(IKwGraphics*, KwImage* image)
{
    ++g_log.writtenBack;
    KwBuffer* pixels = image->GetPixels();
    if (pixels != nullptr) {
        *pixels->GetPointer(0) = 42;
        pixels->Release();
    }
}
void FakeRelease(IKwGraphics*) { ++g_log.released; }

const KWIMAGEGRAPHICSHOOKS kFakeHooks = {FakeCreate, FakeReload, FakeWriteBack, FakeRelease};

} // namespace

TEST(KwImage, SurfaceHooksLoadWriteBackAndRelease)
{
    g_log = HookLog();
    {
        KwImage image;
        EXPECT_EQ(nullptr, image.GetGraphics());
        KwImage::SetGraphicsHooks(&kFakeHooks);
        unsigned char bytes[3] = {1, 2, 3};
        image.SetPixels(KW_FORMAT_BGR, bytes, 3);
        image.SetWidth(1);
        image.SetHeight(1);
        IKwGraphics* graphics = image.GetGraphics();
        EXPECT_NE(nullptr, graphics);
        EXPECT_EQ(graphics, image.GetGraphics());
        EXPECT_EQ(1, g_log.created);
        // Reading the pixels first brings the surface's drawing back.
        EXPECT_EQ(42, ImageTest::PixelsOf(&image)[0]);
        KwBuffer* region = image.GetRegion(0, 0, 1, 1);
        ASSERT_NE(nullptr, region);
        region->Release();
        EXPECT_EQ(2, g_log.writtenBack);
        image.SetPixels(KW_FORMAT_BGR, bytes, 3);
        image.AttachPixels(KW_FORMAT_BGR, nullptr);
        EXPECT_EQ(2, g_log.reloaded);
        KwImage::SetGraphicsHooks(nullptr);
    }
    EXPECT_EQ(1, g_log.released);
}

TEST(KwImageFormat, ByteCountRefusesAbsurdPictures)
{
    int bytes = -1;
    EXPECT_EQ(1, KwImageByteCount(3, 2, 4, &bytes));
    EXPECT_EQ(24, bytes);
    EXPECT_EQ(0, KwImageByteCount(0, 5, 3, &bytes));
    EXPECT_EQ(0, bytes);
    EXPECT_EQ(0, KwImageByteCount(5, -1, 3, &bytes));
    EXPECT_EQ(0, KwImageByteCount(KW_IMAGE_MAX_SIDE + 1, 1, 1, &bytes));
    EXPECT_EQ(0, KwImageByteCount(65535, 65535, 4, &bytes));
    EXPECT_EQ(0, KwImageByteCount(0x7FFFFFFFLL, 0x7FFFFFFFLL, 4, &bytes));
    EXPECT_EQ(1, KwImageByteCount(11585, 11585, 4, &bytes));
    EXPECT_EQ(0, KwImageByteCount(11586, 11586, 4, &bytes));
    EXPECT_EQ(3, KwBytesPerPixel(KW_FORMAT_RGB));
    EXPECT_EQ(4, KwBytesPerPixel(KW_FORMAT_SAMPLES4));
    EXPECT_EQ(1, KwBytesPerPixel(KW_FORMAT_BILEVEL));
    EXPECT_EQ(0, KwBytesPerPixel(1001));
}
