// Containers: children's windows, listeners and font, hit testing, removal.
#include "ComponentTestSupport.h"

#include "KwFont.h"
#include "KwPopupWindow.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

typedef Recording<KwComponent> RecordingComponent;

// A container that logs the events and actions of its children, as the
// application's window does.
class ListeningPopup : public Recording<KwPopupWindow> {
public:
    explicit ListeningPopup(EventLog* log) : Recording<KwPopupWindow>(log, "container") {}

    int OnKeyDown(KwObject* source, int key, int flags) override
    {
        if (!IsSelf(source)) {
            heardFrom.push_back(source);
        }
        return KwComponent::OnKeyDown(source, key, flags);
    }

    std::vector<KwObject*> heardFrom;
};

class KwContainerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pContainer = MakeCounted<ListeningPopup>(&m_log);
        m_pContainer->SetBounds(50, 50, 120, 90, 0);
        m_pFirst = MakeChild("first", 10, 10);
        m_pSecond = MakeChild("second", 25, 25);
        m_pFont = MakeFont("Courier New", 20);
        ASSERT_NE(m_pFont, nullptr);
        m_pContainer->SetFont(m_pFont);
    }

    void TearDown() override
    {
        m_pContainer->Release();
        m_pFirst->Release();
        m_pSecond->Release();
        m_pFont->Release();
        PumpMessages();
    }

    RecordingComponent* MakeChild(const char* name, int x, int y)
    {
        RecordingComponent* child = MakeCounted<RecordingComponent>(&m_log, name);
        child->SetBounds(x, y, 20, 20, 0);
        return child;
    }

    bool HasContainerFont(KwComponent* child)
    {
        KwFont* font = child->GetFont();
        bool same = font != nullptr && font->Equals(m_pFont) == 1;
        if (font != nullptr) {
            font->Release();
        }
        return same;
    }

    // A key sent to the child's window reaches the container as listener.
    bool ContainerHears(KwComponent* child)
    {
        size_t before = m_pContainer->heardFrom.size();
        SendMessageA(WindowOf(child), WM_KEYDOWN, 'K', 0);
        return m_pContainer->heardFrom.size() == before + 1 &&
               m_pContainer->heardFrom.back() == static_cast<KwObject*>(child);
    }

    EventLog m_log;
    ListeningPopup* m_pContainer = nullptr;
    RecordingComponent* m_pFirst = nullptr;
    RecordingComponent* m_pSecond = nullptr;
    KwFont* m_pFont = nullptr;
};

TEST_F(KwContainerTest, ChildrenAddedBeforeCreationGetEverythingInArrayOrder)
{
    m_pContainer->Add(m_pFirst);
    m_pContainer->Add(m_pSecond);
    EXPECT_EQ(m_pFirst->IsCreated(), 0);
    EXPECT_FALSE(HasContainerFont(m_pFirst));
    ASSERT_EQ(CreateShown(m_pContainer), 1);
    EXPECT_EQ(m_log, (EventLog{"container:OnAfterCreate", "first:OnAfterCreate",
                               "second:OnAfterCreate"}));
    for (RecordingComponent* child : {m_pFirst, m_pSecond}) {
        EXPECT_EQ(child->IsCreated(), 1);
        EXPECT_EQ(GetParent(WindowOf(child)), WindowOf(m_pContainer));
        EXPECT_TRUE(HasContainerFont(child));
        EXPECT_TRUE(ContainerHears(child));
    }

    m_log.clear();
    m_pSecond->FireAction(6, 60);
    EXPECT_EQ(m_log, (EventLog{"second:ActionPerformed 6 60", "container:ActionPerformed 6 60"}));
}

TEST_F(KwContainerTest, ChildAddedLaterGetsEverythingAtOnce)
{
    ASSERT_EQ(CreateShown(m_pContainer), 1);
    m_pContainer->Add(m_pFirst);
    EXPECT_EQ(m_pFirst->IsCreated(), 1);
    EXPECT_EQ(GetParent(WindowOf(m_pFirst)), WindowOf(m_pContainer));
    EXPECT_TRUE(HasContainerFont(m_pFirst));
    EXPECT_TRUE(ContainerHears(m_pFirst));
}

