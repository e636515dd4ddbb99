// Drawing images into a component buffer: pixel formats, row alignment,
// source clipping, stretching and colour-keyed transfer.
#include "GraphicsTestWindow.h"

#include "KwImage.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const unsigned int kGreen = 0x00FF00;

class ComponentGraphicsImageTest : public GraphicsTestWindow {
protected:
    void TearDown() override
    {
        for (KwImage* image : m_images) {
            image->Release();
        }
        GraphicsTestWindow::TearDown();
    }

    KwImage* MakeImage(int format, int width, int height, const std::vector<unsigned char>& bytes)
    {
        KwImage* image = new KwImage(format, bytes.data(), static_cast<int>(bytes.size()), 0, 0,
                                     width, height, 0);
        image->AddRef();
        m_images.push_back(image);
        return image;
    }

    // A 3 x 2 picture whose pixels are (3 x + y + 1) * (0x10, 0x05, 0x01) as
    // red, green, blue, laid out in the given format. Three 3-byte pixels make
    // rows that need padding in a device-independent bitmap.
    KwImage* MakeRamp(int format)
    {
        std::vector<unsigned char> bytes;
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                unsigned char n = static_cast<unsigned char>(3 * x + y + 1);
                unsigned char red = static_cast<unsigned char>(n * 0x10);
                unsigned char green = static_cast<unsigned char>(n * 0x05);
                unsigned char blue = n;
                if (format == 1003) {
                    bytes.insert(bytes.end(), {red, green, blue});
                } else if (format == 1005) {
                    bytes.insert(bytes.end(), {blue, green, red});
                } else if (format == 1004) {
                    bytes.insert(bytes.end(), {0x00, red, green, blue});
                } else {
                    bytes.insert(bytes.end(), {blue, green, red, 0x00});
                }
            }
        }
        return MakeImage(format, 3, 2, bytes);
    }

    static unsigned int RampColor(int x, int y)
    {
        unsigned int n = static_cast<unsigned int>(3 * x + y + 1);
        return (n * 0x10) << 16 | (n * 0x05) << 8 | n;
    }

    void ExpectRampAt(int left, int top)
    {
        std::vector<unsigned int> pixels = Snapshot();
        ASSERT_FALSE(pixels.empty());
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(pixels[static_cast<size_t>((top + y) * kWidth + left + x)], RampColor(x, y))
                    << "source pixel (" << x << ", " << y << ")";
            }
        }
        EXPECT_EQ(pixels[static_cast<size_t>(top * kWidth + left + 3)], kPaper);
        EXPECT_EQ(pixels[static_cast<size_t>((top + 2) * kWidth + left)], kPaper);
    }

    std::vector<KwImage*> m_images;
};

TEST_F(ComponentGraphicsImageTest, RgbPixelsAreReversedIntoPlace)
{
    EXPECT_EQ(m_pGraphics->DrawImage(MakeRamp(1003), 5, 7), 1);
    ExpectRampAt(5, 7);
}

TEST_F(ComponentGraphicsImageTest, BgrPixelsAreCopied)
{
    EXPECT_EQ(m_pGraphics->DrawImage(MakeRamp(1005), 5, 7), 1);
    ExpectRampAt(5, 7);
}

// Alpha 0 in the source must neither blacken nor hide the pixels.
TEST_F(ComponentGraphicsImageTest, FourBytePixelsDropTheirAlpha)
{
    EXPECT_EQ(m_pGraphics->DrawImage(MakeRamp(1004), 5, 7), 1);
    ExpectRampAt(5, 7);
    EXPECT_EQ(m_pGraphics->DrawImage(MakeRamp(1007), 20, 20), 1);
    ExpectRampAt(20, 20);
}

TEST_F(ComponentGraphicsImageTest, StretchingRepeatsEveryPixel)
{
    KwImage* image = MakeRamp(1003);
    EXPECT_EQ(m_pGraphics->DrawImage(image, 10, 10, 6, 4), 1);
    std::vector<unsigned int> pixels = Snapshot();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(pixels[static_cast<size_t>((10 + y) * kWidth + 10 + x)], RampColor(x / 2, y / 2))
                << "at (" << x << ", " << y << ")";
        }
    }
    EXPECT_EQ(pixels[static_cast<size_t>(10 * kWidth + 16)], kPaper);
}

