// Drawing on images: the surface loads the pixels, and what is drawn comes
// back from GetPixels and GetRegion in the image's own format.
#include "GraphicsTestWindow.h"

#include "IKwGraphics.h"
#include "ImplKwImageGraphics.h"
#include "KwImage.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

class ImplKwImageGraphicsTest : public ::testing::Test {
protected:
    void SetUp() override { ImplKwImageGraphics::InstallHooks(); }

    void TearDown() override
    {
        for (KwImage* image : m_images) {
            image->Release();
        }
    }

    // A width x height picture filled with one pixel's bytes.
    KwImage* MakeFilled(int format, int width, int height, std::vector<unsigned char> pixel)
    {
        std::vector<unsigned char> bytes;
        for (int i = 0; i < width * height; ++i) {
            bytes.insert(bytes.end(), pixel.begin(), pixel.end());
        }
        KwImage* image = new KwImage(format, bytes.data(), static_cast<int>(bytes.size()), 0, 0,
                                     width, height, 0);
        image->AddRef();
        m_images.push_back(image);
        return image;
    }

    // The bytes of pixel (x, y) as GetPixels hands them out.
    static std::vector<unsigned char> PixelBytes(KwImage* image, int x, int y)
    {
        int bytes = image->GetFormat() == 1003 || image->GetFormat() == 1005 ? 3 : 4;
        KwBuffer* pixels = image->GetPixels();
        const unsigned char* at = pixels->GetPointer((y * image->GetWidth() + x) * bytes);
        std::vector<unsigned char> result(at, at + bytes);
        pixels->Release();
        return result;
    }

    static void Paint(IKwGraphics* graphics, unsigned int rgb, int x, int y, int w, int h)
    {
        KwColor* color = graphics->GetColor();
        KwColor* fill = graphics->GetFillColor();
        color->SetARGB(rgb);
        fill->SetARGB(rgb);
        graphics->FillRectangle(x, y, w, h);
        color->Release();
        fill->Release();
    }

    std::vector<KwImage*> m_images;
};

TEST_F(ImplKwImageGraphicsTest, TheSurfaceIsMadeOnceAndKeptByTheImage)
{
    KwImage* image = MakeFilled(1003, 4, 3, {1, 2, 3});
    IKwGraphics* graphics = image->GetGraphics();
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(image->GetGraphics(), graphics);
}

TEST_F(ImplKwImageGraphicsTest, RgbImageGetsTheDrawnPixelsInItsOwnOrder)
{
    KwImage* image = MakeFilled(1003, 5, 3, {0x11, 0x22, 0x33});
    Paint(image->GetGraphics(), 0xA0B0C0, 1, 1, 2, 1);
    EXPECT_EQ(PixelBytes(image, 1, 1), (std::vector<unsigned char>{0xA0, 0xB0, 0xC0}));
    EXPECT_EQ(PixelBytes(image, 2, 1), (std::vector<unsigned char>{0xA0, 0xB0, 0xC0}));
    EXPECT_EQ(PixelBytes(image, 3, 1), (std::vector<unsigned char>{0x11, 0x22, 0x33}));
    EXPECT_EQ(PixelBytes(image, 0, 0), (std::vector<unsigned char>{0x11, 0x22, 0x33}));
    EXPECT_EQ(PixelBytes(image, 4, 2), (std::vector<unsigned char>{0x11, 0x22, 0x33}));
}

TEST_F(ImplKwImageGraphicsTest, BgraImageGetsOpaqueDrawnPixelsAndKeepsOtherAlpha)
{
    KwImage* image = MakeFilled(1007, 3, 3, {0x33, 0x22, 0x11, 0x40});
    Paint(image->GetGraphics(), 0xA0B0C0, 0, 0, 2, 2);
    EXPECT_EQ(PixelBytes(image, 0, 0), (std::vector<unsigned char>{0xC0, 0xB0, 0xA0, 0xFF}));
    EXPECT_EQ(PixelBytes(image, 1, 1), (std::vector<unsigned char>{0xC0, 0xB0, 0xA0, 0xFF}));
    EXPECT_EQ(PixelBytes(image, 2, 0), (std::vector<unsigned char>{0x33, 0x22, 0x11, 0x40}));
    EXPECT_EQ(PixelBytes(image, 2, 2), (std::vector<unsigned char>{0x33, 0x22, 0x11, 0x40}));
}

TEST_F(ImplKwImageGraphicsTest, ArgbAndBgrImagesRoundTrip)
{
    KwImage* argb = MakeFilled(1004, 3, 3, {0x00, 0x11, 0x22, 0x33});
    Paint(argb->GetGraphics(), 0x405060, 1, 1, 2, 2);
    EXPECT_EQ(PixelBytes(argb, 2, 2), (std::vector<unsigned char>{0xFF, 0x40, 0x50, 0x60}));
    EXPECT_EQ(PixelBytes(argb, 0, 0), (std::vector<unsigned char>{0x00, 0x11, 0x22, 0x33}));
    EXPECT_EQ(PixelBytes(argb, 2, 0), (std::vector<unsigned char>{0x00, 0x11, 0x22, 0x33}));

    KwImage* bgr = MakeFilled(1005, 3, 3, {0x33, 0x22, 0x11});
    Paint(bgr->GetGraphics(), 0x405060, 0, 1, 2, 2);
    EXPECT_EQ(PixelBytes(bgr, 1, 2), (std::vector<unsigned char>{0x60, 0x50, 0x40}));
    EXPECT_EQ(PixelBytes(bgr, 2, 0), (std::vector<unsigned char>{0x33, 0x22, 0x11}));
}

