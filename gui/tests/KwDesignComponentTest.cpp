// The design component: handle geometry, and in design mode dragging and
// resizing by real mouse messages, the sizing cursors, the decorations read
// back from the window and the dropped actions.
#include "ComponentTestSupport.h"

#include "IKwGraphics.h"
#include "KwDesignComponent.h"
#include "KwPopupWindow.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const unsigned int kWhite = 0xFFFFFF;
const unsigned int kBlue = 0x0000FF;
const unsigned int kGreen = 0x00FF00;

TEST(KwDesignComponentTest, HandlesAreFoundClockwiseFromTheTopLeft)
{
    KwDesignComponent* component = MakeCounted<KwDesignComponent>();
    component->SetSize(40, 30, 0);
    struct Probe {
        int x;
        int y;
        int handle;
    };
    const Probe probes[] = {
        {0, 0, 1},   {5, 5, 1},   {18, 0, 2},  {22, 5, 2},  {35, 0, 3},  {40, 5, 3},
        {40, 13, 4}, {35, 17, 4}, {40, 30, 5}, {35, 25, 5}, {20, 30, 6}, {0, 30, 7},
        {5, 25, 7},  {0, 15, 8},  {20, 15, 0}, {6, 6, 0},   {41, 0, 0},  {23, 0, 0},
    };
    for (const Probe& probe : probes) {
        EXPECT_EQ(component->HitTestHandle(KwPoint(probe.x, probe.y)), probe.handle)
            << "at " << probe.x << ", " << probe.y;
    }
    component->Release();
}

TEST(KwDesignComponentTest, PaintFillsTheBackgroundAndAnswersOne)
{
    KwDesignComponent* component = MakeCounted<KwDesignComponent>();
    EXPECT_EQ(component->GetClassName(), "KwDesignComponent");
    EXPECT_EQ(component->OnPaint(KwRect(0, 0, 1, 1), nullptr), 1);
    KwComponent* plain = MakeCounted<KwComponent>();
    EXPECT_EQ(plain->OnPaint(KwRect(0, 0, 1, 1), nullptr), 0);
    plain->Release();
    component->Release();
}

// A widget as the widget classes are written: handlers only, no design
// code. A click fires one action and posts another to the parent; the
// paint draws a green block in the middle.
class Clicker : public KwDesignComponent {
public:
    explicit Clicker(EventLog* log) : m_pLog(log) {}

    int OnLButtonDown(const KwPoint&) override
    {
        m_pLog->push_back("clicker:OnLButtonDown");
        return 1;
    }
    int OnLButtonUp(const KwPoint&) override
    {
        m_pLog->push_back("clicker:OnLButtonUp");
        FireAction(7, 70);
        PostActionToParent(8, 80);
        return 1;
    }
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override
    {
        KwComponent::OnPaint(area, graphics);
        graphics->PutPixel(20, 15, KwColor(0, 255, 0));
        return 1;
    }
    using KwDesignComponent::OnLButtonDown;
    using KwDesignComponent::OnLButtonUp;
    using KwDesignComponent::OnPaint;

private:
    EventLog* m_pLog;
};

class KwDesignModeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pWindow = MakeCounted<Recording<KwPopupWindow>>(&m_log, "window");
        m_pWindow->SetBounds(50, 50, 160, 120, 0);
        m_pClicker = MakeCounted<Clicker>(&m_log);
        m_pClicker->SetClassName("KwDesignClicker");
        m_pClicker->SetBackground(KwColor(255, 255, 255));
        m_pClicker->SetBounds(20, 20, 40, 30, 0);
        m_pWindow->Add(m_pClicker);
        ASSERT_EQ(CreateShown(m_pWindow), 1);
        m_hClicker = WindowOf(m_pClicker);
        PumpMessages();
        m_log.clear();
    }

    void TearDown() override
    {
        m_pWindow->Release();
        m_pClicker->Release();
        PumpMessages();
    }

    void Mouse(UINT message, int x, int y)
    {
        SendMessageA(m_hClicker, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(x, y));
    }

    // x, y, width, height.
    std::vector<int> Bounds()
    {
        KwPoint location = m_pClicker->GetLocation();
        KwSize size = m_pClicker->GetSize();
        return {location.GetX(), location.GetY(), size.GetWidth(), size.GetHeight()};
    }

    EventLog m_log;
    Recording<KwPopupWindow>* m_pWindow = nullptr;
    Clicker* m_pClicker = nullptr;
    HWND m_hClicker = nullptr;
};

