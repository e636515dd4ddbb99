// Drawing into a component buffer on a real window, checked pixel by pixel
// after reading the buffer back.
#include "GraphicsTestWindow.h"

#include "KwFont.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const unsigned int kBlack = 0x000000;
const unsigned int kRed = 0xFF0000;
const unsigned int kGreen = 0x00FF00;
const unsigned int kBlue = 0x0000FF;
const unsigned int kWhite = 0xFFFFFF;

class ComponentGraphicsTest : public GraphicsTestWindow {};

TEST_F(ComponentGraphicsTest, ReadsTheBufferBackTopRowFirst)
{
    m_pGraphics->PutPixel(0, 0, Rgb(kRed));
    m_pGraphics->PutPixel(kWidth - 1, kHeight - 1, Rgb(kBlue));
    m_pGraphics->PutPixel(3, 1, Rgb(0x123456));
    ExpectPixels({{0, 0, kRed}, {kWidth - 1, kHeight - 1, kBlue}, {3, 1, 0x123456}, {1, 0, kPaper}});
}

TEST_F(ComponentGraphicsTest, WithoutBufferNothingIsDrawnOrRead)
{
    ComponentGraphics* bare = new ComponentGraphics();
    bare->AddRef();
    bare->SetWindow(m_hWindow);
    bare->FillRectangle(0, 0, 10, 10);
    bare->Clear();
    KwBuffer buffer;
    int width = -1;
    int height = -1;
    EXPECT_EQ(bare->CopyToBuffer(&buffer, &width, &height), 0);
    EXPECT_EQ(width, -1);
    EXPECT_EQ(bare->DrawArc(0, 0, 5, 5, 0, 0, 0, 0), 0);
    EXPECT_EQ(bare->GetFontHeight(), -1);
    EXPECT_EQ(bare->GetTextExtent("abc").GetWidth(), 0);
    bare->Release();
}

TEST_F(ComponentGraphicsTest, FailedRebuildLeavesNoBuffer)
{
    EXPECT_EQ(m_pGraphics->Rebuild(nullptr, kWidth, kHeight), 0);
    KwBuffer buffer;
    EXPECT_EQ(m_pGraphics->CopyToBuffer(&buffer, nullptr, nullptr), 0);
    HDC context = GetDC(m_hWindow);
    EXPECT_EQ(m_pGraphics->Rebuild(context, 8, 6), 1);
    ReleaseDC(m_hWindow, context);
    int width = 0;
    int height = 0;
    EXPECT_EQ(m_pGraphics->CopyToBuffer(&buffer, &width, &height), 1);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 6);
    EXPECT_EQ(buffer.GetSize(), 8 * 6 * 3);
}

TEST_F(ComponentGraphicsTest, ClearNeedsTheWindow)
{
    m_pGraphics->SetWindow(nullptr);
    m_pGraphics->SetBackColor(Rgb(kBlue));
    m_pGraphics->Clear();
    m_pGraphics->ClearRect(KwRect(0, 0, 5, 5));
    EXPECT_EQ(m_pGraphics->GetFontHeight(), -1);
    EXPECT_EQ(m_pGraphics->GetTextExtent("abc").GetWidth(), 0);
    ExpectPixels({{0, 0, kPaper}, {kWidth - 1, kHeight - 1, kPaper}});
    m_pGraphics->SetWindow(m_hWindow);
    m_pGraphics->Clear();
    ExpectPixels({{0, 0, kBlue}, {kWidth - 1, kHeight - 1, kBlue}});
}

TEST_F(ComponentGraphicsTest, DrawRectIncludesRightAndBottomEdges)
{
    SetDrawingColor(kRed);
    m_pGraphics->DrawRect(10, 10, 5, 4);
    ExpectRun(10, 10, 1, 0, 6, kRed);
    ExpectRun(10, 14, 1, 0, 6, kRed);
    ExpectRun(10, 10, 0, 1, 5, kRed);
    ExpectRun(15, 10, 0, 1, 5, kRed);
    ExpectPixels({{16, 10, kPaper}, {10, 15, kPaper}, {12, 12, kPaper}, {9, 10, kPaper}});
}

