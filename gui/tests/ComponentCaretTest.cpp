// The caret of a component on the system caret, and the caret description.
#include "ComponentTestSupport.h"

#include "ComponentCaret.h"

#include <gtest/gtest.h>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {


RECT CaretRect()
{
    GUITHREADINFO info;
    info.cbSize = sizeof info;
    RECT none = {-1, -1, -1, -1};
    return GetGUIThreadInfo(GetCurrentThreadId(), &info) ? info.rcCaret : none;
}

class ComponentCaretTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pComponent = MakeCounted<KwComponent>();
        m_pComponent->SetWindowType(KW_WINDOW_POPUP);
        m_pComponent->SetBounds(20, 20, 60, 40, 0);
        ASSERT_EQ(CreateShown(m_pComponent), 1);
        m_pCaret = m_pComponent->GetCaret();
        ASSERT_NE(m_pCaret, nullptr);
    }

    void TearDown() override
    {
        m_pCaret->DestroyCaret();
        m_pCaret->Release();
        m_pComponent->Release();
        PumpMessages();
    }

    KwComponent* m_pComponent = nullptr;
    IKwCaret* m_pCaret = nullptr;
};

TEST_F(ComponentCaretTest, SetHeightRecreatesOnlyOnAChange)
{
    EXPECT_EQ(m_pCaret->GetWidth(), 1);
    EXPECT_EQ(m_pCaret->GetHeight(), 16);
    ASSERT_EQ(m_pCaret->CreateCaret(), 1);
    m_pCaret->SetPosition(5, 7);
    RECT caret = CaretRect();
    EXPECT_EQ(caret.left, 5);
    EXPECT_EQ(caret.bottom - caret.top, 16);

    // The same height leaves the caret where it is.
    m_pCaret->SetHeight(16);
    caret = CaretRect();
    EXPECT_EQ(caret.left, 5);
    EXPECT_EQ(caret.top, 7);

    // A new height makes a new caret of that height.
    m_pCaret->SetHeight(20);
    caret = CaretRect();
    EXPECT_EQ(caret.bottom - caret.top, 20);
    EXPECT_EQ(caret.left, 0);
    EXPECT_EQ(m_pCaret->GetHeight(), 20);
}

TEST_F(ComponentCaretTest, SetWidthWaitsForTheNextCreate)
{
    ASSERT_EQ(m_pCaret->CreateCaret(), 1);
    m_pCaret->SetWidth(3);
    RECT caret = CaretRect();
    EXPECT_EQ(caret.right - caret.left, 1);
    ASSERT_EQ(m_pCaret->CreateCaret(), 1);
    caret = CaretRect();
    EXPECT_EQ(caret.right - caret.left, 3);
}

TEST_F(ComponentCaretTest, HeightOfAnUncreatedCaretIsOnlyStored)
{
    m_pCaret->SetHeight(30);
    EXPECT_EQ(m_pCaret->GetHeight(), 30);
    EXPECT_EQ(CaretRect().bottom - CaretRect().top, 0);
}

TEST(ComponentCaretWithoutWindow, OperationsAnswerZero)
{
    ComponentCaret* caret = MakeCounted<ComponentCaret>();
    EXPECT_EQ(caret->CreateCaret(), 0);
    EXPECT_EQ(caret->IsCaretCreated(), 0);
    EXPECT_EQ(caret->ShowCaret(), 0);
    EXPECT_EQ(caret->HideCaret(), 0);
    EXPECT_GT(caret->GetBlinkTime(), 0);
    caret->Release();
}

TEST(IKwCaretTest, ContextIsHeldWithOneReference)
{
    IKwCaret* caret = MakeCounted<IKwCaret>();
    KwObject* context = MakeCounted<KwObject>();
    caret->SetContext(context);
    caret->SetContext(context);
    KwObject* got = caret->GetContext();
    EXPECT_EQ(got, context);
    // Ours, the caret's and the one GetContext added.
    EXPECT_EQ(context->AddRef(), 4);
    context->Release();
    got->Release();
    caret->SetContext(nullptr);
    EXPECT_EQ(caret->GetContext(), nullptr);
    EXPECT_EQ(context->AddRef(), 2);
    context->Release();
    context->Release();
    EXPECT_EQ(caret->CreateCaret(), 0);
    caret->Release();
}

} // namespace