TEST_F(KwDesignModeTest, ClickReachesTheWidgetOnlyOutsideDesignMode)
{
    Mouse(WM_LBUTTONDOWN, 20, 15);
    Mouse(WM_LBUTTONUP, 20, 15);
    PumpMessages();
    EXPECT_EQ(m_log, (EventLog{"clicker:OnLButtonDown", "clicker:OnLButtonUp",
                               "window:ActionPerformed 7 70", "window:ActionPerformed 8 80"}));

    m_log.clear();
    m_pClicker->SetDesignMode(1);
    Mouse(WM_LBUTTONDOWN, 20, 15);
    Mouse(WM_LBUTTONUP, 20, 15);
    PumpMessages();
    EXPECT_TRUE(m_log.empty());
    // The widget's own code fires and posts nothing either.
    EXPECT_EQ(m_pClicker->FireAction(7, 1), 0);
    m_pClicker->PostAction(7, 2);
    m_pClicker->PostActionToParent(8, 3);
    // A container in design mode drops its actions the same way.
    m_pWindow->SetDesignMode(1);
    m_pWindow->PostAction(9, 4);
    PumpMessages();
    EXPECT_TRUE(m_log.empty());
}

TEST_F(KwDesignModeTest, HandlesResizeWithinTheirLimits)
{
    m_pClicker->SetDesignMode(1);
    // Right middle: a width of 5 is refused, then the edge follows the
    // pointer from where it was last applied.
    Mouse(WM_LBUTTONDOWN, 38, 15);
    Mouse(WM_MOUSEMOVE, 3, 15);
    EXPECT_EQ(Bounds(), (std::vector<int>{20, 20, 40, 30}));
    Mouse(WM_MOUSEMOVE, 28, 15);
    EXPECT_EQ(Bounds(), (std::vector<int>{20, 20, 30, 30}));
    Mouse(WM_MOUSEMOVE, 30, 17);
    EXPECT_EQ(Bounds(), (std::vector<int>{20, 20, 32, 30}));
    Mouse(WM_LBUTTONUP, 30, 17);

    // Top left moves the corner and keeps the opposite one.
    Mouse(WM_LBUTTONDOWN, 2, 2);
    Mouse(WM_MOUSEMOVE, 7, 4);
    EXPECT_EQ(Bounds(), (std::vector<int>{25, 22, 27, 28}));
    Mouse(WM_MOUSEMOVE, 30, 2);
    EXPECT_EQ(Bounds(), (std::vector<int>{25, 22, 27, 28}));
    Mouse(WM_LBUTTONUP, 30, 2);
    RECT native;
    GetWindowRect(m_hClicker, &native);
    MapWindowPoints(nullptr, WindowOf(m_pWindow), reinterpret_cast<POINT*>(&native), 2);
    EXPECT_EQ(native.left, 25);
    EXPECT_EQ(native.right - native.left, 27);
}

TEST_F(KwDesignModeTest, BodyDragMovesTheComponentAndAZeroDragDoesNothing)
{
    m_pClicker->SetDesignMode(1);
    Mouse(WM_LBUTTONDOWN, 20, 15);
    EXPECT_EQ(GetCapture(), m_hClicker);
    Mouse(WM_MOUSEMOVE, 20, 15);
    EXPECT_EQ(Bounds(), (std::vector<int>{20, 20, 40, 30}));
    Mouse(WM_MOUSEMOVE, 25, 12);
    EXPECT_EQ(Bounds(), (std::vector<int>{25, 17, 40, 30}));
    // After the move the pointer is at the reference again.
    Mouse(WM_MOUSEMOVE, 20, 15);
    EXPECT_EQ(Bounds(), (std::vector<int>{25, 17, 40, 30}));
    Mouse(WM_LBUTTONUP, 20, 15);
    EXPECT_EQ(GetCapture(), nullptr);
    Mouse(WM_MOUSEMOVE, 30, 30);
    EXPECT_EQ(Bounds(), (std::vector<int>{25, 17, 40, 30}));

    // A window in design mode is dragged by its body the same way.
    m_pWindow->SetDesignMode(1);
    HWND window = WindowOf(m_pWindow);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 95));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(110, 95));
    EXPECT_EQ(m_pWindow->GetLocation().GetX(), 60);
    EXPECT_EQ(m_pWindow->GetLocation().GetY(), 45);
}

