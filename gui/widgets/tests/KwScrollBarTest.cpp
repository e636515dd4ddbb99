// The scroll bar: limits of the arrows and paging, arrow repeat and track
// paging counted over timer messages, the thumb's size and drag.
#include "ScrollTestHost.h"

#include "KwScrollBar.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

// A vertical bar of 18 x 180 pixels: arrows of 18, a track of 144 from
// y = 18 to 162; with maximum 100 and visible amount 10 the thumb is 13
// pixels long and moves 1.44 pixels per value.
class KwScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pHost = MakeCounted<ScrollTestHost>();
        m_pBar = MakeCounted<KwScrollBar>(KW_SCROLL_VERTICAL);
        m_pBar->SetBounds(10, 10, 18, 180, 0);
        // Ticks come only from the test.
        m_pBar->SetRepeatPeriod(1000000);
        m_pHost->Add(m_pBar);
        ASSERT_EQ(CreateShown(m_pHost), 1);
        m_pIncrease = m_pBar->GetIncreaseArrow();
        m_pDecrease = m_pBar->GetDecreaseArrow();
        m_pThumb = m_pBar->GetThumb();
        ASSERT_TRUE(m_pIncrease != nullptr && m_pDecrease != nullptr && m_pThumb != nullptr);
    }

    void TearDown() override
    {
        m_pIncrease->Release();
        m_pDecrease->Release();
        m_pThumb->Release();
        m_pBar->Release();
        m_pHost->Release();
        PumpMessages();
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            SendTick(m_pBar);
        }
    }

    // Scroll changes the host has been told about so far.
    int Changes()
    {
        PumpMessages();
        return m_pHost->Count(m_pBar, EVT_SCROLL_CHANGED);
    }

    int ThumbTop() { return m_pThumb->GetLocation().GetY(); }

    ScrollTestHost* m_pHost = nullptr;
    KwScrollBar* m_pBar = nullptr;
    KwArrowButton* m_pIncrease = nullptr;
    KwArrowButton* m_pDecrease = nullptr;
    KwScrollBarBox* m_pThumb = nullptr;
};

