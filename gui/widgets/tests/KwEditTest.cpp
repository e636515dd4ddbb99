// The edit field driven by real key, character and mouse messages: length
// limit, clipboard, double-byte characters, selection, scrolling, echo
// painting and the read-only mode.
#include "ComponentTestSupport.h"

#include "ComponentGraphics.h"
#include "KwBuffer.h"
#include "KwCursor.h"
#include "KwEdit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

std::vector<unsigned int> BufferOf(KwComponent* component)
{
    std::vector<unsigned int> pixels;
    IKwGraphics* graphics = component->GetGraphics();
    ComponentGraphics* surface = dynamic_cast<ComponentGraphics*>(graphics);
    KwBuffer bytes;
    int width = 0;
    int height = 0;
    if (surface != nullptr && surface->CopyToBuffer(&bytes, &width, &height) == 1) {
        const unsigned char* bgr = bytes.GetPointer(0);
        for (int i = 0; i < width * height; ++i, bgr += 3) {
            pixels.push_back(static_cast<unsigned int>(bgr[2]) << 16 | bgr[1] << 8 | bgr[0]);
        }
    }
    if (graphics != nullptr) {
        graphics->Release();
    }
    return pixels;
}

// Sets the thread's view of the Ctrl and Shift keys, which the field asks
// for while it handles a key.
void HoldKeys(bool control, bool shift)
{
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
}

class KwEditTest : public ::testing::Test {
protected:
    void SetUp() override { Make(120); }

    void TearDown() override
    {
        HoldKeys(false, false);
        m_pEdit->RemoveActionListener(&m_listener);
        m_pEdit->Release();
        PumpMessages();
    }

    void Make(int width)
    {
        if (m_pEdit != nullptr) {
            m_pEdit->RemoveActionListener(&m_listener);
            m_pEdit->Release();
        }
        m_pEdit = MakeCounted<KwEdit>();
        m_pEdit->SetWindowType(KW_WINDOW_POPUP);
        m_pEdit->SetBounds(20, 20, width, 24, 0);
        m_pEdit->AddActionListener(&m_listener);
        ASSERT_EQ(CreateShown(m_pEdit), 1);
        m_hWindow = WindowOf(m_pEdit);
        SetFocus(m_hWindow);
        m_log.clear();
    }

    void Type(const char* bytes)
    {
        for (; *bytes != '\0'; ++bytes) {
            SendMessageA(m_hWindow, WM_CHAR, static_cast<unsigned char>(*bytes), 1);
        }
    }

    void Key(int virtualKey, bool control = false, bool shift = false)
    {
        HoldKeys(control, shift);
        SendMessageA(m_hWindow, WM_KEYDOWN, virtualKey, 1);
        HoldKeys(false, false);
    }

    void Mouse(UINT message, int x)
    {
        SendMessageA(m_hWindow, message, 0, MAKELPARAM(x, 10));
    }

    size_t Changes() const { return m_log.size(); }

    EventLog m_log;
    RecordingActionListener m_listener{&m_log, "listener"};
    KwEdit* m_pEdit = nullptr;
    HWND m_hWindow = nullptr;
};

TEST_F(KwEditTest, TypingStopsAtTheMaximumLength)
{
    m_pEdit->SetMaxLength(3);
    m_pEdit->SetMaxLength(-1);
    Type("abcd");
    EXPECT_EQ(m_pEdit->GetText(), "abc");
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 3);
    EXPECT_EQ(m_log, (EventLog(3, "listener:ActionPerformed 68159745 0")));
    // Delete at the end removes nothing and tells nobody.
    Key(VK_DELETE);
    EXPECT_EQ(Changes(), 3u);
}

// On a single-byte code page a byte such as 0xE9 is a letter of its own.
TEST_F(KwEditTest, TypedBytesAboveAsciiAreKeptUnlessTheyLeadACharacter)
{
    if (IsDBCSLeadByte(0xE9)) {
        GTEST_SKIP() << "0xE9 leads a character on this code page";
    }
    Type("\xE9t\xE9\x7F");
    EXPECT_EQ(m_pEdit->GetText(), "\xE9t\xE9");
}

