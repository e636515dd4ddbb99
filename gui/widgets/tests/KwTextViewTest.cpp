// Text view: rows from appended text, auto-scrolling, mouse selection with
// its painting, and Ctrl+C onto the clipboard, in the Western and the GBK
// code page.
#include "ComponentTestSupport.h"

#include "KwPopupWindow.h"
#include "KwScrollBar.h"
#include "KwTextView.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

const unsigned int kWhite = 0xFFFFFF;
const unsigned int kSelection = 0x08246B;

std::string RowText(KwTextView* view, int row)
{
    TKwList<KwTextAttrib*>* runs = view->GetRow(row);
    std::string text;
    for (int more = runs->MoveFirst(); more; more = runs->MoveNext()) {
        const KwString& piece = (*runs->GetAt())->GetText();
        text.append(piece.GetText(), static_cast<size_t>(piece.GetLength()));
    }
    return text;
}

// A shown text view inside a pop-up, driven by messages sent to its window.
class KwTextViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pPopup = MakeCounted<KwPopupWindow>();
        m_pPopup->SetBounds(60, 60, 320, 220, 0);
        m_pView = MakeCounted<KwTextView>();
        m_pView->SetBounds(10, 10, 240, 120, 0);
        m_pPopup->Add(m_pView);
        ASSERT_EQ(CreateShown(m_pPopup), 1);
        m_hView = WindowOf(m_pView);
        ASSERT_NE(m_hView, nullptr);
        ASSERT_GT(m_pView->GetLineHeight(), 0);
    }

    void TearDown() override
    {
        m_pPopup->DestroyNative();
        m_pView->Release();
        m_pPopup->Release();
        PumpMessages();
    }

    int Width(const char* text) { return m_pView->GetTextExtent(text).GetWidth(); }
    // The vertical middle of a row in view.
    int RowMiddle(int row)
    {
        int height = m_pView->GetLineHeight() + 1;
        return 2 + (row - m_pView->GetTopRow()) * height + height / 2;
    }
    void Mouse(UINT message, int x, int y)
    {
        SendMessageA(m_hView, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(x, y));
    }
    void Drag(int x1, int y1, int x2, int y2)
    {
        Mouse(WM_LBUTTONDOWN, x1, y1);
        Mouse(WM_MOUSEMOVE, x2, y2);
        Mouse(WM_LBUTTONUP, x2, y2);
    }
    // Ctrl held in the thread's key state while the C key arrives.
    void PressCtrl(int key)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        BYTE saved = keys[VK_CONTROL];
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageA(m_hView, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
        keys[VK_CONTROL] = saved;
        SetKeyboardState(keys);
    }
    void FillClipboard(const char* text)
    {
        ASSERT_EQ(m_pView->CopyToClipboard(text), 1);
    }

    KwPopupWindow* m_pPopup = nullptr;
    KwTextView* m_pView = nullptr;
    HWND m_hView = nullptr;
};

TEST(KwTextViewRows, LineBreaksTabsAndRuns)
{
    KwTextView* view = MakeCounted<KwTextView>();
    EXPECT_EQ(view->GetRowCount(), 1);
    view->Append("a\r\nb\n", KwColor(0, 0, 0));
    ASSERT_EQ(view->GetRowCount(), 3);
    EXPECT_EQ(RowText(view, 0), "a");
    EXPECT_EQ(RowText(view, 1), "b");
    EXPECT_EQ(RowText(view, 2), "");

    // The row begun by the line break holds an empty run of that style,
    // which same-styled text joins; another colour starts a new run.
    view->Append("x\ty", KwColor(0, 0, 0));
    view->Append("z", KwColor(0, 0, 0));
    view->Append("!", KwColor(255, 0, 0));
    EXPECT_EQ(RowText(view, 2), "x        yz!");
    EXPECT_EQ(view->GetRow(2)->GetCount(), 2);

    KwString across = view->GetText(KwTSIndex(2, 0, 3), KwTSIndex(0, 0, 0));
    EXPECT_STREQ(across.GetText(), "a\r\nb\r\nx  ");
    EXPECT_EQ(view->GetRow(3), nullptr);
    EXPECT_EQ(view->GetRow(-1), nullptr);
    EXPECT_EQ(view->GetRowWidth(7), 0);
    view->Release();
}

