// The message loop of KwWindow: what ends it and what it delivers.
#include "ComponentTestSupport.h"

#include "KwPopupWindow.h"

#include <cstdint>

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

typedef Recording<KwComponent> RecordingComponent;

class KwWindowTest : public ::testing::Test {
protected:
    void SetUp() override { m_pWindow = MakeCounted<ScriptedWindow>(&m_log); }

    void TearDown() override
    {
        m_pWindow->Release();
        PumpMessages();
    }

    // Runs the window's loop under a watchdog; the loop must end by itself.
    void RunLoop()
    {
        LoopWatchdog watchdog(5000);
        EXPECT_EQ(m_pWindow->Run(), 1);
        EXPECT_FALSE(watchdog.Fired()) << "the loop did not end by itself";
        EXPECT_EQ(m_pWindow->stepsRun, m_pWindow->steps.size());
    }

    EventLog m_log;
    ScriptedWindow* m_pWindow = nullptr;
};

TEST_F(KwWindowTest, DestroyingTheWindowEndsTheLoop)
{
    m_pWindow->Show(1);
    m_pWindow->steps.push_back([this] { m_pWindow->DestroyNative(); });
    RunLoop();
    EXPECT_EQ(WindowOf(m_pWindow), nullptr);
}

// The clipped window type has no caption and no frame: its client area is
// its whole size.
TEST_F(KwWindowTest, ClippedWindowHasNoCaptionOrFrame)
{
    m_pWindow->SetWindowType(KW_WINDOW_CLIPPED);
    m_pWindow->steps.push_back([this] {
        RECT client = {0, 0, 0, 0};
        GetClientRect(WindowOf(m_pWindow), &client);
        EXPECT_EQ(client.right, 160);
        EXPECT_EQ(client.bottom, 120);
        m_pWindow->DestroyNative();
    });
    RunLoop();
}

TEST_F(KwWindowTest, DestroyingAPopupKeepsTheLoopRunning)
{
    KwPopupWindow* popup = MakeCounted<KwPopupWindow>();
    popup->SetBounds(10, 10, 30, 20, 0);
    bool loopRanOn = false;
    m_pWindow->steps.push_back([&] {
        ASSERT_EQ(CreateShown(popup), 1);
        popup->DestroyNative();
    });
    m_pWindow->steps.push_back([&] {
        loopRanOn = WindowOf(popup) == nullptr;
        m_pWindow->DestroyNative();
    });
    RunLoop();
    EXPECT_TRUE(loopRanOn);
    popup->Release();
}

TEST_F(KwWindowTest, VetoedCloseKeepsTheWindowAndTheLoopAlive)
{
    RecordingListener veto(&m_log, "veto");
    veto.Answer("OnClose", 0);
    m_pWindow->AddComponentListener(&veto);
    bool openAfterVeto = false;
    m_pWindow->steps.push_back([&] { m_pWindow->Close(); });
    m_pWindow->steps.push_back([&] {
        openAfterVeto = IsWindow(WindowOf(m_pWindow)) != FALSE;
        m_pWindow->RemoveComponentListener(&veto);
        m_pWindow->Close();
    });
    RunLoop();
    EXPECT_TRUE(openAfterVeto);
    EXPECT_EQ(WindowOf(m_pWindow), nullptr);
}

TEST_F(KwWindowTest, QuitEndsTheLoopWithTheWindowStillOpen)
{
    m_pWindow->steps.push_back([this] { m_pWindow->Quit(); });
    RunLoop();
    HWND window = WindowOf(m_pWindow);
    EXPECT_TRUE(IsWindow(window));
    m_pWindow->DestroyNative();
}

TEST_F(KwWindowTest, PostedChildActionsArriveFromTheLoopInPostingOrder)
{
    RecordingComponent* child = MakeCounted<RecordingComponent>(&m_log, "child");
    child->SetBounds(5, 5, 20, 10, 0);
    m_pWindow->Add(child);
    RecordingActionListener listener(&m_log, "listener");
    m_pWindow->AddActionListener(&listener);
    size_t loggedRightAfterPosting = 99;
    m_pWindow->steps.push_back([&] {
        m_log.clear();
        child->PostActionToParent(1, 10);
        child->PostActionToParent(2, 20);
        // A top-level window has no parent: this one goes nowhere.
        m_pWindow->PostActionToParent(3, 30);
        loggedRightAfterPosting = m_log.size();
    });
    m_pWindow->steps.push_back([&] { m_pWindow->DestroyNative(); });
    RunLoop();
    EXPECT_EQ(loggedRightAfterPosting, 0u);
    EXPECT_EQ(m_log, (EventLog{"window:ActionPerformed 1 10", "listener:ActionPerformed 1 10",
                               "window:ActionPerformed 2 20", "listener:ActionPerformed 2 20",
                               "window:OnDestroy", "child:OnDestroy"}));
    ASSERT_EQ(listener.sources.size(), 2u);
    EXPECT_EQ(listener.sources[0], static_cast<KwObject*>(child));
    EXPECT_EQ(m_pWindow->actionSources[1], static_cast<KwObject*>(child));
    child->Release();
}