TEST_F(ComponentGraphicsTest, FillRectangleExcludesRightAndBottomEdges)
{
    SetDrawingColor(kRed);
    SetFillColor(kGreen);
    m_pGraphics->FillRectangle(10, 10, 5, 4);
    ExpectRun(10, 10, 1, 0, 5, kRed);
    ExpectRun(10, 13, 1, 0, 5, kRed);
    ExpectRun(14, 10, 0, 1, 4, kRed);
    ExpectRun(11, 11, 1, 0, 3, kGreen);
    ExpectRun(11, 12, 1, 0, 3, kGreen);
    ExpectPixels({{15, 10, kPaper}, {10, 14, kPaper}, {15, 14, kPaper}});
}

TEST_F(ComponentGraphicsTest, ClearRectExcludesRightAndBottomEdgesAndDrawsNoOutline)
{
    m_pGraphics->SetBackColor(Rgb(kBlack));
    m_pGraphics->Clear();
    m_pGraphics->SetBackColor(Rgb(kBlue));
    SetDrawingColor(kRed);
    m_pGraphics->ClearRect(KwRect(5, 5, 3, 2));
    ExpectRun(5, 5, 1, 0, 3, kBlue);
    ExpectRun(5, 6, 1, 0, 3, kBlue);
    ExpectPixels({{8, 5, kBlack}, {5, 7, kBlack}, {4, 5, kBlack}, {5, 4, kBlack}});
}

TEST_F(ComponentGraphicsTest, DrawLineExcludesItsEndPointAndWidthZeroDrawsNothing)
{
    SetDrawingColor(kRed);
    m_pGraphics->DrawLine(2, 2, 8, 2, 1);
    ExpectRun(2, 2, 1, 0, 6, kRed);
    ExpectPixels({{8, 2, kPaper}, {1, 2, kPaper}});

    std::vector<unsigned int> before = Snapshot();
    m_pGraphics->DrawLine(2, 10, 30, 10, 0);
    m_pGraphics->DrawLine(2, 10, 30, 10, -3);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ComponentGraphicsTest, WideLineCoversItsWidth)
{
    SetDrawingColor(kBlue);
    m_pGraphics->DrawLine(10, 20, 40, 20, 5);
    ExpectPixels({{25, 18, kBlue}, {25, 20, kBlue}, {25, 22, kBlue}, {25, 25, kPaper}});
}

// Sunken frame of (10, 10, 10, 8): a = 20, b = 18.
TEST_F(ComponentGraphicsTest, SunkenFrameLineByLine)
{
    SetDrawingColor(kRed);
    m_pGraphics->Draw3DFrame(10, 10, 10, 8, 1);
    const unsigned int outer = 0xACA899;
    const unsigned int inner = 0x716F64;
    const unsigned int light = 0xF1EFE2;
    ExpectRun(10, 10, 1, 0, 10, outer);   // top, end (20, 10) excluded
    ExpectRun(10, 11, 0, 1, 7, outer);    // left, down to row 17
    ExpectRun(20, 10, 0, 1, 8, kWhite);   // right, rows 10 to 17
    ExpectRun(20, 18, -1, 0, 10, kWhite); // bottom, columns 20 down to 11
    ExpectRun(11, 11, 1, 0, 8, inner);    // inner top, columns 11 to 18
    ExpectRun(11, 12, 0, 1, 5, inner);    // inner left, rows 12 to 16
    ExpectRun(19, 11, 0, 1, 6, light);    // inner right, rows 11 to 16
    ExpectRun(19, 17, -1, 0, 9, light);   // inner bottom, columns 19 down to 11
    ExpectPixels({{10, 18, kPaper}, {15, 14, kPaper}, {21, 10, kPaper}, {10, 19, kPaper}});

    // The drawing colour is the caller's again afterwards.
    KwColor* color = m_pGraphics->GetColor();
    EXPECT_EQ(color->GetARGB(), 0xFF0000u);
    color->Release();
}