TEST_F(KwScrollBarTest, ArrowsAndPagingStopAtMaximumLessVisibleAmount)
{
    EXPECT_EQ(m_pIncrease->GetDirection(), KW_ARROW_DOWN);
    EXPECT_EQ(m_pIncrease->GetLocation().GetY(), 162);
    SendMouse(m_pIncrease, WM_LBUTTONDOWN, 5, 5);
    Ticks(120);
    SendMouse(m_pIncrease, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(m_pBar->GetValue(), 90);
    EXPECT_EQ(Changes(), 90);
    EXPECT_EQ(ThumbTop(), 18 + 129);

    SendMouse(m_pIncrease, WM_LBUTTONDOWN, 5, 5);
    SendMouse(m_pIncrease, WM_LBUTTONUP, 5, 5);
    m_pBar->SetValue(85);
    SendMouse(m_pBar, WM_LBUTTONDOWN, 9, 161);
    Ticks(5);
    SendMouse(m_pBar, WM_LBUTTONUP, 9, 161);
    EXPECT_EQ(m_pBar->GetValue(), 90);
    EXPECT_EQ(Changes(), 91);

    m_pBar->SetValue(100);
    EXPECT_EQ(m_pBar->GetValue(), 100);
    // The thumb stays on the track.
    EXPECT_EQ(ThumbTop() + 13, 162 - 1);
    m_pBar->SetValue(150);
    EXPECT_EQ(m_pBar->GetValue(), 100);
    m_pBar->SetValue(-5);
    EXPECT_EQ(m_pBar->GetValue(), 0);
    EXPECT_EQ(Changes(), 91);
}

TEST_F(KwScrollBarTest, HeldArrowRepeatsOneUnitPerTickUntilReleased)
{
    SendMouse(m_pIncrease, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(m_pBar->GetValue(), 1);
    Ticks(5);
    EXPECT_EQ(m_pBar->GetValue(), 6);
    SendMouse(m_pIncrease, WM_LBUTTONUP, 5, 5);
    Ticks(3);
    EXPECT_EQ(m_pBar->GetValue(), 6);
    EXPECT_EQ(Changes(), 6);

    // Off the held arrow the repeat pauses; back on it steps again.
    SendMouse(m_pDecrease, WM_LBUTTONDOWN, 5, 5);
    Ticks(2);
    EXPECT_EQ(m_pBar->GetValue(), 3);
    SendMouse(m_pDecrease, WM_MOUSEMOVE, 5, 40);
    Ticks(2);
    EXPECT_EQ(m_pBar->GetValue(), 3);
    SendMouse(m_pDecrease, WM_MOUSEMOVE, 5, 5);
    Ticks(10);
    SendMouse(m_pDecrease, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(m_pBar->GetValue(), 0);
    EXPECT_EQ(Changes(), 12);
}

// Pressed at y = 100: pages to 10 at once, then on each tick while the
// thumb (13 long, at 18 + 1.44 x value) stays above the pointer: 20, 30,
// 40, 50; at 50 it covers the pointer and paging stops.
TEST_F(KwScrollBarTest, TrackBelowTheThumbPagesWhileThePointerStaysBelow)
{
    HWND window = WindowOf(m_pBar);
    SendMouse(m_pBar, WM_LBUTTONDOWN, 9, 100);
    EXPECT_EQ(m_pBar->GetValue(), 10);
    EXPECT_EQ(WindowPixel(window, 9, 150), 0x323232u);
    Ticks(10);
    EXPECT_EQ(m_pBar->GetValue(), 50);
    EXPECT_EQ(Changes(), 5);

    SendMouse(m_pBar, WM_MOUSEMOVE, 9, 150);
    Ticks(10);
    EXPECT_EQ(m_pBar->GetValue(), 90);
    EXPECT_EQ(WindowPixel(window, 9, 161), 0x323232u);
    SendMouse(m_pBar, WM_LBUTTONUP, 9, 150);
    EXPECT_EQ(WindowPixel(window, 9, 161), 0xDCDCDCu);

    SendMouse(m_pBar, WM_LBUTTONDOWN, 9, 20);
    EXPECT_EQ(m_pBar->GetValue(), 80);
    // Off the bar's width the paging pauses.
    SendMouse(m_pBar, WM_MOUSEMOVE, 30, 20);
    Ticks(3);
    SendMouse(m_pBar, WM_LBUTTONUP, 30, 20);
    EXPECT_EQ(m_pBar->GetValue(), 80);
}

TEST_F(KwScrollBarTest, ThumbIsNeverShorterThanSixPixels)
{
    EXPECT_EQ(m_pThumb->GetSize().GetHeight(), 13);
    m_pBar->SetMaximum(100000);
    EXPECT_EQ(m_pThumb->GetSize().GetHeight(), 6);
    EXPECT_EQ(m_pThumb->GetSize().GetWidth(), 18);
    m_pBar->SetVisibleAmount(0);
    EXPECT_EQ(m_pThumb->GetSize().GetHeight(), 6);
    m_pBar->SetVisibleAmount(500000);
    EXPECT_EQ(m_pThumb->GetSize().GetHeight(), 143);

    KwScrollBar* flat = MakeCounted<KwScrollBar>(KW_SCROLL_HORIZONTAL);
    flat->SetBounds(10, 195, 200, 4, 0);
    flat->SetMaximum(1000);
    m_pHost->Add(flat);
    KwScrollBarBox* thumb = flat->GetThumb();
    EXPECT_EQ(thumb->GetSize().GetWidth(), 6);
    EXPECT_EQ(thumb->GetLocation().GetX(), 4);
    thumb->Release();
    flat->Release();
}

TEST_F(KwScrollBarTest, DraggedThumbSetsTheValueAndStopsAtTheEnds)
{
    SendMouse(m_pThumb, WM_LBUTTONDOWN, 5, 3);
    SendMouse(m_pThumb, WM_MOUSEMOVE, 5, 3 + 72);
    EXPECT_EQ(ThumbTop(), 90);
    EXPECT_EQ(Changes(), 1);
    EXPECT_EQ(m_pBar->GetValue(), 50);
    SendMouse(m_pThumb, WM_MOUSEMOVE, 5, 400);
    EXPECT_EQ(ThumbTop(), 180 - 18 - 14);
    SendMouse(m_pThumb, WM_LBUTTONUP, 5, 400);
    EXPECT_EQ(Changes(), 2);
    EXPECT_EQ(m_pBar->GetValue(), 90);
    EXPECT_EQ(m_pThumb->HasCapture(), 0);
}

} // namespace