// The parameter is as wide as a pointer on both paths: a picture passes a
// reference to itself, which on x86_64 does not fit in 32 bits.
TEST_F(KwWindowTest, PostedActionsCarryPointerWideParameters)
{
    RecordingComponent* child = MakeCounted<RecordingComponent>(&m_log, "child");
    m_pWindow->Add(child);
    const intptr_t wide = static_cast<intptr_t>(UINTPTR_MAX >> 4);
    m_pWindow->steps.push_back([&] {
        m_log.clear();
        child->PostActionToParent(5, wide);
        m_pWindow->PostAction(6, -wide);
    });
    m_pWindow->steps.push_back([&] { m_pWindow->DestroyNative(); });
    RunLoop();
    ASSERT_GE(m_log.size(), 2u);
    EXPECT_EQ(m_log[0], Describe("window:ActionPerformed", 5, wide));
    EXPECT_EQ(m_log[1], Describe("window:ActionPerformed", 6, -wide));
    child->Release();
}

TEST_F(KwWindowTest, PostedOwnActionIsFiredFromTheLoop)
{
    RecordingActionListener listener(&m_log, "listener");
    m_pWindow->AddActionListener(&listener);
    m_pWindow->steps.push_back([&] {
        m_log.clear();
        m_pWindow->PostAction(7, 70);
        m_pWindow->PostAction(8, 80);
        EXPECT_TRUE(m_log.empty());
    });
    m_pWindow->steps.push_back([&] { m_pWindow->DestroyNative(); });
    RunLoop();
    EXPECT_EQ(m_log, (EventLog{"window:ActionPerformed 7 70", "listener:ActionPerformed 7 70",
                               "window:ActionPerformed 8 80", "listener:ActionPerformed 8 80",
                               "window:OnDestroy"}));
    EXPECT_EQ(listener.sources[0], static_cast<KwObject*>(m_pWindow));
}

// A widget removed and released while its action waits in the queue stays
// alive until the action has been delivered.
class Mortal : public KwComponent {
public:
    explicit Mortal(bool* dead) : m_pDead(dead) {}
    ~Mortal() override { *m_pDead = true; }

private:
    bool* m_pDead;
};

TEST_F(KwWindowTest, PostedActionKeepsItsSourceAliveUntilDelivered)
{
    bool dead = false;
    Mortal* child = MakeCounted<Mortal>(&dead);
    child->SetBounds(5, 5, 20, 10, 0);
    m_pWindow->Add(child);
    bool deadAtDelivery = true;
    class Witness : public IKwActionListener {
    public:
        Witness(bool* dead, bool* deadAtDelivery)
            : m_pDead(dead), m_pDeadAtDelivery(deadAtDelivery)
        {
        }
        int ActionPerformed(KwObject*, int, intptr_t) override
        {
            *m_pDeadAtDelivery = *m_pDead;
            return 1;
        }

    private:
        bool* m_pDead;
        bool* m_pDeadAtDelivery;
    } witness(&dead, &deadAtDelivery);
    m_pWindow->AddActionListener(&witness);
    m_pWindow->steps.push_back([&] {
        child->PostActionToParent(4, 40);
        m_pWindow->Remove(child);
        child->Release();
    });
    m_pWindow->steps.push_back([&] { m_pWindow->DestroyNative(); });
    RunLoop();
    EXPECT_FALSE(deadAtDelivery);
    EXPECT_TRUE(dead);
}

TEST_F(KwWindowTest, ActionsQueuedForADestroyedWindowDoNotLeakTheirSource)
{
    bool dead = false;
    Mortal* child = MakeCounted<Mortal>(&dead);
    child->SetBounds(5, 5, 20, 10, 0);
    m_pWindow->Add(child);
    m_pWindow->steps.push_back([&] {
        child->PostActionToParent(4, 40);
        m_pWindow->Remove(child);
        child->Release();
        m_pWindow->DestroyNative();
    });
    RunLoop();
    EXPECT_TRUE(dead);
    EXPECT_EQ(m_log, (EventLog{"window:OnAfterCreate", "window:OnDestroy"}));
}

} // namespace
