// The combo box driven by real clicks and keys: choosing through the list,
// the change event, closing by a press outside, the drop-down's scroll bar
// and where the list opens.
#include "ScrollTestHost.h"

#include "KwComboBox.h"
#include "KwComboBoxArrowButton.h"
#include "KwComboBoxEdit.h"
#include "KwComboBoxListBox.h"

#include <gtest/gtest.h>

#include <string>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const int kComboX = 10;
const int kComboY = 10;
const int kComboHeight = 22;

class KwComboBoxTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (m_pList != nullptr) {
            m_pList->Release();
            m_pArrow->Release();
            m_pEdit->Release();
        }
        m_pCombo->Release();
        m_pHost->Release();
        PumpMessages();
    }

    // A combo box of count items, item 0 chosen, in a host whose top edge
    // is at hostY on the screen.
    void Make(int count, int hostY)
    {
        m_pHost = MakeCounted<ScrollTestHost>();
        m_pHost->SetLocation(60, hostY, 0);
        m_pCombo = MakeCounted<KwComboBox>();
        m_pCombo->SetBounds(kComboX, kComboY, 120, kComboHeight, 0);
        for (int i = 0; i < count; ++i) {
            m_pCombo->AddItem(KwString(("Item " + std::to_string(i)).c_str()));
        }
        m_pCombo->ChooseItem(0);
        m_pHost->Add(m_pCombo);
        ASSERT_EQ(CreateShown(m_pHost), 1);
        m_pList = m_pCombo->GetListBox();
        m_pArrow = m_pCombo->GetArrowButton();
        m_pEdit = m_pCombo->GetEdit();
        ASSERT_NE(m_pList, nullptr);
    }

    void PressArrow() { SendMouse(m_pArrow, WM_LBUTTONDOWN, 5, 5); }

    // A click on a row of the open list, whose rows start one pixel down.
    void ClickRow(int row)
    {
        int y = 1 + row * (m_pList->GetLineHeight() + 1) + m_pList->GetLineHeight() / 2;
        SendMouse(m_pList, WM_LBUTTONDOWN, 20, y);
        SendMouse(m_pList, WM_LBUTTONUP, 20, y);
        PumpMessages();
    }

    void Key(int virtualKey)
    {
        SendMessageA(WindowOf(m_pEdit), WM_KEYDOWN, virtualKey, 1);
        PumpMessages();
    }

    int Changes() const { return m_pHost->Count(m_pCombo, EVT_COMBO_SELECTION_CHANGED); }
    bool ListShown() { return IsWindowVisible(WindowOf(m_pList)) != 0; }

    ScrollTestHost* m_pHost = nullptr;
    KwComboBox* m_pCombo = nullptr;
    KwComboBoxListBox* m_pList = nullptr;
    KwComboBoxArrowButton* m_pArrow = nullptr;
    KwComboBoxEdit* m_pEdit = nullptr;
};

TEST_F(KwComboBoxTest, ChoosingAnotherItemPostsOnceAndTheSameItemNever)
{
    Make(3, 60);
    EXPECT_EQ(m_pCombo->GetEditText(), "Item 0");
    PressArrow();
    ASSERT_TRUE(ListShown());
    EXPECT_EQ(GetCapture(), WindowOf(m_pList));
    // The release of the opening press reaches the list, which ignores it.
    SendMouse(m_pList, WM_LBUTTONUP, 100, -10);
    EXPECT_TRUE(ListShown());

    ClickRow(1);
    EXPECT_FALSE(ListShown());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(m_pCombo->GetEditText(), "Item 1");
    EXPECT_EQ(m_pCombo->GetChosenIndex(), 1);
    EXPECT_EQ(Changes(), 1);

    PressArrow();
    ClickRow(1);
    EXPECT_EQ(Changes(), 1);

    // From the keyboard: Down opens on the first item, moves, Enter takes it.
    Key(VK_DOWN);
    ASSERT_TRUE(ListShown());
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_FALSE(ListShown());
    EXPECT_EQ(m_pCombo->GetEditText(), "Item 2");
    EXPECT_EQ(Changes(), 2);
}

TEST_F(KwComboBoxTest, PressOutsideClosesTheListWithoutChoosing)
{
    Make(3, 60);
    PressArrow();
    ASSERT_TRUE(ListShown());
    SendMouse(m_pList, WM_LBUTTONDOWN, -30, -40);
    EXPECT_FALSE(ListShown());
    EXPECT_EQ(GetCapture(), nullptr);
    PumpMessages();
    EXPECT_EQ(m_pCombo->GetEditText(), "Item 0");
    EXPECT_EQ(Changes(), 0);
}

TEST_F(KwComboBoxTest, FocusGoesToTheFieldAndShiftTabClosesTheList)
{
    Make(3, 60);
    SetFocus(WindowOf(m_pCombo));
    EXPECT_EQ(GetFocus(), WindowOf(m_pEdit));
    Key(VK_DOWN);
    ASSERT_TRUE(ListShown());
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Key(VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_FALSE(ListShown());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Changes(), 0);
}

// The open list holds the mouse, so it hands the press on its scroll bar's
// arrow to the bar.
TEST_F(KwComboBoxTest, ScrollBarOfTheOpenListScrollsIt)
{
    Make(8, 60);
    PressArrow();
    ASSERT_EQ(m_pList->GetVisibleRows(), 5);
    KwSize size = m_pList->GetSize();
    int x = size.GetWidth() - 10;
    int y = size.GetHeight() - 10;
    SendMouse(m_pList, WM_LBUTTONDOWN, x, y);
    SendMouse(m_pList, WM_LBUTTONUP, x, y);
    PumpMessages();
    EXPECT_EQ(m_pList->GetTopRow(), 1);
    EXPECT_TRUE(ListShown());
    EXPECT_EQ(GetCapture(), WindowOf(m_pList));
    EXPECT_EQ(Changes(), 0);
}

TEST_F(KwComboBoxTest, ListOpensBelowOrAboveNearTheBottomOfTheScreen)
{
    int screen = GetSystemMetrics(SM_CYSCREEN);
    const int hosts[] = {60, screen - kComboY - kComboHeight - 20};
    for (int hostY : hosts) {
        if (m_pCombo != nullptr) {
            TearDown();
            m_pList = nullptr;
        }
        Make(3, hostY);
        RECT combo;
        GetWindowRect(WindowOf(m_pCombo), &combo);
        PressArrow();
        RECT list;
        GetWindowRect(WindowOf(m_pList), &list);
        int height = (m_pList->GetFontHeight() + 1) * 5 + 3;
        EXPECT_EQ(list.bottom - list.top, height);
        EXPECT_EQ(list.left, combo.left);
        EXPECT_EQ(list.right - list.left, 119);
        if (hostY == 60) {
            EXPECT_EQ(list.top, combo.bottom - 1);
        } else {
            EXPECT_EQ(list.bottom, combo.top);
        }
        EXPECT_EQ(m_pList->GetVisibleRows(), 5);
    }
}

} // namespace