TEST_F(KwContainerTest, RemoveDestroysTheChildWindowAndStopsListening)
{
    ASSERT_EQ(CreateShown(m_pContainer), 1);
    m_pContainer->Add(m_pFirst);
    HWND child = WindowOf(m_pFirst);
    EXPECT_EQ(m_pContainer->Remove(m_pSecond), 0);
    EXPECT_EQ(m_pContainer->GetChildCount(), 1);
    EXPECT_EQ(m_pContainer->Remove(m_pFirst), 1);
    EXPECT_EQ(m_pContainer->GetChildCount(), 0);
    EXPECT_FALSE(IsWindow(child));
    m_log.clear();
    m_pFirst->FireAction(1, 1);
    EXPECT_EQ(m_log, (EventLog{"first:ActionPerformed 1 1"}));
}

TEST_F(KwContainerTest, ContainerHoldsOneReferencePerEntry)
{
    m_pContainer->Add(m_pFirst);
    m_pContainer->Add(m_pFirst);
    EXPECT_EQ(m_pContainer->GetChildCount(), 2);
    // Ours, and the container's two.
    EXPECT_EQ(m_pFirst->AddRef(), 4);
    m_pFirst->Release();
    m_pContainer->RemoveAll();
    EXPECT_EQ(m_pContainer->GetChildCount(), 0);
    EXPECT_EQ(m_pFirst->AddRef(), 2);
    m_pFirst->Release();
}

TEST_F(KwContainerTest, HitTestIncludesRightAndBottomEdgesAndTheEarlierChildWins)
{
    m_pContainer->Add(m_pFirst);
    m_pContainer->Add(m_pSecond);
    struct Probe {
        int x;
        int y;
        KwComponent* expected;
    };
    const Probe probes[] = {
        {10, 10, m_pFirst}, {30, 30, m_pFirst},  {25, 25, m_pFirst}, {31, 31, m_pSecond},
        {45, 45, m_pSecond}, {46, 45, nullptr},   {9, 10, nullptr},   {45, 46, nullptr},
    };
    for (const Probe& probe : probes) {
        KwComponent* found = m_pContainer->GetComponentAt(KwPoint(probe.x, probe.y));
        EXPECT_EQ(found, probe.expected) << "at " << probe.x << ", " << probe.y;
        if (found != nullptr) {
            found->Release();
        }
    }
    KwPopupWindow* empty = MakeCounted<KwPopupWindow>();
    EXPECT_EQ(empty->GetComponentAt(0, 0), nullptr);
    empty->Release();
}

TEST_F(KwContainerTest, ThreeDLookIsHandedToEveryChild)
{
    m_pContainer->Add(m_pFirst);
    m_pContainer->Set3DLook(0);
    EXPECT_EQ(m_pFirst->Is3DLook(), 0);
    m_pContainer->Add(m_pSecond);
    EXPECT_EQ(m_pSecond->Is3DLook(), 0);
    m_pContainer->Set3DLook(1);
    EXPECT_EQ(m_pFirst->Is3DLook(), 1);
    EXPECT_EQ(m_pSecond->Is3DLook(), 1);
}

TEST_F(KwContainerTest, FocusOfAChildCountsForTheContainer)
{
    m_pContainer->Add(m_pFirst);
    ASSERT_EQ(CreateShown(m_pContainer), 1);
    SetFocus(nullptr);
    EXPECT_EQ(m_pContainer->HasFocus(), 0);
    m_pFirst->RequestFocus();
    EXPECT_EQ(m_pFirst->HasFocus(), 1);
    EXPECT_EQ(m_pContainer->HasFocus(), 1);
}

TEST_F(KwContainerTest, RepaintReachesEveryChild)
{
    RecordingListener first(&m_log, "first");
    RecordingListener second(&m_log, "second");
    m_pContainer->Add(m_pFirst);
    m_pContainer->Add(m_pSecond);
    m_pFirst->AddComponentListener(&first);
    m_pSecond->AddComponentListener(&second);
    m_pContainer->Repaint(KwRect(3, 0, 7, 7));
    m_pContainer->RepaintAll();
    EXPECT_EQ(m_log, (EventLog{"first:OnPaint 3 7", "second:OnPaint 3 7", "first:OnPaint 0 20",
                               "second:OnPaint 0 20"}));
    m_pFirst->RemoveComponentListener(&first);
    m_pSecond->RemoveComponentListener(&second);
}

TEST_F(KwContainerTest, DestroyedContainerStopsListeningToItsChildren)
{
    m_pContainer->Add(m_pFirst);
    ASSERT_EQ(CreateShown(m_pContainer), 1);
    m_pContainer->DestroyNative();
    EXPECT_EQ(WindowOf(m_pFirst), nullptr);
    m_log.clear();
    m_pFirst->FireAction(2, 2);
    EXPECT_EQ(m_log, (EventLog{"first:ActionPerformed 2 2"}));
}

} // namespace