TEST_F(KwDesignModeTest, FocusShowsBlueHandlesOverTheWidgetsPaint)
{
    m_pClicker->SetDesignMode(1);
    SetFocus(m_hClicker);
    ASSERT_EQ(GetFocus(), m_hClicker);
    UpdateWindow(m_hClicker);
    const POINT corners[8] = {{0, 0},  {18, 0},  {35, 0},  {0, 13},
                              {35, 13}, {0, 25}, {18, 25}, {35, 25}};
    for (const POINT& corner : corners) {
        EXPECT_EQ(WindowPixel(m_hClicker, corner.x, corner.y), kBlue) << corner.x << "," << corner.y;
        EXPECT_EQ(WindowPixel(m_hClicker, corner.x + 4, corner.y + 4), kBlue)
            << corner.x << "," << corner.y;
    }
    EXPECT_EQ(WindowPixel(m_hClicker, 5, 5), kWhite);
    EXPECT_EQ(WindowPixel(m_hClicker, 34, 29), kWhite);
    EXPECT_EQ(WindowPixel(m_hClicker, 20, 15), kGreen);

    SetFocus(WindowOf(m_pWindow));
    UpdateWindow(m_hClicker);
    EXPECT_EQ(WindowPixel(m_hClicker, 0, 0), kWhite);
    EXPECT_EQ(WindowPixel(m_hClicker, 39, 29), kWhite);
}

// The focus frame inverts, so a frame drawn twice would leave no trace.
TEST_F(KwDesignModeTest, DraggingShowsAFocusFrameInsteadOfTheHandles)
{
    KwDesignComponent* plain = MakeCounted<KwDesignComponent>();
    plain->SetBackground(KwColor(255, 255, 255));
    plain->SetBounds(70, 20, 40, 30, 0);
    m_pWindow->Add(plain);
    HWND window = WindowOf(plain);
    plain->SetDesignMode(1);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    ASSERT_EQ(GetFocus(), window);
    UpdateWindow(window);
    int framed = 0;
    for (int x = 0; x < 40; ++x) {
        framed += WindowPixel(window, x, 0) != kWhite ? 1 : 0;
    }
    EXPECT_GT(framed, 10);
    EXPECT_NE(WindowPixel(window, 2, 2), kBlue);
    EXPECT_EQ(WindowPixel(window, 20, 15), kWhite);

    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
    UpdateWindow(window);
    EXPECT_EQ(WindowPixel(window, 2, 2), kBlue);
    m_pWindow->Remove(plain);
    plain->Release();
}

HCURSOR ClassCursorOf(HWND window)
{
    return reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR));
}

TEST_F(KwDesignModeTest, PointerOverAHandleShowsItsSizingCursor)
{
    m_pClicker->SetDesignMode(1);
    SetFocus(m_hClicker);
    const struct {
        int x;
        int y;
        WORD cursor;
    } probes[] = {
        {0, 0, 32642}, {20, 2, 32645}, {38, 1, 32643}, {38, 15, 32644},
        {38, 28, 32642}, {20, 15, 32512}, {2, 15, 32644},
    };
    for (const auto& probe : probes) {
        Mouse(WM_MOUSEMOVE, probe.x, probe.y);
        EXPECT_EQ(ClassCursorOf(m_hClicker), LoadCursorA(nullptr, MAKEINTRESOURCEA(probe.cursor)))
            << probe.x << "," << probe.y;
    }
}

} // namespace