TEST_F(ImplKwImageGraphicsTest, RegionsSeeTheDrawnPixels)
{
    KwImage* image = MakeFilled(1003, 4, 4, {0, 0, 0});
    IKwGraphics* graphics = image->GetGraphics();
    KwColor red(0xFF, 0, 0);
    graphics->PutPixel(2, 3, red);
    KwBuffer* region = image->GetRegion(2, 3, 4, 4);
    ASSERT_NE(region, nullptr);
    ASSERT_EQ(region->GetSize(), 6);
    const unsigned char* bytes = region->GetPointer(0);
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 6),
              (std::vector<unsigned char>{0xFF, 0, 0, 0, 0, 0}));
    region->Release();
}

// Without drawing, the pixel buffer is never overwritten from the surface.
TEST_F(ImplKwImageGraphicsTest, NothingIsWrittenBackUntilSomethingIsDrawn)
{
    KwImage* image = MakeFilled(1005, 2, 2, {1, 2, 3});
    IKwGraphics* graphics = image->GetGraphics();
    ASSERT_NE(graphics, nullptr);
    KwBuffer* pixels = image->GetPixels();
    pixels->GetPointer(0)[0] = 9;
    pixels->Release();
    EXPECT_EQ(PixelBytes(image, 0, 0), (std::vector<unsigned char>{9, 2, 3}));

    graphics->PutPixel(1, 1, KwColor(7, 8, 9));
    EXPECT_EQ(PixelBytes(image, 1, 1), (std::vector<unsigned char>{9, 8, 7}));
    // Written back once; the next change to the buffer stays.
    pixels = image->GetPixels();
    pixels->GetPointer(3)[0] = 5;
    pixels->Release();
    EXPECT_EQ(PixelBytes(image, 1, 0), (std::vector<unsigned char>{5, 2, 3}));
}

TEST_F(ImplKwImageGraphicsTest, NewPixelsReloadTheSurface)
{
    KwImage* image = MakeFilled(1003, 2, 1, {1, 1, 1});
    IKwGraphics* graphics = image->GetGraphics();
    const unsigned char fresh[] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    ASSERT_EQ(image->SetPixels(1003, fresh, sizeof fresh), 1);
    EXPECT_EQ(image->GetGraphics(), graphics);
    graphics->PutPixel(0, 0, KwColor(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(PixelBytes(image, 0, 0), (std::vector<unsigned char>{0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(PixelBytes(image, 1, 0), (std::vector<unsigned char>{0x40, 0x50, 0x60}));
}

TEST_F(ImplKwImageGraphicsTest, ClearFillsTheWholeImageWithTheBackColour)
{
    KwImage* image = MakeFilled(1003, 3, 3, {1, 2, 3});
    IKwGraphics* graphics = image->GetGraphics();
    KwColor* back = graphics->GetBackColor();
    back->SetARGB(0x00102030);
    back->Release();
    graphics->Clear();
    EXPECT_EQ(PixelBytes(image, 0, 0), (std::vector<unsigned char>{0x10, 0x20, 0x30}));
    EXPECT_EQ(PixelBytes(image, 2, 2), (std::vector<unsigned char>{0x10, 0x20, 0x30}));
}

TEST_F(ImplKwImageGraphicsTest, OnlyDrawableFormatsGetASurface)
{
    EXPECT_EQ(MakeFilled(1011, 2, 2, {7})->GetGraphics(), nullptr);
    EXPECT_EQ(MakeFilled(1027, 2, 2, {1, 2, 3, 4})->GetGraphics(), nullptr);
    // Fewer pixels than the picture's size.
    KwImage* shortImage = MakeFilled(1003, 2, 1, {1, 2, 3});
    shortImage->SetHeight(5);
    EXPECT_EQ(shortImage->GetGraphics(), nullptr);
    KwImage* empty = new KwImage();
    EXPECT_EQ(empty->GetGraphics(), nullptr);
    delete empty;
}

TEST_F(ImplKwImageGraphicsTest, ImageTurnedUndrawableDropsItsSurface)
{
    KwImage* image = MakeFilled(1003, 2, 2, {1, 2, 3});
    IKwGraphics* graphics = image->GetGraphics();
    ASSERT_NE(graphics, nullptr);
    const unsigned char grey[] = {1, 2, 3, 4};
    ASSERT_EQ(image->SetPixels(1011, grey, sizeof grey), 1);
    graphics->PutPixel(0, 0, KwColor(0xFF, 0, 0));
    KwBuffer* pixels = image->GetPixels();
    EXPECT_EQ(pixels->GetPointer(0)[0], 1);
    EXPECT_EQ(pixels->GetSize(), 4);
    pixels->Release();
}

// A component buffer reads an image through GetRegion, which brings the
// image's pixels up to date with what was drawn on it.
class ImageOnComponentTest : public GraphicsTestWindow {};

TEST_F(ImageOnComponentTest, DrawingAnImageShowsWhatWasDrawnOnIt)
{
    KwImage* image = new KwImage(1003, std::vector<unsigned char>(12, 0xFF).data(), 12, 0, 0, 2,
                                 2, 0);
    image->AddRef();
    IKwGraphics* surface = image->GetGraphics();
    ASSERT_NE(surface, nullptr);
    surface->PutPixel(1, 0, KwColor(0, 0, 0xFF));
    EXPECT_EQ(m_pGraphics->DrawImage(image, 10, 10), 1);
    ExpectPixels({{10, 10, 0xFFFFFF}, {11, 10, 0x0000FF}, {11, 11, 0xFFFFFF}});
    image->Release();
}

} // namespace
