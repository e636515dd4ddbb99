// Text in a component buffer: measuring, drawing, background modes and the
// disabled style.
#include "GraphicsTestWindow.h"

#include "KwFont.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const unsigned int kBlack = 0x000000;
const unsigned int kBlue = 0x0000FF;

class ComponentGraphicsTextTest : public GraphicsTestWindow {
protected:
    // Counts pixels that differ from the paper inside and outside a box.
    void CountInk(int left, int top, int right, int bottom, int* inside, int* outside)
    {
        std::vector<unsigned int> pixels = Snapshot();
        *inside = 0;
        *outside = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (pixels[static_cast<size_t>(y * kWidth + x)] == kPaper) {
                    continue;
                }
                bool within = x >= left && x < right && y >= top && y < bottom;
                ++*(within ? inside : outside);
            }
        }
    }
};

TEST_F(ComponentGraphicsTextTest, ExtentGrowsWithTheString)
{
    KwSize one = m_pGraphics->GetTextExtent("W");
    KwSize two = m_pGraphics->GetTextExtent("WW");
    KwSize three = m_pGraphics->GetTextExtent("WWW");
    EXPECT_GT(one.GetWidth(), 0);
    EXPECT_GT(one.GetHeight(), 0);
    EXPECT_GT(two.GetWidth(), one.GetWidth());
    EXPECT_GT(three.GetWidth(), two.GetWidth());
    EXPECT_EQ(three.GetHeight(), one.GetHeight());
    EXPECT_EQ(m_pGraphics->GetTextExtent("").GetWidth(), 0);
}

TEST_F(ComponentGraphicsTextTest, ExtentFollowsTheFont)
{
    KwFont* small = MakeFont("Tahoma", 8);
    KwFont* large = MakeFont("Tahoma", 24);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    m_pGraphics->SetFont(small);
    KwSize smallExtent = m_pGraphics->GetTextExtent("Setup");
    m_pGraphics->SetFont(large);
    KwSize largeExtent = m_pGraphics->GetTextExtent("Setup");
    EXPECT_GT(largeExtent.GetHeight(), smallExtent.GetHeight());
    EXPECT_GT(largeExtent.GetWidth(), smallExtent.GetWidth());
    small->Release();
    large->Release();
}

TEST_F(ComponentGraphicsTextTest, StringInkStaysInsideTheMeasuredBox)
{
    m_pGraphics->SetTransparentText(1);
    SetDrawingColor(kBlack);
    KwSize extent = m_pGraphics->GetTextExtent("Wg");
    m_pGraphics->DrawString("Wg", 6, 5);
    int inside = 0;
    int outside = 0;
    CountInk(6, 5, 6 + extent.GetWidth(), 5 + extent.GetHeight(), &inside, &outside);
    EXPECT_GT(inside, 5);
    EXPECT_EQ(outside, 0);
}

TEST_F(ComponentGraphicsTextTest, StringIsDrawnInTheDrawingColour)
{
    m_pGraphics->SetTransparentText(1);
    SetDrawingColor(kBlue);
    m_pGraphics->DrawString("M", 4, 4);
    std::vector<unsigned int> pixels = Snapshot();
    int blue = 0;
    for (unsigned int pixel : pixels) {
        blue += pixel == kBlue ? 1 : 0;
    }
    EXPECT_GT(blue, 3);
}

TEST_F(ComponentGraphicsTextTest, OpaqueTextFillsItsBoxWithTheBackColour)
{
    m_pGraphics->SetBackColor(Rgb(0x00FF00));
    SetDrawingColor(kBlack);
    KwSize extent = m_pGraphics->GetTextExtent("i");
    m_pGraphics->SetTransparentText(0);
    m_pGraphics->DrawString("i", 0, 0);
    EXPECT_EQ(Pixel(extent.GetWidth() - 1, extent.GetHeight() - 1), 0x00FF00u);
    EXPECT_EQ(Pixel(extent.GetWidth(), 0), kPaper);

    m_pGraphics->SetTransparentText(1);
    m_pGraphics->DrawString("i", 30, 0);
    EXPECT_EQ(Pixel(30 + extent.GetWidth() - 1, extent.GetHeight() - 1), kPaper);
}

TEST_F(ComponentGraphicsTextTest, TextInRectHonoursTheFormatFlags)
{
    m_pGraphics->SetTransparentText(1);
    SetDrawingColor(kBlack);
    KwSize extent = m_pGraphics->GetTextExtent("Hi");
    // Right-aligned in (0, 0)-(60, 20): the ink sits at the right end.
    m_pGraphics->DrawTextInRect("Hi", KwRect(0, 0, 60, 20), DT_RIGHT | DT_SINGLELINE);
    int inside = 0;
    int outside = 0;
    CountInk(60 - extent.GetWidth(), 0, 60, extent.GetHeight(), &inside, &outside);
    EXPECT_GT(inside, 3);
    EXPECT_EQ(outside, 0);
}

// Asking for an ellipsis would let the system write into the caller's text.
TEST_F(ComponentGraphicsTextTest, TextInRectNeverChangesTheCallersText)
{
    KwString text("A rather long line of text");
    m_pGraphics->DrawTextInRect(text, KwRect(0, 0, 30, 20),
                                DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE);
    EXPECT_EQ(text, "A rather long line of text");
}

TEST_F(ComponentGraphicsTextTest, DisabledStringIsDrawnNearItsOrigin)
{
    KwSize extent = m_pGraphics->GetTextExtent("&Next");
    m_pGraphics->DrawDisabledString("&Next", 10, 10);
    int inside = 0;
    int outside = 0;
    // The embossed copy sits one pixel lower and to the right.
    CountInk(10, 10, 11 + extent.GetWidth(), 11 + extent.GetHeight(), &inside, &outside);
    EXPECT_GT(inside, 5);
    EXPECT_EQ(outside, 0);
}

TEST_F(ComponentGraphicsTextTest, FontHeightOfTheBufferContext)
{
    EXPECT_GT(m_pGraphics->GetFontHeight(), 0);
}

} // namespace