TEST_F(KwTextViewTest, AppendingAtTheBottomFollowsTheLastRowAndScrolledUpStays)
{
    for (int i = 0; i < 40; ++i) {
        m_pView->Append(KwString("line ") + KwString(i) + "\n", KwColor(0, 0, 0));
    }
    int visible = m_pView->GetVisibleRows();
    ASSERT_GT(visible, 2);
    ASSERT_LT(visible, 40);
    // Row 39 holds the last text; row 40 is the empty row after it.
    EXPECT_EQ(m_pView->GetTopRow() + visible - 1, 39);
    KwScrollBar* bar = m_pView->GetVScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetValue(), m_pView->GetTopRow());
    // The last visible row shows text: its band is not all background.
    int y = RowMiddle(39);
    bool inked = false;
    for (int x = 3; x < 3 + Width("line 39"); ++x) {
        inked = inked || WindowPixel(m_hView, x, y) != kWhite;
    }
    EXPECT_TRUE(inked);

    // A press on the track above the thumb pages up, as a user would.
    HWND track = WindowOf(bar);
    SendMessageA(track, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 22));
    SendMessageA(track, WM_LBUTTONUP, 0, MAKELPARAM(9, 22));
    int scrolledTop = m_pView->GetTopRow();
    ASSERT_TRUE(PumpUntil([&] { return m_pView->GetTopRow() != scrolledTop; }, 2000));
    scrolledTop = m_pView->GetTopRow();
    EXPECT_EQ(scrolledTop, bar->GetValue());
    EXPECT_LT(scrolledTop + visible - 1, 39);
    m_pView->Append("more\nand more\n", KwColor(0, 0, 0));
    EXPECT_EQ(m_pView->GetTopRow(), scrolledTop);
    bar->Release();
}

TEST_F(KwTextViewTest, DraggingOverTwoRowsSelectsAndCtrlCCopiesWithCrLf)
{
    m_pView->Append("hello world\r\nsecond row\n", KwColor(0, 0, 0));
    FillClipboard("old");
    Drag(3 + Width("he"), RowMiddle(0), 3 + Width("second"), RowMiddle(1));
    EXPECT_EQ(m_pView->GetSelectionAnchor().Compare(KwTSIndex(0, 0, 2)), 0);
    EXPECT_EQ(m_pView->GetSelectionEnd().Compare(KwTSIndex(1, 0, 6)), 0);

    // The space inside the selection is on the selection background, the
    // one after its end is not.
    EXPECT_EQ(WindowPixel(m_hView, 3 + Width("hello") + Width(" ") / 2, RowMiddle(0)), kSelection);
    EXPECT_EQ(WindowPixel(m_hView, 3 + Width("second") + Width(" ") / 2, RowMiddle(1)), kWhite);
    EXPECT_NE(WindowPixel(m_hView, 3 + Width("h") / 2, RowMiddle(0)), kSelection);

    PressCtrl('X');
    EXPECT_EQ(ClipboardText(), "old");
    PressCtrl('C');
    EXPECT_EQ(ClipboardText(), "llo world\r\nsecond");

    // A click without dragging leaves an empty selection: nothing is copied.
    FillClipboard("old");
    Drag(5, RowMiddle(0), 5, RowMiddle(0));
    PressCtrl('C');
    EXPECT_EQ(ClipboardText(), "old");
}

class KwTextViewCp936 : public KwTextViewTest {};

TEST_F(KwTextViewCp936, SelectionNeverSplitsADoubleByteCharacter)
{
    ASSERT_EQ(GetACP(), 936u);
    // Two Chinese characters, then two Latin letters.
    const char* text = "\xD6\xD0\xCE\xC4" "ab";
    m_pView->Append(text, KwColor(0, 0, 0));
    int y = RowMiddle(0);
    for (int x = 0; x <= 3 + Width(text) + 4; ++x) {
        int offset = m_pView->HitTest(KwPoint(x, y)).GetOffset();
        EXPECT_TRUE(offset == 0 || offset == 2 || offset == 4 || offset == 5 || offset == 6)
            << "offset " << offset << " at x " << x;
    }
    // From the start into the right half of the second character.
    int second = 3 + Width("\xD6\xD0") + Width("\xCE\xC4") * 3 / 4;
    Drag(3, y, second, y);
    PressCtrl('c');
    EXPECT_EQ(ClipboardText(), "\xD6\xD0\xCE\xC4");
}

} // namespace