TEST_F(ComponentGraphicsTest, RaisedFrameLineByLine)
{
    m_pGraphics->Draw3DFrame(10, 10, 10, 8, 2);
    const unsigned int grey = 0x7B7B7B;
    ExpectRun(20, 18, 0, -1, 8, kBlack);  // right, rows 18 up to 11
    ExpectRun(20, 18, -1, 0, 10, kBlack); // bottom, columns 20 down to 11
    ExpectRun(19, 17, 0, -1, 7, grey);    // inner right, rows 17 up to 11
    ExpectRun(18, 17, -1, 0, 8, grey);    // inner bottom, columns 18 down to 11
    ExpectRun(10, 10, 0, 1, 8, kWhite);   // left, rows 10 to 17
    ExpectRun(10, 10, 1, 0, 10, kWhite);  // top, columns 10 to 19
    ExpectPixels({{20, 10, kPaper}, {10, 18, kPaper}, {15, 14, kPaper}});
}

TEST_F(ComponentGraphicsTest, EtchedFrameLineByLine)
{
    m_pGraphics->Draw3DFrame(10, 10, 10, 8, 4);
    const unsigned int grey = 0x7F7F7F;
    ExpectRun(10, 10, 1, 0, 9, grey);     // top, columns 10 to 18
    ExpectRun(19, 10, 0, 1, 7, grey);     // right, rows 10 to 16
    ExpectRun(19, 17, -1, 0, 9, grey);    // bottom, columns 19 down to 11
    ExpectRun(10, 17, 0, -1, 7, grey);    // left, rows 17 up to 11
    ExpectRun(11, 11, 1, 0, 7, kWhite);   // inner top, columns 11 to 17
    ExpectRun(20, 10, 0, 1, 8, kWhite);   // outer right, rows 10 to 17
    ExpectRun(20, 18, -1, 0, 10, kWhite); // outer bottom, columns 20 down to 11
    ExpectRun(11, 16, 0, -1, 5, kWhite);  // inner left, rows 16 up to 12
    ExpectPixels({{11, 11, kWhite}, {18, 11, kPaper}, {10, 18, kPaper}, {15, 14, kPaper},
                  {12, 16, kPaper}});
}

TEST_F(ComponentGraphicsTest, UnknownFrameStylesDrawNothing)
{
    std::vector<unsigned int> before = Snapshot();
    for (int style : {0, 3, 5, -1, 8}) {
        m_pGraphics->Draw3DFrame(10, 10, 10, 8, style);
    }
    EXPECT_EQ(Snapshot(), before);
}

// Focus rectangles invert dotted pixels: each of the three rings has changed
// pixels, nothing inside or outside them changes, and drawing them again
// restores the buffer.
TEST_F(ComponentGraphicsTest, FocusFrameOfThicknessThreeDrawsThreeNestedRings)
{
    std::vector<unsigned int> before = Snapshot();
    m_pGraphics->DrawFocusFrame(10, 10, 20, 16, 3);
    std::vector<unsigned int> after = Snapshot();
    auto changed = [&](int x, int y) {
        size_t i = static_cast<size_t>(y * kWidth + x);
        return after[i] != before[i];
    };
    for (int ring = 0; ring < 3; ++ring) {
        int top = 10 + ring;
        int changes = 0;
        for (int x = 10 + ring; x < 30 - ring; ++x) {
            changes += changed(x, top) ? 1 : 0;
        }
        EXPECT_GT(changes, 3) << "ring " << ring;
    }
    for (int x = 0; x < kWidth; ++x) {
        for (int y = 0; y < kHeight; ++y) {
            bool inside = x >= 13 && x < 27 && y >= 13 && y < 23;
            bool outside = x < 10 || x >= 30 || y < 10 || y >= 26;
            if (inside || outside) {
                EXPECT_FALSE(changed(x, y)) << "at (" << x << ", " << y << ")";
            }
        }
    }
    m_pGraphics->DrawFocusFrame(10, 10, 20, 16, 3);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ComponentGraphicsTest, FocusFrameOfThicknessZeroDrawsNothing)
{
    std::vector<unsigned int> before = Snapshot();
    m_pGraphics->DrawFocusFrame(10, 10, 20, 16, 0);
    m_pGraphics->DrawFocusFrame(10, 10, 20, 16, -2);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ComponentGraphicsTest, FilledShapesUseDrawingAndFillColours)
{
    SetDrawingColor(kRed);
    SetFillColor(kGreen);
    m_pGraphics->FillOval(10, 10, 21, 21);
    m_pGraphics->FillRoundRect(40, 10, 20, 20, 8, 8);
    ExpectPixels({{20, 20, kGreen}, {10, 20, kRed}, {20, 10, kRed}, {10, 10, kPaper},
                  {50, 20, kGreen}, {50, 10, kRed}, {40, 10, kPaper}});
}

