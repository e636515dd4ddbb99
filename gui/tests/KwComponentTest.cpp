// The component's event chain and its conventions, its own listener
// operations and its action delivery, on real windows.
#include "ComponentTestSupport.h"

#include "KwDesignComponent.h"
#include "KwHelper.h"
#include "KwPopupWindow.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

typedef Recording<KwComponent> RecordingComponent;

class KwComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pComponent = MakeCounted<RecordingComponent>(&m_log);
        m_pComponent->SetWindowType(KW_WINDOW_POPUP);
        m_pComponent->SetBounds(60, 60, 50, 40, 0);
        ASSERT_EQ(CreateShown(m_pComponent), 1);
        m_hWindow = WindowOf(m_pComponent);
        ASSERT_NE(m_hWindow, nullptr);
        PumpMessages();
        m_log.clear();
    }

    void TearDown() override
    {
        if (m_pComponent != nullptr) {
            m_pComponent->RemoveComponentListener(&m_first);
            m_pComponent->RemoveComponentListener(&m_second);
            m_pComponent->Release();
        }
        PumpMessages();
    }

    int Handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return m_pComponent->GetImplementation()->HandleMessage(message, &wParam, &lParam);
    }

    EventLog m_log;
    RecordingListener m_first{&m_log, "first"};
    RecordingListener m_second{&m_log, "second"};
    RecordingComponent* m_pComponent = nullptr;
    HWND m_hWindow = nullptr;
};

TEST_F(KwComponentTest, ListenersHearEventsInOrderBeforeTheComponent)
{
    m_pComponent->AddComponentListener(&m_first);
    m_pComponent->AddComponentListener(&m_second);
    m_pComponent->AddComponentListener(&m_first);
    EXPECT_EQ(Handle(WM_RBUTTONDOWN, 0, MAKELPARAM(3, 4)), 0);
    EXPECT_EQ(m_log, (EventLog{"first:OnRButtonDown 3 4", "second:OnRButtonDown 3 4",
                               "own:OnRButtonDown 3 4"}));
    ASSERT_EQ(m_first.sources.size(), 1u);
    EXPECT_EQ(m_first.sources[0], static_cast<KwObject*>(m_pComponent));
}

TEST_F(KwComponentTest, RefusedMousePressStopsTheChainAndRunsTheDefault)
{
    m_pComponent->AddComponentListener(&m_first);
    m_pComponent->AddComponentListener(&m_second);
    m_first.Answer("OnRButtonDown", 0);
    m_first.Answer("OnLButtonDown", 0);
    EXPECT_EQ(Handle(WM_RBUTTONDOWN, 0, MAKELPARAM(3, 4)), 1);
    EXPECT_EQ(Handle(WM_LBUTTONDOWN, 0, MAKELPARAM(-2, 7)), 1);
    EXPECT_EQ(m_log, (EventLog{"first:OnRButtonDown 3 4", "first:OnLButtonDown -2 7"}));
}

