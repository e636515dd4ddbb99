// The push button: which mouse and key sequences post its action to the
// parent, the embossed label of a disabled button, and its hint pop-up.
#include "WidgetTestSupport.h"

#include "KwButton.h"
#include "KwHelper.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const int kWidth = 80;
const int kHeight = 24;
const std::string kAction = "host:ActionPerformed " + std::to_string(EVT_BUTTON_ACTION) + " 0";

class KwButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pButton = MakeCounted<KwButton>();
        m_pButton->SetLabel("OK");
        m_pHost = new WidgetHost(m_pButton, kWidth, kHeight);
        ASSERT_EQ(m_pHost->created, 1);
    }

    void TearDown() override
    {
        delete m_pHost;
        m_pButton->Release();
    }

    KwButton* m_pButton = nullptr;
    WidgetHost* m_pHost = nullptr;
};

TEST_F(KwButtonTest, OnlyAReleaseOnTheButtonPostsOneActionToTheParent)
{
    Drag(m_pButton, {KwPoint(10, 10), KwPoint(-5, 10)});
    Drag(m_pButton, {KwPoint(10, 10), KwPoint(10, kHeight + 1)});
    EXPECT_EQ(m_pHost->Delivered(), EventLog{}) << "released outside";

    Drag(m_pButton, {KwPoint(10, 10), KwPoint(kWidth + 3, 10), KwPoint(20, 12)});
    EXPECT_EQ(m_pHost->log, EventLog{}) << "posted, not delivered at once";
    EXPECT_EQ(m_pHost->Delivered(), EventLog{kAction}) << "dragged back in";

    m_pHost->log.clear();
    Drag(m_pButton, {KwPoint(10, 10), KwPoint(kWidth, kHeight)});
    EXPECT_EQ(m_pHost->Delivered(), EventLog{kAction}) << "the right and bottom edges are inside";

    m_pHost->log.clear();
    // Without a move message reporting the pointer's way out.
    SendMouse(m_pButton, WM_LBUTTONDOWN, 10, 10);
    SendMouse(m_pButton, WM_LBUTTONUP, kWidth + 1, 10);
    SendMouse(m_pButton, WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(m_pHost->Delivered(), EventLog{}) << "a release off the button, then no press";
    EXPECT_EQ(GetCapture(), nullptr);
}

// In design mode a click moves nothing (no drag) and sends nothing.
TEST_F(KwButtonTest, ButtonInDesignModeSendsNoAction)
{
    m_pButton->SetDesignMode(1);
    Drag(m_pButton, {KwPoint(10, 10)});
    SendKey(m_pButton, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(m_pHost->Delivered(), EventLog{});
    m_pButton->SetDesignMode(0);
    Drag(m_pButton, {KwPoint(10, 10)});
    EXPECT_EQ(m_pHost->Delivered(), EventLog{kAction});
}

TEST_F(KwButtonTest, SpaceKeyUpAloneActsButNotOnADisabledButton)
{
    SendKey(m_pButton, WM_KEYUP, VK_SPACE);
    SendKey(m_pButton, WM_KEYDOWN, VK_RETURN);
    SendKey(m_pButton, WM_KEYUP, VK_RETURN);
    EXPECT_EQ(m_pHost->Delivered(), EventLog{kAction});

    m_pHost->log.clear();
    m_pButton->Disable();
    EXPECT_EQ(m_pButton->IsDisabled(), 1);
    SendKey(m_pButton, WM_KEYDOWN, VK_SPACE);
    SendKey(m_pButton, WM_KEYUP, VK_SPACE);
    Drag(m_pButton, {KwPoint(10, 10)});
    EXPECT_EQ(m_pHost->Delivered(), EventLog{});

    m_pButton->Enable();
    EXPECT_TRUE(IsWindowEnabled(WindowOf(m_pButton)));
    Drag(m_pButton, {KwPoint(10, 10)});
    EXPECT_EQ(m_pHost->Delivered(), EventLog{kAction});
}

TEST_F(KwButtonTest, DisabledLabelIsEmbossedInsteadOfBlack)
{
    SetFocus(nullptr);
    auto black = [](unsigned int c) { return c == 0x000000; };
    auto white = [](unsigned int c) { return c == 0xFFFFFF; };
    unsigned int paper = m_pButton->GetBackground().GetColorRef();
    paper = (paper & 0xFF) << 16 | (paper & 0xFF00) | (paper >> 16 & 0xFF);
    auto ink = [paper](unsigned int c) { return c != paper; };
    // Inside the frame and the focus rectangle: the label alone.
    const int x0 = 6, y0 = 6, x1 = kWidth - 7, y1 = kHeight - 7;

    m_pButton->RepaintAll();
    Pixels enabled(m_pButton);
    ASSERT_FALSE(enabled.Empty());
    EXPECT_GT(enabled.Count(x0, y0, x1, y1, black), 0);
    EXPECT_EQ(enabled.Count(x0, y0, x1, y1, white), 0);

    m_pButton->Disable();
    Pixels disabled(m_pButton);
    EXPECT_EQ(disabled.Count(x0, y0, x1, y1, black), 0);
    EXPECT_GT(disabled.Count(x0, y0, x1, y1, white), 0) << "the embossed highlight";
    EXPECT_GT(disabled.Count(x0, y0, x1, y1, ink), disabled.Count(x0, y0, x1, y1, white))
        << "and its shadow";
    // The frame is the same in both looks.
    EXPECT_EQ(disabled.At(1, 1), enabled.At(1, 1));
    EXPECT_EQ(disabled.At(kWidth - 2, kHeight - 2), enabled.At(kWidth - 2, kHeight - 2));
}

TEST_F(KwButtonTest, HintShowsBelowTheRestingPointerAndHidesWhenItLeaves)
{
    KwHelper* hint = MakeCounted<KwHelper>();
    m_pButton->SetHintPopup(hint);
    m_pButton->SetHintText("Install here");
    EXPECT_EQ(hint->GetText(), "Install here");

    SendMessageA(WindowOf(m_pButton), WM_MOUSEHOVER, 0, PointParam(7, 3));
    HWND popup = WindowOf(hint);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(IsWindowVisible(popup));
    RECT bounds;
    GetWindowRect(popup, &bounds);
    KwPoint screen = m_pButton->GetScreenLocation();
    EXPECT_EQ(bounds.left, screen.GetX() + 7);
    EXPECT_EQ(bounds.top, screen.GetY() + 3 + 21);

    SendMessageA(WindowOf(m_pButton), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(popup));

    // A replacement gets its window at once, since the hint was shown.
    KwHelper* second = MakeCounted<KwHelper>();
    m_pButton->SetHintPopup(second);
    EXPECT_NE(WindowOf(second), nullptr);
    m_pButton->SetHintPopup(second);
    EXPECT_EQ(second->AddRef(), 3) << "ours, the button's, and this one";
    second->Release();
    second->Release();
    hint->Release();
}

} // namespace