TEST_F(ComponentGraphicsTest, FillPieFillsOnlyItsSlice)
{
    SetDrawingColor(kRed);
    SetFillColor(kGreen);
    // The right half: counter-clockwise from straight down to straight up.
    m_pGraphics->FillPie(10, 10, 20, 20, 20, 40, 20, 0);
    ExpectPixels({{25, 20, kGreen}, {14, 20, kPaper}});
}

// A pentagram overlaps itself in the middle: the alternate rule leaves the
// centre empty, the winding rule fills it.
TEST_F(ComponentGraphicsTest, FillPolygonHonoursTheFillRule)
{
    SetDrawingColor(kRed);
    SetFillColor(kGreen);
    KwPoint star[5] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    m_pGraphics->FillPolygon(star, 5, 1);
    EXPECT_EQ(Pixel(20, 20), kPaper);
    EXPECT_EQ(Pixel(20, 8), kGreen);
    m_pGraphics->FillPolygon(star, 5, 0);
    EXPECT_EQ(Pixel(20, 20), kGreen);

    std::vector<unsigned int> before = Snapshot();
    m_pGraphics->FillPolygon(star, 0, 1);
    m_pGraphics->FillPolygon(nullptr, 5, 1);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ComponentGraphicsTest, PolylineConnectsThePointsInOrder)
{
    SetDrawingColor(kBlue);
    KwPoint corner[3] = {{5, 5}, {15, 5}, {15, 12}};
    m_pGraphics->DrawPolyline(corner, 3);
    ExpectRun(5, 5, 1, 0, 10, kBlue);
    ExpectRun(15, 5, 0, 1, 7, kBlue);
    ExpectPixels({{15, 12, kPaper}, {5, 6, kPaper}});
}

TEST_F(ComponentGraphicsTest, BezierNeedsOnePlusThreeNPoints)
{
    SetDrawingColor(kBlue);
    KwPoint straight[4] = {{5, 30}, {15, 30}, {25, 30}, {35, 30}};
    EXPECT_EQ(m_pGraphics->DrawBezier(straight, 4), 1);
    ExpectPixels({{5, 30, kBlue}, {20, 30, kBlue}, {20, 31, kPaper}});
    EXPECT_EQ(m_pGraphics->DrawBezier(straight, 0), 0);
    EXPECT_EQ(m_pGraphics->DrawBezier(nullptr, 4), 0);
}

TEST_F(ComponentGraphicsTest, OvalAndArcAreOutlinesOnly)
{
    SetDrawingColor(kBlue);
    m_pGraphics->DrawOval(10, 10, 21, 21);
    ExpectPixels({{20, 10, kBlue}, {10, 20, kBlue}, {20, 30, kBlue}, {20, 20, kPaper}});
    // The upper half: counter-clockwise from the right to the left.
    EXPECT_EQ(m_pGraphics->DrawArc(40, 10, 21, 21, 61, 20, 39, 20), 1);
    ExpectPixels({{50, 10, kBlue}, {50, 30, kPaper}});
}