// The default processing of a right-button release asks for a context
// menu: it shows whether the default ran for a real message.
TEST_F(KwComponentTest, DefaultProcessingRunsOnlyAfterARefusal)
{
    m_pComponent->AddComponentListener(&m_first);
    SendMessageA(m_hWindow, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    EXPECT_EQ(m_log, (EventLog{"first:OnRButtonUp 5 6", "own:OnRButtonUp 5 6"}));
    m_log.clear();
    m_first.Answer("OnRButtonUp", 0);
    SendMessageA(m_hWindow, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    EXPECT_EQ(m_log,
              (EventLog{"first:OnRButtonUp 5 6", "first:OnMessage 123", "own:OnMessage 123"}));
}

TEST_F(KwComponentTest, VetoedCloseKeepsTheWindow)
{
    m_pComponent->AddComponentListener(&m_first);
    m_first.Answer("OnClose", 0);
    SendMessageA(m_hWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(m_hWindow));
    EXPECT_EQ(m_log, (EventLog{"first:OnClose"}));
    EXPECT_EQ(Handle(WM_CLOSE, 0, 0), 0);
}

TEST_F(KwComponentTest, AllowedCloseDestroysTheWindow)
{
    SendMessageA(m_hWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(m_hWindow));
    EXPECT_EQ(m_log, (EventLog{"own:OnClose", "own:OnDestroy"}));
    EXPECT_EQ(WindowOf(m_pComponent), nullptr);
    EXPECT_EQ(m_pComponent->GetImplementation()->IsCreated(), 0);
}

TEST_F(KwComponentTest, VetoedSetCursorAnswersZeroWithoutDefault)
{
    m_pComponent->AddComponentListener(&m_first);
    EXPECT_EQ(Handle(WM_SETCURSOR, 0, 0), 1);
    m_first.Answer("OnSetCursor", 0);
    EXPECT_EQ(Handle(WM_SETCURSOR, 0, 0), 0);
}

TEST_F(KwComponentTest, EveryPaintListenerIsCalledWhateverItAnswers)
{
    m_pComponent->AddComponentListener(&m_first);
    m_pComponent->AddComponentListener(&m_second);
    m_first.Answer("OnPaint", 0);
    m_pComponent->RepaintAll();
    EXPECT_EQ(m_log, (EventLog{"first:OnPaint 0 50", "second:OnPaint 0 50"}));
}

TEST_F(KwComponentTest, LeftPressTakesTheFocusUnlessUnfocusableOrDisabled)
{
    SetFocus(nullptr);
    SendMessageA(m_hWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(GetFocus(), m_hWindow);
    EXPECT_EQ(m_log, (EventLog{"own:OnLButtonDown 1 1"}));

    SetFocus(nullptr);
    m_pComponent->SetFocusable(0);
    SendMessageA(m_hWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(KwComponentTest, OwnListenerOperationsIgnoreOtherSources)
{
    RecordingComponent other(&m_log, "other");
    KwObject* stranger = &other;
    IKwComponentListener* self = m_pComponent;
    EXPECT_EQ(self->OnKeyDown(stranger, 'A', 0), 1);
    EXPECT_EQ(self->OnPaint(stranger, KwRect(0, 0, 1, 1), nullptr), 1);
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(self->OnKeyDown(static_cast<KwObject*>(m_pComponent), 'A', 0), 1);
    EXPECT_EQ(m_log, (EventLog{"own:OnKeyDown 65"}));
}

TEST_F(KwComponentTest, ListenerReleasingTheComponentDuringAnEventIsSafe)
{
    class Releaser : public IKwComponentListener {
    public:
        int OnKeyDown(KwObject* source, int, int) override
        {
            dynamic_cast<KwComponent*>(source)->Release();
            return 1;
        }
    } releaser;
    m_pComponent->AddComponentListener(&releaser);
    SendMessageA(m_hWindow, WM_KEYDOWN, 'B', 0);
    // The last reference went during the event; the component died after it.
    EXPECT_EQ(m_log, (EventLog{"own:OnKeyDown 66"}));
    EXPECT_FALSE(IsWindow(m_hWindow));
    m_pComponent = nullptr;
}

TEST(KwComponentActions, FiredActionsReachTheComponentThenItsListenersInOrder)
{
    EventLog log;
    RecordingComponent* component = MakeCounted<RecordingComponent>(&log);
    RecordingActionListener a(&log, "a", 5);
    RecordingActionListener b(&log, "b", 7);
    component->AddActionListener(&a);
    component->AddActionListener(&b);
    component->AddActionListener(&a);
    EXPECT_EQ(component->FireAction(0x04100701, 3), 7);
    EXPECT_EQ(log, (EventLog{"own:ActionPerformed 68159233 3", "a:ActionPerformed 68159233 3",
                             "b:ActionPerformed 68159233 3"}));
    ASSERT_EQ(b.sources.size(), 1u);
    EXPECT_EQ(b.sources[0], static_cast<KwObject*>(component));

    log.clear();
    RecordingComponent child(&log, "child");
    component->RemoveActionListener(&b);
    component->RemoveActionListener(&b);
    EXPECT_EQ(component->DeliverChildAction(&child, 9, 1), 5);
    EXPECT_EQ(log, (EventLog{"own:ActionPerformed 9 1", "a:ActionPerformed 9 1"}));
    EXPECT_EQ(a.sources.back(), static_cast<KwObject*>(&child));

    log.clear();
    component->RemoveAllActionListeners();
    component->FireAction(1, 2);
    EXPECT_EQ(log, (EventLog{"own:ActionPerformed 1 2"}));
    component->Release();
}

TEST(KwComponentDefaults, NewComponentsCarryTheirClassNamesAndDefaults)
{
    KwComponent* plain = MakeCounted<KwComponent>();
    KwWindow* window = MakeCounted<KwWindow>();
    KwHelper* helper = MakeCounted<KwHelper>();
    EXPECT_EQ(plain->GetClassName(), "KwComponent");
    EXPECT_EQ(plain->GetText(), "KwComponent");
    EXPECT_EQ(window->GetClassName(), "KwWindow");
    EXPECT_EQ(helper->GetClassName(), "KwHelper");
    const char* chain = helper->GetTypeName();
    ASSERT_NE(chain, nullptr);
    EXPECT_NE(std::strstr(chain, ".KwContainer.KwPopupWindow.KwHelper"), nullptr) << chain;
    EXPECT_EQ(plain->GetBackground().GetColorRef(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(plain->GetForeground().GetColorRef(), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(plain->IsVisible(), 1);
    EXPECT_EQ(plain->IsDisabled(), 0);
    EXPECT_EQ(plain->IsCreated(), 0);
    EXPECT_EQ(plain->QueryFlag(), 0);
    EXPECT_EQ(plain->GetTextExtent("abc").GetWidth(), 0);
    EXPECT_EQ(plain->GetFontHeight(), -1);
    EXPECT_EQ(helper->IsVisible(), 0);
    EXPECT_EQ(helper->GetBackground().GetARGB(), 0xFFFFE1u);
    EXPECT_EQ(helper->GetSize().GetWidth(), 4);
    EXPECT_EQ(helper->GetSize().GetHeight(), 2);
    plain->Release();
    window->Release();
    helper->Release();
}

TEST(KwComponentCreate, FlagsSetBeforeCreationReachTheWindow)
{
    KwPopupWindow* popup = MakeCounted<KwPopupWindow>();
    popup->SetBounds(30, 30, 40, 30, 0);
    popup->Hide();
    popup->Disable();
    ASSERT_EQ(popup->Create(Instance(), nullptr), 1);
    HWND window = WindowOf(popup);
    EXPECT_EQ(popup->IsCreated(), 1);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(IsWindowEnabled(window));
    popup->Enable();
    popup->Show(0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(popup->Create(Instance(), nullptr), 0) << "a second window for one component";
    popup->Release();
    EXPECT_FALSE(IsWindow(window));
}

TEST(KwComponentCreate, FailedCreationShowsTheSystemErrorAndAnswersZero)
{
    EventLog log;
    RecordingComponent* orphan = MakeCounted<RecordingComponent>(&log);
    {
        MessageBoxAnswerer answer("eeerrr", IDOK);
        // A child window without a parent cannot be made.
        EXPECT_EQ(orphan->Create(Instance(), nullptr), 0);
    }
    EXPECT_EQ(MessageBoxAnswerer::s_text, "createwindows err=1406");
    EXPECT_EQ(orphan->IsCreated(), 0);
    EXPECT_TRUE(log.empty()) << "OnAfterCreate must not run";
    orphan->Release();
}

TEST(KwComponentCreate, KwWindowThatCannotBeMadeRunsNoLoop)
{
    KwWindow* window = MakeCounted<KwWindow>();
    window->SetWindowType(KW_WINDOW_CHILD);
    LoopWatchdog watchdog(3000);
    {
        MessageBoxAnswerer answer("eeerrr", IDOK);
        EXPECT_EQ(window->Create(Instance(), nullptr), 0);
    }
    EXPECT_FALSE(watchdog.Fired());
    window->Release();
}

} // namespace
