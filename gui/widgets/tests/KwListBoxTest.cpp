// The list box: selection modes driven by real clicks, keys, the scroll
// bars it shows and follows, and the painting of selected rows.
#include "ScrollTestHost.h"

#include "KwListBox.h"

#include <gtest/gtest.h>

#include <string>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

// Holds Shift or Ctrl down in the thread's keyboard state while it lives.
class HeldKey {
public:
    explicit HeldKey(int key) : m_nKey(key) { Set(0x80); }
    ~HeldKey() { Set(0); }

private:
    void Set(BYTE state)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[m_nKey] = state;
        SetKeyboardState(keys);
    }
    int m_nKey;
};

// Twenty items in a list five rows high, 150 pixels wide.
class KwListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pHost = MakeCounted<ScrollTestHost>();
        m_pList = MakeCounted<KwListBox>();
        m_pList->SetBounds(10, 10, 150, 100, 0);
        for (int i = 0; i < 20; ++i) {
            m_pList->AddItem(KwString(("Item " + std::to_string(i)).c_str()));
        }
        m_pHost->Add(m_pList);
        ASSERT_EQ(CreateShown(m_pHost), 1);
        m_nRow = m_pList->GetLineHeight() + 1;
        ASSERT_GT(m_nRow, 5);
        m_pList->SetSize(150, 4 + 5 * m_nRow, 0);
        ASSERT_EQ(m_pList->GetVisibleRows(), 5);
    }

    void TearDown() override
    {
        m_pList->Release();
        m_pHost->Release();
        PumpMessages();
    }

    // A click on a visible row, 30 pixels in.
    void Click(int row)
    {
        SendMouse(m_pList, WM_LBUTTONDOWN, 30, 2 + row * m_nRow + 1);
        SendMouse(m_pList, WM_LBUTTONUP, 30, 2 + row * m_nRow + 1);
    }

    void Key(int virtualKey) { SendMessageA(WindowOf(m_pList), WM_KEYDOWN, virtualKey, 0); }

    int Selects()
    {
        PumpMessages();
        return m_pHost->Count(m_pList, EVT_LIST_SELECT);
    }

    std::string Selected()
    {
        std::string text;
        for (int i = 0; i < m_pList->GetItemCount(); ++i) {
            text += m_pList->IsSelected(i) ? std::to_string(i) + " " : "";
        }
        return text;
    }

    ScrollTestHost* m_pHost = nullptr;
    KwListBox* m_pList = nullptr;
    int m_nRow = 0;
};

TEST_F(KwListBoxTest, SingleModeKeepsOneSelectionAndPaintsIt)
{
    m_pList->SelectItem(3);
    m_pList->SelectItem(5);
    EXPECT_EQ(Selected(), "5 ");
    EXPECT_EQ(Selects(), 0);
    Click(2);
    EXPECT_EQ(Selected(), "2 ");
    EXPECT_EQ(m_pList->GetCurrentIndex(), 2);
    EXPECT_EQ(m_pList->GetFirstSelectedText(), "Item 2");
    EXPECT_EQ(Selects(), 1);

    // Dragging moves the single selection; the release posts it once; a
    // double click is posted on its own.
    SendMouse(m_pList, WM_LBUTTONDOWN, 30, 2 + 1);
    SendMouse(m_pList, WM_MOUSEMOVE, 30, 2 + 3 * m_nRow + 1);
    SendMouse(m_pList, WM_MOUSEMOVE, 30, 2 + 2 * m_nRow + 1);
    SendMouse(m_pList, WM_LBUTTONUP, 30, 2 + 2 * m_nRow + 1);
    SendMouse(m_pList, WM_LBUTTONDBLCLK, 30, 2 + 2 * m_nRow + 1);
    EXPECT_EQ(Selected(), "2 ");
    EXPECT_EQ(Selects(), 2);
    EXPECT_EQ(m_pHost->Count(m_pList, EVT_LIST_DOUBLE_CLICK), 1);

    // Selected rows are filled across the text width in the selection
    // colour; others stay white.
    HWND window = WindowOf(m_pList);
    int middle = 2 + 2 * m_nRow + m_nRow / 2;
    EXPECT_EQ(WindowPixel(window, 100, middle), 0x08246Bu);
    EXPECT_EQ(WindowPixel(window, 100, middle + m_nRow), 0xFFFFFFu);

    // Below the last item and outside the border nothing happens.
    m_pList->RemoveItemAt(4);
    m_pList->RemoveItemAt(3);
    m_pList->RemoveItem("Item 0");
    EXPECT_EQ(m_pList->GetCurrentIndex(), 1);
    EXPECT_EQ(m_pList->GetItemText(1), "Item 2");
    EXPECT_EQ(m_pList->GetItemText(99), "");
    SendMouse(m_pList, WM_LBUTTONDOWN, 1, 3 * m_nRow);
    EXPECT_EQ(Selected(), "1 ");
}