TEST_F(KwEditTest, PasteInsertsUntilTheFieldIsFullAndDropsLineBreaks)
{
    m_pEdit->SetMaxLength(3);
    m_pEdit->SetText("ab");
    ASSERT_EQ(m_pEdit->CopyToClipboard("xyz"), 1);
    Key(VK_END);
    Key('V', true);
    EXPECT_EQ(m_pEdit->GetText(), "abx");
    EXPECT_EQ(Changes(), 1u);

    // Ctrl+Z empties the field without an event.
    Key('z', true);
    EXPECT_EQ(m_pEdit->GetText(), "");
    EXPECT_EQ(Changes(), 1u);
    m_pEdit->SetMaxLength(10);
    ASSERT_EQ(m_pEdit->CopyToClipboard("1\r\n2\t3"), 1);
    Key('v', true);
    EXPECT_EQ(m_pEdit->GetText(), "123");
}

TEST_F(KwEditTest, CutTakesTheSelectionAndCopyLeavesIt)
{
    m_pEdit->SetText("hello");
    m_pEdit->Select(1, 4);
    Key('C', true);
    EXPECT_EQ(ClipboardText(), "ell");
    EXPECT_EQ(m_pEdit->GetText(), "hello");
    EXPECT_EQ(Changes(), 0u);
    Key('X', true);
    EXPECT_EQ(m_pEdit->GetText(), "ho");
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 1);
    EXPECT_EQ(Changes(), 1u);
}

TEST_F(KwEditTest, ShiftLeftSelectsAndLeftCollapsesInPlace)
{
    m_pEdit->SetText("abcdef");
    m_pEdit->RevealCaretAt(5);
    Key(VK_LEFT, false, true);
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 4);
    EXPECT_EQ(m_pEdit->GetSelectionAnchor(), 5);
    EXPECT_EQ(m_pEdit->GetSelectedText(), "e");

    // The focused selection is painted in the selection colour.
    int before = m_pEdit->GetTextExtent("abcd").GetWidth();
    EXPECT_EQ(WindowPixel(m_hWindow, 4 + before + 1, 4), 0x08246Bu);

    Key(VK_LEFT);
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 4);
    EXPECT_EQ(m_pEdit->GetSelectionAnchor(), 4);
    EXPECT_NE(WindowPixel(m_hWindow, 4 + before + 1, 4), 0x08246Bu);
    Key(VK_HOME, false, true);
    EXPECT_EQ(m_pEdit->GetSelectedText(), "abcd");
}

TEST_F(KwEditTest, MouseClicksDragsAndDoubleClicks)
{
    m_pEdit->SetText("abc");
    int a = m_pEdit->GetTextExtent("a").GetWidth();
    Mouse(WM_LBUTTONDOWN, 110);
    Mouse(WM_LBUTTONUP, 110);
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 3);
    EXPECT_EQ(m_pEdit->GetSelectionAnchor(), 3);

    // Just past the middle of "b" lands after it; just before, before it.
    int b = m_pEdit->GetTextExtent("b").GetWidth();
    Mouse(WM_LBUTTONDOWN, 4 + a + b / 2 + 1);
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 2);
    Mouse(WM_MOUSEMOVE, 4 + a + b / 2 - 1);
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 1);
    Mouse(WM_MOUSEMOVE, 2);
    Mouse(WM_LBUTTONUP, 2);
    EXPECT_EQ(m_pEdit->GetSelectedText(), "ab");
    EXPECT_EQ(GetCapture(), nullptr);

    Mouse(WM_LBUTTONDBLCLK, 5);
    EXPECT_EQ(m_pEdit->GetSelectionAnchor(), 0);
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 3);
}

// Left at the view's left edge scrolls back by the step, which a narrow
// field takes from the width of a sample double-byte character.
TEST_F(KwEditTest, ScrollStepFollowsTheFieldWidth)
{
    int sample = m_pEdit->GetTextExtent("\xD1\xAA").GetWidth();
    ASSERT_GT(sample, 0);
    const struct {
        int width;
        int step;
    } cases[] = {{2 * sample, 1}, {4 * sample, 3}, {5 * sample + 1, 5}};
    for (const auto& c : cases) {
        Make(c.width);
        Type(std::string(40, 'W').c_str());
        int visible = m_pEdit->GetVisibleCaretIndex();
        EXPECT_GT(m_pEdit->GetCaretIndex(), visible) << c.width;
        EXPECT_LE(4 + visible * m_pEdit->GetTextExtent("W").GetWidth(), c.width - 5) << c.width;
        while (m_pEdit->GetVisibleCaretIndex() > 0) {
            Key(VK_LEFT);
        }
        Key(VK_LEFT);
        EXPECT_EQ(m_pEdit->GetVisibleCaretIndex(), c.step - 1) << c.width;
        Key(VK_HOME);
        EXPECT_EQ(m_pEdit->GetVisibleCaretIndex(), 0);
        EXPECT_EQ(m_pEdit->GetCaretIndex(), 0);
    }
}