TEST_F(ComponentGraphicsTest, ColoursAreSharedLiveObjects)
{
    KwColor* color = m_pGraphics->GetColor();
    KwColor* again = m_pGraphics->GetColor();
    EXPECT_EQ(color, again);
    color->SetRed(0x20);
    color->SetGreen(0x40);
    color->SetBlue(0x60);
    m_pGraphics->DrawLine(0, 0, 4, 0, 1);
    EXPECT_EQ(Pixel(1, 0), 0x204060u);
    // A colour's alpha byte means nothing to drawing.
    color->SetAlpha(0xFF);
    m_pGraphics->DrawLine(0, 1, 4, 1, 1);
    EXPECT_EQ(Pixel(1, 1), 0x204060u);
    color->Release();
    again->Release();

    KwColor* back = m_pGraphics->GetBackColor();
    back->SetARGB(0x00102030);
    back->Release();
    m_pGraphics->Clear();
    EXPECT_EQ(Pixel(30, 30), 0x102030u);
}

TEST_F(ComponentGraphicsTest, SetFontKeepsTheFontAndRefusesNull)
{
    EXPECT_EQ(m_pGraphics->SetFont(nullptr), 0);
    KwFont* font = MakeFont("Tahoma", 20);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(m_pGraphics->SetFont(font), 1);
    font->Release();
    KwFont* current = m_pGraphics->GetFont();
    EXPECT_EQ(current, font);
    EXPECT_EQ(current->GetPointSize(), 20);
    // Setting the current font again must not free it.
    EXPECT_EQ(m_pGraphics->SetFont(current), 1);
    current->Release();
    current = m_pGraphics->GetFont();
    EXPECT_EQ(current->GetPointSize(), 20);
    current->Release();
}

TEST_F(ComponentGraphicsTest, PresentToCopiesTheRectangleToTheSamePlace)
{
    SetDrawingColor(kRed);
    SetFillColor(kRed);
    m_pGraphics->FillRectangle(0, 0, kWidth, kHeight);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC target = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(target, bitmap);
    PatBlt(target, 0, 0, kWidth, kHeight, WHITENESS);
    m_pGraphics->PresentTo(target, KwRect(4, 3, 5, 2));
    GdiFlush();
    const unsigned int* pixels = static_cast<const unsigned int*>(bits);
    EXPECT_EQ(pixels[3 * kWidth + 4] & 0xFFFFFF, kRed);
    EXPECT_EQ(pixels[4 * kWidth + 8] & 0xFFFFFF, kRed);
    EXPECT_EQ(pixels[3 * kWidth + 9] & 0xFFFFFF, kWhite);
    EXPECT_EQ(pixels[5 * kWidth + 4] & 0xFFFFFF, kWhite);
    EXPECT_EQ(pixels[2 * kWidth + 4] & 0xFFFFFF, kWhite);
    SelectObject(target, old);
    DeleteObject(bitmap);
    DeleteDC(target);
}

// Present copies through the window's own context: the window's pixels show
// the buffer's in the presented area only.
TEST_F(ComponentGraphicsTest, PresentCopiesTheAreaToTheWindow)
{
    ShowWindow(m_hWindow, SW_SHOWNORMAL);
    UpdateWindow(m_hWindow);
    HDC window = GetDC(m_hWindow);
    RECT all = {0, 0, kWidth, kHeight};
    FillRect(window, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetDrawingColor(kBlue);
    SetFillColor(kBlue);
    m_pGraphics->FillRectangle(0, 0, kWidth, kHeight);
    m_pGraphics->Present(10, 10, 5, 5);
    GdiFlush();
    EXPECT_EQ(GetPixel(window, 10, 10), RGB(0, 0, 0xFF));
    EXPECT_EQ(GetPixel(window, 14, 14), RGB(0, 0, 0xFF));
    EXPECT_EQ(GetPixel(window, 15, 10), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(GetPixel(window, 9, 10), RGB(0xFF, 0xFF, 0xFF));
    ReleaseDC(m_hWindow, window);
}

} // namespace
