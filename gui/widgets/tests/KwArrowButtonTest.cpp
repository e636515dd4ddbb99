// The arrow button: its events while held and its triangle.
#include "ScrollTestHost.h"

#include "KwArrowButton.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

class KwArrowButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pHost = MakeCounted<ScrollTestHost>();
        m_pArrow = MakeCounted<KwArrowButton>(KW_ARROW_UP);
        m_pArrow->SetBounds(10, 10, 18, 18, 0);
        m_pHost->Add(m_pArrow);
        ASSERT_EQ(CreateShown(m_pHost), 1);
    }

    void TearDown() override
    {
        m_pArrow->Release();
        m_pHost->Release();
        PumpMessages();
    }

    std::vector<int> Events() const
    {
        std::vector<int> ids;
        for (const std::pair<KwObject*, int>& action : m_pHost->actions) {
            EXPECT_EQ(action.first, static_cast<KwObject*>(m_pArrow));
            ids.push_back(action.second);
        }
        return ids;
    }

    ScrollTestHost* m_pHost = nullptr;
    KwArrowButton* m_pArrow = nullptr;
};

TEST_F(KwArrowButtonTest, LeavingAndReturningWhileHeldReleasesAndPressesAgain)
{
    SendMouse(m_pArrow, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(m_pArrow->HasCapture(), 1);
    SendMouse(m_pArrow, WM_MOUSEMOVE, 18, 18);  // the edge still counts as inside
    SendMouse(m_pArrow, WM_MOUSEMOVE, 19, 5);
    SendMouse(m_pArrow, WM_MOUSEMOVE, 30, 5);
    SendMouse(m_pArrow, WM_MOUSEMOVE, 4, 4);
    SendMouse(m_pArrow, WM_MOUSEMOVE, 5, -1);
    SendMouse(m_pArrow, WM_LBUTTONUP, 5, -1);
    EXPECT_EQ(m_pArrow->HasCapture(), 0);
    EXPECT_EQ(Events(), (std::vector<int>{EVT_ARROW_PRESSED, EVT_ARROW_RELEASED, EVT_ARROW_PRESSED,
                                          EVT_ARROW_RELEASED, EVT_ARROW_RELEASED}));
    // Moves and releases without a press report nothing.
    m_pHost->actions.clear();
    SendMouse(m_pArrow, WM_MOUSEMOVE, 30, 5);
    SendMouse(m_pArrow, WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(m_pHost->actions.empty());
}

// Up with size 0: tip (9, 6), base (6, 9) to (12, 9). Held with the 3-D
// look the triangle moves one pixel right and down.
TEST_F(KwArrowButtonTest, TriangleFollowsDirectionSizeAndPress)
{
    HWND window = WindowOf(m_pArrow);
    m_pArrow->RepaintAll();
    EXPECT_EQ(WindowPixel(window, 9, 8), 0x000000u);
    EXPECT_EQ(WindowPixel(window, 9, 11), WindowPixel(window, 14, 14));
    SendMouse(m_pArrow, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(WindowPixel(window, 10, 10), 0x000000u);
    EXPECT_EQ(WindowPixel(window, 0, 0), 0x828284u);
    SendMouse(m_pArrow, WM_LBUTTONUP, 5, 5);

    m_pArrow->SetDirection(KW_ARROW_RIGHT);
    m_pArrow->SetArrowSize(2);
    m_pArrow->SetArrowSize(-1);
    EXPECT_EQ(m_pArrow->GetArrowSize(), 2);
    // Right with size 2: tip (15, 13), base (8, 8) to (8, 18).
    EXPECT_EQ(WindowPixel(window, 10, 13), 0x000000u);
    EXPECT_NE(WindowPixel(window, 16, 13), 0x000000u);
}

} // namespace