// Scrolled by two rows, so that visible rows 1 and 3 hold items 3 and 5.
TEST_F(KwListBoxTest, MultipleModeTogglesWithCtrlAndSelectsRangesWithShift)
{
    m_pList->SetMultipleSelection(1);
    m_pList->SetTopRow(2);
    {
        HeldKey ctrl(VK_CONTROL);
        Click(1);
        Click(3);
        EXPECT_EQ(Selected(), "3 5 ");
        Click(1);
        EXPECT_EQ(Selected(), "5 ");
        Click(1);
        EXPECT_EQ(Selected(), "3 5 ");
    }
    EXPECT_EQ(Selects(), 4);
    Click(2);
    EXPECT_EQ(Selected(), "4 ");
    {
        HeldKey shift(VK_SHIFT);
        Click(0);
        EXPECT_EQ(Selected(), "2 3 4 ");
        Click(4);
        EXPECT_EQ(Selected(), "4 5 6 ");
    }
    EXPECT_EQ(m_pList->GetCurrentIndex(), 4);
    TKwList<int> indices;
    EXPECT_EQ(m_pList->GetSelectedIndices(indices), 3);
}

// Twenty items in five rows: each key selects, keeps the current row in
// view, moves the vertical bar with the top row and posts a selection.
TEST_F(KwListBoxTest, NavigationKeysMoveTheSelectionAndPostIt)
{
    KwScrollBar* bar = m_pList->GetVerticalScrollBar();
    struct Step {
        int key;
        int current;
        int top;
    };
    const Step steps[] = {
        {VK_DOWN, 0, 0},  {VK_END, 19, 15},  {VK_HOME, 0, 0},  {VK_NEXT, 4, 0},
        {VK_NEXT, 9, 5},  {VK_UP, 8, 5},     {VK_PRIOR, 5, 5}, {VK_PRIOR, 0, 0},
        {VK_DOWN, 1, 0},  {VK_DOWN, 2, 0},   {VK_DOWN, 3, 0},  {VK_DOWN, 4, 0},
        {VK_DOWN, 5, 1},
    };
    int posted = 0;
    for (const Step& step : steps) {
        Key(step.key);
        ++posted;
        EXPECT_EQ(m_pList->GetCurrentIndex(), step.current) << "key " << step.key;
        EXPECT_EQ(m_pList->GetTopRow(), step.top) << "key " << step.key;
        EXPECT_EQ(bar->GetValue(), step.top);
        EXPECT_EQ(Selected(), std::to_string(step.current) + " ");
    }
    EXPECT_EQ(Selects(), posted);
    Key(VK_HOME);
    Key(VK_UP);
    Key(VK_RETURN);
    EXPECT_EQ(Selects(), posted + 2);
    bar->Release();
}

TEST_F(KwListBoxTest, ScrollBarsAppearWhenNeededAndDriveTheView)
{
    KwScrollBar* vertical = m_pList->GetVerticalScrollBar();
    KwScrollBar* horizontal = m_pList->GetHorizontalScrollBar();
    EXPECT_TRUE(IsWindowVisible(WindowOf(vertical)));
    EXPECT_FALSE(IsWindowVisible(WindowOf(horizontal)));
    EXPECT_EQ(vertical->GetLocation().GetX(), 130);
    EXPECT_EQ(vertical->GetMaximum(), 20);
    EXPECT_EQ(vertical->GetVisibleAmount(), 5);

    KwArrowButton* down = vertical->GetIncreaseArrow();
    SendMouse(down, WM_LBUTTONDOWN, 5, 5);
    SendMouse(down, WM_LBUTTONUP, 5, 5);
    PumpMessages();
    EXPECT_EQ(m_pList->GetTopRow(), 1);
    down->Release();

    // A wide item needs the horizontal bar, which takes a row; the corner
    // between the bars is filled in the bars' colour.
    m_pList->AddItem("A rather long item that is much wider than the list box");
    EXPECT_TRUE(IsWindowVisible(WindowOf(horizontal)));
    EXPECT_EQ(m_pList->GetVisibleRows(), (4 + 5 * m_nRow - 4 - 18) / m_nRow);
    EXPECT_EQ(horizontal->GetSize().GetWidth(), 150 - 4 - 18);
    KwSize size = m_pList->GetSize();
    EXPECT_EQ(WindowPixel(WindowOf(m_pList), 140, size.GetHeight() - 10), 0xDCDCDCu);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Key(VK_LEFT);
    EXPECT_EQ(m_pList->GetHorizontalOffset(), 16);
    EXPECT_EQ(horizontal->GetValue(), 16);

    m_pList->SelectItem(7);
    m_pList->RemoveAllItems();
    EXPECT_EQ(m_pList->GetCurrentIndex(), -1);
    EXPECT_EQ(m_pList->GetFirstSelectedIndex(), -1);
    EXPECT_FALSE(IsWindowVisible(WindowOf(vertical)));
    EXPECT_FALSE(IsWindowVisible(WindowOf(horizontal)));
    Key(VK_DOWN);
    EXPECT_EQ(Selects(), 0);
    vertical->Release();
    horizontal->Release();
}

} // namespace