// Columns 1 to 2 of the picture (the request reaches past its right edge)
// stretched over 4 columns.
TEST_F(ComponentGraphicsImageTest, SourceBeyondTheImageIsClippedThenStretched)
{
    KwImage* image = MakeRamp(1005);
    EXPECT_EQ(m_pGraphics->DrawImage(image, 1, 0, 10, 2, 10, 10, 4, 2), 1);
    ExpectPixels({{10, 10, RampColor(1, 0)}, {11, 10, RampColor(1, 0)}, {12, 10, RampColor(2, 0)},
                  {13, 10, RampColor(2, 0)}, {10, 11, RampColor(1, 1)}, {13, 11, RampColor(2, 1)},
                  {14, 10, kPaper}, {10, 12, kPaper}});
}

TEST_F(ComponentGraphicsImageTest, RefusesWhatCannotBeDrawn)
{
    std::vector<unsigned int> before = Snapshot();
    KwImage* image = MakeRamp(1003);
    EXPECT_EQ(m_pGraphics->DrawImage(nullptr, 0, 0), 0);
    EXPECT_EQ(m_pGraphics->DrawImage(image, -1, 0, 2, 2, 0, 0, 2, 2), 0);
    EXPECT_EQ(m_pGraphics->DrawImage(image, 3, 0, 2, 2, 0, 0, 2, 2), 0);
    EXPECT_EQ(m_pGraphics->DrawImage(image, 0, 0, 0, 2, 0, 0, 2, 2), 0);
    KwImage* grey = MakeImage(1011, 2, 2, {1, 2, 3, 4});
    EXPECT_EQ(m_pGraphics->DrawImage(grey, 0, 0), 0);
    EXPECT_EQ(m_pGraphics->DrawImageTransparent(grey, 0, 0, 2, 2, 0, 0, 2, 2, KwColor()), 0);
    KwImage* empty = MakeImage(1003, 4, 4, {});
    EXPECT_EQ(m_pGraphics->DrawImage(empty, 0, 0), 0);
    // Fewer pixels than the size claims: nothing is read past them.
    KwImage* shortRows = MakeImage(1003, 4, 4, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(m_pGraphics->DrawImage(shortRows, 0, 0), 0);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ComponentGraphicsImageTest, TransparentDrawingLeavesKeyColouredPixelsAlone)
{
    m_pGraphics->SetBackColor(Rgb(kGreen));
    m_pGraphics->Clear();
    // R, G, B: key magenta, then dark blue, then magenta again.
    KwImage* image = MakeImage(1003, 3, 1, {0xFF, 0x00, 0xFF, 0x00, 0x00, 0x80, 0xFF, 0x00, 0xFF});
    // The key's alpha byte plays no part in the match.
    KwColor key(0xFF, 0x00, 0xFF, 0xFF);
    EXPECT_EQ(m_pGraphics->DrawImageTransparent(image, 0, 0, 3, 1, 4, 4, 3, 1, key), 1);
    ExpectPixels({{4, 4, kGreen}, {5, 4, 0x000080}, {6, 4, kGreen}, {7, 4, kGreen}});
}

TEST_F(ComponentGraphicsImageTest, TransparentDrawingStretchesAndClips)
{
    KwImage* image = MakeRamp(1007);
    KwColor key(0x20, 0x0A, 0x02); // pixel (0, 1)
    EXPECT_EQ(m_pGraphics->DrawImageTransparent(image, 0, 0, 5, 2, 10, 10, 6, 4, key), 1);
    ExpectPixels({{10, 10, RampColor(0, 0)}, {11, 11, RampColor(0, 0)}, {15, 10, RampColor(2, 0)},
                  {10, 12, kPaper}, {11, 13, kPaper}, {12, 12, RampColor(1, 1)},
                  {16, 10, kPaper}});
    EXPECT_EQ(m_pGraphics->DrawImageTransparent(nullptr, 0, 0, 1, 1, 0, 0, 1, 1, key), 0);
}

} // namespace