// An echo field looks exactly like a plain field showing echo characters.
TEST_F(KwEditTest, EchoModeDrawsOnlyTheEchoCharacter)
{
    SetFocus(nullptr);
    m_pEdit->SetText("***");
    std::vector<unsigned int> stars = BufferOf(m_pEdit);
    m_pEdit->SetText("Wk9");
    std::vector<unsigned int> plain = BufferOf(m_pEdit);
    m_pEdit->SetEchoMode(1, "*");
    std::vector<unsigned int> echoed = BufferOf(m_pEdit);
    ASSERT_FALSE(stars.empty());
    EXPECT_NE(plain, stars);
    EXPECT_EQ(echoed, stars);
    EXPECT_EQ(m_pEdit->GetText(), "Wk9");
}

TEST_F(KwEditTest, ReadOnlyFieldOnlyCopies)
{
    m_pEdit->SetText("abc");
    m_pEdit->SetEditable(0);
    m_pEdit->SelectAll();
    ASSERT_EQ(m_pEdit->CopyToClipboard("zz"), 1);
    Type("x");
    Key(VK_BACK);
    Key(VK_DELETE);
    Key('V', true);
    Key('X', true);
    Key('Z', true);
    EXPECT_EQ(m_pEdit->GetText(), "abc");
    EXPECT_EQ(Changes(), 0u);
    Key('C', true);
    EXPECT_EQ(ClipboardText(), "abc");
}

// The field picks its cursor as the pointer comes in and leaves it alone
// while the pointer stays.
TEST_F(KwEditTest, CursorIsTheIBeamOnlyWhileEditable)
{
    auto pointerQuery = [this]() {
        SendMessageA(m_hWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWindow),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(pointerQuery(), LoadCursor(nullptr, IDC_IBEAM));
    KwCursor* hand = MakeCounted<KwCursor>();
    hand->SetType(KW_CURSOR_HAND);
    m_pEdit->SetCursor(hand);
    EXPECT_EQ(pointerQuery(), LoadCursor(nullptr, IDC_HAND));

    m_pEdit->SetEditable(0);
    EXPECT_EQ(pointerQuery(), LoadCursor(nullptr, IDC_ARROW));
    m_pEdit->SetEditable(1);
    SendMessageA(m_hWindow, WM_MOUSELEAVE, 0, 0);
    m_pEdit->SetCursor(hand);
    hand->Release();
    EXPECT_EQ(pointerQuery(), LoadCursor(nullptr, IDC_IBEAM));
}

TEST(KwEditUnrealised, KeepsTheTextUntilItHasAWindow)
{
    KwEdit* edit = MakeCounted<KwEdit>();
    edit->SetMaxLength(2);
    edit->SetText("abcd");
    EXPECT_EQ(edit->GetText(), "abcd");
    edit->SetWindowType(KW_WINDOW_POPUP);
    edit->SetBounds(20, 20, 80, 24, 0);
    ASSERT_EQ(CreateShown(edit), 1);
    EXPECT_EQ(edit->GetText(), "ab");
    edit->Release();
    PumpMessages();
}

// Typed double-byte characters arrive as two character messages.
class KwEditCp936 : public KwEditTest {};

TEST_F(KwEditCp936, LeadAndTrailByteMakeOneCharacter)
{
    ASSERT_EQ(GetACP(), 936u);
    Type("a\xD6\xD0" "b");
    EXPECT_EQ(m_pEdit->GetText(), "a\xD6\xD0" "b");
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 3);
    EXPECT_EQ(Changes(), 3u);
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 1);
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(m_pEdit->GetSelectedText(), "\xD6\xD0");
    Key(VK_RIGHT);
    Key(VK_BACK);
    EXPECT_EQ(m_pEdit->GetText(), "ab");
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 1);

    // A control character cancels a waiting lead byte.
    Type("\xD6\x08" "c");
    EXPECT_EQ(m_pEdit->GetText(), "acb");
    m_pEdit->SetText("\xD6\xD0\xCE\xC4");
    m_pEdit->SetCaretIndex(9);
    EXPECT_EQ(m_pEdit->GetCaretIndex(), 2);
}

} // namespace
