// A single-line text entry field with caret, selection, clipboard, a
// maximum length and a password echo.
#include "KwEdit.h"

#include "IKwCaret.h"
#include "IKwGraphics.h"
#include "KwCursor.h"
#include "KwKeyCodes.h"
#include "KwPaintColors.h"

#include <windows.h>

#include <new>

namespace KwSDK {

// One character of the working copy: one byte, or a lead and a trail byte.
struct KwEdit::CharNode {
    char bytes[3];
    int count;
    int width;
    int height;
    CharNode* next;
    CharNode* prev;
};

namespace {

const int kDefaultMaxLength = 2000;
const int kDefaultScrollStep = 5;
const int kTextX = 4;
const int kTextY = 2;
const int kHighlightTop = 3;
// The caret counts as leaving the view this many pixels before the edge.
const int kRightMargin = 5;
const int kShiftKey = 16;
const int kControlKey = 17;
// A double-byte character measured to choose the scroll step of a narrow
// field.
const char kSampleCharacter[] = "\xD1\xAA";
// Trail bytes of the double-byte code pages never lie below this value.
const unsigned char kLowestTrailByte = 0x40;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

KwCursor* MakeCursor(int type)
{
    KwCursor* cursor = new (std::nothrow) KwCursor();
    if (cursor != nullptr) {
        cursor->AddRef();
        cursor->SetType(type);
    }
    return cursor;
}

void ReleaseCursor(KwCursor* cursor)
{
    if (cursor != nullptr) {
        cursor->Release();
    }
}

// The byte count of the character at text: 2 for a lead byte followed by a
// trail byte, otherwise 1.
int CharacterSize(const char* text)
{
    const char* next = CharNextA(text);
    int size = static_cast<int>(next - text);
    return size < 1 ? 1 : (size > 2 ? 2 : size);
}

// Hides the system caret of a focused field while a change is made and
// shows it again at its new place when the change is done.
class HiddenCaret {
public:
    HiddenCaret(KwComponent* field, int focused) : m_pCaret(focused ? field->GetCaret() : nullptr)
    {
        if (m_pCaret != nullptr) {
            m_pCaret->HideCaret();
        }
    }
    ~HiddenCaret()
    {
        if (m_pCaret != nullptr) {
            m_pCaret->ShowCaret();
            m_pCaret->Release();
        }
    }

private:
    HiddenCaret(const HiddenCaret&) = delete;
    HiddenCaret& operator=(const HiddenCaret&) = delete;

    IKwCaret* m_pCaret;
};

} // namespace

KwEdit::KwEdit()
    : m_sText(""),
      m_pFirst(nullptr),
      m_pLast(nullptr),
      m_nLength(0),
      m_nMaxLength(kDefaultMaxLength),
      m_nFirstVisible(0),
      m_nAnchor(0),
      m_nCaret(0),
      m_nScrollStep(kDefaultScrollStep),
      m_nLineHeight(0),
      m_bReadOnly(0),
      m_bHasFocus(0),
      m_bLeadPending(0),
      m_lead{0, 0, 0},
      m_bEcho(0),
      m_sEcho("*"),
      m_nEchoWidth(0),
      m_cSelectionBack(8, 36, 107),
      m_cSelectionText(255, 255, 255),
      m_pTextCursor(MakeCursor(KW_CURSOR_TEXT)),
      m_pArrowCursor(MakeCursor(KW_CURSOR_ARROW)),
      m_bPointerInside(0),
      m_bRealised(0),
      m_nTextX(kTextX),
      m_nHighlightTop(kHighlightTop),
      m_bBorder(1)
{
    AppendTypeName("KwEdit");
    SetClassName("KwEdit");
    SetBackground(KwColor(255, 255, 255));
}

KwEdit::~KwEdit()
{
    ClearCharacters();
    ReleaseCursor(m_pTextCursor);
    ReleaseCursor(m_pArrowCursor);
}

// ---- Text and settings ---------------------------------------------------

void KwEdit::SetText(const KwString& text)
{
    m_sText = text;
    if (m_bRealised) {
        BuildCharacters(text);
    }
    m_nAnchor = 0;
    m_nCaret = 0;
    m_nFirstVisible = 0;
    PlaceCaret();
    RepaintAll();
}

KwString KwEdit::GetText()
{
    if (m_bRealised) {
        m_sText = Substring(0, m_nLength);
    }
    return m_sText;
}

void KwEdit::SetEchoMode(int echo, const KwString& character)
{
    m_bEcho = echo;
    if (character.GetLength() > 0) {
        m_sEcho = KwString(character.GetText(), CharacterSize(character.GetText()));
    }
    if (m_bRealised) {
        m_nEchoWidth = GetTextExtent(m_sEcho).GetWidth();
        PlaceCaret();
    }
    RepaintAll();
}

void KwEdit::SetMaxLength(int length)
{
    if (length >= 0) {
        m_nMaxLength = length;
    }
}

void KwEdit::SetEditable(int editable)
{
    m_bReadOnly = editable ? 0 : 1;
    if (m_bPointerInside) {
        ApplyCursor();
    }
}

int KwEdit::GetVisibleCaretIndex()
{
    return m_nCaret - m_nFirstVisible;
}

void KwEdit::RevealCaretAt(int index)
{
    PutCaretInView(index);
    PlaceCaret();
    RepaintAll();
}

// Past the end the view shows as much of the text's end as fits; a caret
// left of the view becomes its first character.
void KwEdit::PutCaretInView(int index)
{
    if (index == -1 || index >= m_nLength) {
        m_nCaret = m_nLength;
        m_nFirstVisible = LastPageStart();
    } else {
        m_nCaret = index < 0 ? 0 : index;
        if (m_nCaret < m_nFirstVisible) {
            m_nFirstVisible = m_nCaret;
        } else if (m_nTextX + RunWidth(m_nFirstVisible, m_nCaret - m_nFirstVisible) > ViewLimit()) {
            m_nFirstVisible = m_nCaret > 0 ? m_nCaret - 1 : 0;
        }
    }
    m_nAnchor = m_nCaret;
}

KwString KwEdit::GetSelectedText()
{
    return m_nAnchor < m_nCaret ? Substring(m_nAnchor, m_nCaret) : Substring(m_nCaret, m_nAnchor);
}

int KwEdit::GetSelectionAnchor()
{
    return m_nAnchor;
}

int KwEdit::GetCaretIndex()
{
    return m_nCaret;
}

void KwEdit::Select(int start, int end)
{
    start = Clamp(start, 0, m_nLength);
    end = Clamp(end, 0, m_nLength);
    PutCaretInView(end);
    m_nAnchor = start;
    PlaceCaret();
    RepaintAll();
}

void KwEdit::SelectAll()
{
    PutCaretInView(-1);
    m_nAnchor = 0;
    PlaceCaret();
    RepaintAll();
}

void KwEdit::SetSelectionAnchor(int index)
{
    m_nAnchor = Clamp(index, 0, m_nLength);
    RepaintAll();
}

void KwEdit::SetCaretIndex(int index)
{
    m_nCaret = Clamp(index, 0, m_nLength);
    RevealCaret();
    PlaceCaret();
    RepaintAll();
}

void KwEdit::SetSelectionBackground(const KwColor& color)
{
    m_cSelectionBack = color;
}

void KwEdit::SetSelectionForeground(const KwColor& color)
{
    m_cSelectionText = color;
}

void KwEdit::SetScrollStep(int step)
{
    if (step > 0) {
        m_nScrollStep = step;
    }
}

void KwEdit::SetFont(KwFont* font)
{
    KwDesignComponent::SetFont(font);
    if (m_bRealised) {
        MeasureAll();
        PlaceCaret();
        RepaintAll();
    }
}

// The window exists now, so the font can be measured and the characters
// built.
void KwEdit::OnAfterCreate()
{
    KwDesignComponent::OnAfterCreate();
    m_bRealised = 1;
    MeasureAll();
    BuildCharacters(m_sText);
    ComputeScrollStep();
}

void KwEdit::SetInsets(int textX, int highlightTop, int border)
{
    m_nTextX = textX;
    m_nHighlightTop = highlightTop;
    m_bBorder = border;
}

int KwEdit::GetLength() const
{
    return m_nLength;
}

int KwEdit::HasSelection() const
{
    return m_nAnchor != m_nCaret ? 1 : 0;
}

int KwEdit::IsEditable() const
{
    return m_bReadOnly ? 0 : 1;
}

int KwEdit::IsRealised() const
{
    return m_bRealised;
}

// ---- Character list and measuring ----------------------------------------

void KwEdit::BuildCharacters(const KwString& text)
{
    ClearCharacters();
    const char* bytes = text.GetText();
    if (bytes == nullptr) {
        return;
    }
    while (*bytes != '\0' && m_nLength < m_nMaxLength) {
        int size = CharacterSize(bytes);
        m_nCaret = m_nLength;
        InsertCharacter(bytes, size);
        bytes += size;
    }
    m_nCaret = 0;
    m_nAnchor = 0;
    m_nFirstVisible = 0;
}

void KwEdit::ClearCharacters()
{
    CharNode* node = m_pFirst;
    while (node != nullptr) {
        CharNode* next = node->next;
        delete node;
        node = next;
    }
    m_pFirst = nullptr;
    m_pLast = nullptr;
    m_nLength = 0;
}

int KwEdit::MeasureCharacter(CharNode* node)
{
    KwSize extent = GetTextExtent(KwString(node->bytes, node->count));
    node->width = extent.GetWidth();
    node->height = extent.GetHeight();
    return node->width;
}

int KwEdit::MeasureAll()
{
    m_nLineHeight = GetFontHeight();
    m_nEchoWidth = GetTextExtent(m_sEcho).GetWidth();
    int total = 0;
    for (CharNode* node = m_pFirst; node != nullptr; node = node->next) {
        total += MeasureCharacter(node);
    }
    return total;
}

// A narrow field jumps by fewer characters, so a jump never hides the
// character just typed.
void KwEdit::ComputeScrollStep()
{
    int sample = GetTextExtent(kSampleCharacter).GetWidth();
    int width = GetSize().GetWidth();
    if (width > 5 * sample) {
        return;
    }
    if (width <= 2 * sample) {
        m_nScrollStep = 1;
    } else if (width <= 3 * sample) {
        m_nScrollStep = 2;
    } else if (width <= 4 * sample) {
        m_nScrollStep = 3;
    } else {
        m_nScrollStep = 4;
    }
}

int KwEdit::RunWidth(int index, int count)
{
    if (m_bEcho) {
        return count > 0 ? count * m_nEchoWidth : 0;
    }
    int width = 0;
    for (CharNode* node = NodeAt(index); node != nullptr && count > 0; node = node->next, --count) {
        width += node->width;
    }
    return width;
}

// The first visible index that shows the end of the text with as many
// characters before it as fit.
int KwEdit::LastPageStart()
{
    int room = ViewLimit() - m_nTextX;
    int start = m_nLength;
    int width = 0;
    for (CharNode* node = m_pLast; node != nullptr; node = node->prev) {
        width += m_bEcho ? m_nEchoWidth : node->width;
        if (width > room) {
            break;
        }
        --start;
    }
    return start;
}

int KwEdit::ViewLimit()
{
    return GetSize().GetWidth() - kRightMargin;
}

KwEdit::CharNode* KwEdit::NodeAt(int index)
{
    if (index < 0) {
        return nullptr;
    }
    CharNode* node = m_pFirst;
    for (; node != nullptr && index > 0; --index) {
        node = node->next;
    }
    return node;
}

KwString KwEdit::Substring(int start, int end)
{
    start = Clamp(start, 0, m_nLength);
    end = Clamp(end, start, m_nLength);
    CharNode* first = NodeAt(start);
    int size = 0;
    CharNode* node = first;
    for (int i = start; i < end && node != nullptr; ++i, node = node->next) {
        size += node->count;
    }
    char* bytes = new (std::nothrow) char[size + 1];
    if (bytes == nullptr) {
        return KwString("");
    }
    int at = 0;
    node = first;
    for (int i = start; i < end && node != nullptr; ++i, node = node->next) {
        for (int b = 0; b < node->count; ++b) {
            bytes[at++] = node->bytes[b];
        }
    }
    KwString text(bytes, at);
    delete[] bytes;
    return text;
}

// ---- Editing ---------------------------------------------------------------

int KwEdit::InsertCharacter(const char* bytes, int count)
{
    if (m_nLength >= m_nMaxLength || count < 1 || count > 2) {
        return 0;
    }
    CharNode* node = new (std::nothrow) CharNode();
    if (node == nullptr) {
        return 0;
    }
    node->bytes[0] = bytes[0];
    node->bytes[1] = count > 1 ? bytes[1] : '\0';
    node->bytes[2] = '\0';
    node->count = count;
    MeasureCharacter(node);
    CharNode* before = NodeAt(m_nCaret);
    node->next = before;
    node->prev = before != nullptr ? before->prev : m_pLast;
    (node->prev != nullptr ? node->prev->next : m_pFirst) = node;
    (before != nullptr ? before->prev : m_pLast) = node;
    ++m_nLength;
    ++m_nCaret;
    RevealCaret();
    m_nAnchor = m_nCaret;
    return 1;
}

int KwEdit::RemoveCharacters(int start, int end)
{
    start = Clamp(start, 0, m_nLength);
    end = Clamp(end, start, m_nLength);
    CharNode* node = NodeAt(start);
    for (int i = start; i < end && node != nullptr; ++i) {
        CharNode* next = node->next;
        (node->prev != nullptr ? node->prev->next : m_pFirst) = next;
        (next != nullptr ? next->prev : m_pLast) = node->prev;
        delete node;
        node = next;
        --m_nLength;
    }
    return end > start ? 1 : 0;
}

int KwEdit::DeleteSelection()
{
    if (!HasSelection()) {
        return 0;
    }
    int start = m_nAnchor < m_nCaret ? m_nAnchor : m_nCaret;
    RemoveCharacters(start, m_nAnchor < m_nCaret ? m_nCaret : m_nAnchor);
    m_nCaret = start;
    m_nAnchor = start;
    RevealCaret();
    return 1;
}

int KwEdit::DeleteBackward()
{
    if (DeleteSelection()) {
        return 1;
    }
    if (m_nCaret == 0) {
        return 0;
    }
    if (m_nCaret == m_nFirstVisible) {
        ScrollLeft(m_nScrollStep);
    }
    RemoveCharacters(m_nCaret - 1, m_nCaret);
    --m_nCaret;
    m_nAnchor = m_nCaret;
    return 1;
}

int KwEdit::DeleteForward()
{
    if (DeleteSelection()) {
        return 1;
    }
    if (m_nCaret >= m_nLength) {
        return 0;
    }
    RemoveCharacters(m_nCaret, m_nCaret + 1);
    m_nAnchor = m_nCaret;
    return 1;
}

int KwEdit::ClearAll()
{
    int had = m_nLength > 0 ? 1 : 0;
    ClearCharacters();
    m_nFirstVisible = 0;
    m_nCaret = 0;
    m_nAnchor = 0;
    return had;
}

void KwEdit::ScrollLeft(int count)
{
    m_nFirstVisible = m_nFirstVisible > count ? m_nFirstVisible - count : 0;
}

void KwEdit::ScrollRight(int count)
{
    m_nFirstVisible = Clamp(m_nFirstVisible + count, 0, m_nLength);
}

// Scrolling right never goes past the caret, so even a field narrower than
// one step keeps the caret in view.
void KwEdit::RevealCaret()
{
    while (m_nCaret < m_nFirstVisible) {
        ScrollLeft(m_nScrollStep);
    }
    while (m_nFirstVisible < m_nCaret &&
           m_nTextX + RunWidth(m_nFirstVisible, m_nCaret - m_nFirstVisible) > ViewLimit()) {
        int step = m_nCaret == m_nLength ? 1 : m_nScrollStep;
        ScrollRight(step < m_nCaret - m_nFirstVisible ? step : m_nCaret - m_nFirstVisible);
    }
}

void KwEdit::PlaceCaret()
{
    if (!m_bHasFocus) {
        return;
    }
    IKwCaret* caret = GetCaret();
    if (caret != nullptr) {
        caret->SetPosition(m_nTextX + RunWidth(m_nFirstVisible, m_nCaret - m_nFirstVisible),
                           m_nHighlightTop);
        caret->Release();
    }
}

int KwEdit::Copy()
{
    return HasSelection() ? CopyToClipboard(GetSelectedText()) : 0;
}

// A single-line field takes no control characters: line breaks and tabs
// of the clipboard text are dropped as typing them would be.
int KwEdit::Paste()
{
    KwString text;
    if (!PasteFromClipboard(text) || text.GetLength() == 0) {
        return 0;
    }
    DeleteSelection();
    for (const char* bytes = text.GetText(); *bytes != '\0';) {
        int size = CharacterSize(bytes);
        if (size == 2 || static_cast<unsigned char>(*bytes) > 31) {
            InsertCharacter(bytes, size);
        }
        bytes += size;
    }
    return 1;
}

// The selection goes only once it is safely on the clipboard.
int KwEdit::Cut()
{
    return Copy() ? DeleteSelection() : 0;
}

void KwEdit::MoveHome(int extend)
{
    m_nCaret = 0;
    m_nFirstVisible = 0;
    if (!extend) {
        m_nAnchor = m_nCaret;
    }
}

void KwEdit::MoveEnd(int extend)
{
    int anchor = m_nAnchor;
    PutCaretInView(-1);
    if (extend) {
        m_nAnchor = anchor;
    }
}

void KwEdit::MoveLeft(int extend)
{
    if (HasSelection() && !extend) {
        m_nAnchor = m_nCaret;
        return;
    }
    if (m_nCaret > 0) {
        if (m_nCaret == m_nFirstVisible) {
            ScrollLeft(m_nScrollStep);
        }
        --m_nCaret;
    }
    if (!extend) {
        m_nAnchor = m_nCaret;
    }
}

void KwEdit::MoveRight(int extend)
{
    if (HasSelection() && !extend) {
        m_nAnchor = m_nCaret;
        return;
    }
    if (m_nCaret < m_nLength) {
        ++m_nCaret;
        RevealCaret();
    }
    if (!extend) {
        m_nAnchor = m_nCaret;
    }
}

// Boundaries are measured from the text's left margin; a pointer nearer
// the left half of a character lands before it.
int KwEdit::HitTest(int x)
{
    int offset = x - m_nTextX;
    int boundary = 0;
    int index = m_nFirstVisible;
    for (CharNode* node = NodeAt(index); node != nullptr; node = node->next, ++index) {
        int width = m_bEcho ? m_nEchoWidth : node->width;
        if (boundary >= offset) {
            return index;
        }
        boundary += width;
        if (boundary >= offset) {
            return width < 2 * (boundary - offset) ? index : index + 1;
        }
    }
    return m_nLength;
}

void KwEdit::MoveCaretTo(int index)
{
    m_nCaret = Clamp(index, 0, m_nLength);
}

// ---- Painting --------------------------------------------------------------

int KwEdit::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    graphics->SetTransparentText(1);
    if (m_bBorder) {
        KwSize size = GetSize();
        if (Is3DLook()) {
            graphics->Draw3DFrame(0, 0, size.GetWidth() - 1, size.GetHeight() - 1, KW_FRAME_SUNKEN);
        } else {
            graphics->DrawRect(0, 0, size.GetWidth() - 1, size.GetHeight() - 1);
        }
    }
    PaintCharacters(graphics);
    return 1;
}

void KwEdit::PaintCharacters(IKwGraphics* graphics)
{
    KwPaintColors colors(graphics);
    KwColor normal = GetForeground();
    int low = m_nAnchor < m_nCaret ? m_nAnchor : m_nCaret;
    int high = m_nAnchor < m_nCaret ? m_nCaret : m_nAnchor;
    int highlight = m_bHasFocus && low < high;
    int right = GetSize().GetWidth();
    int x = m_nTextX;
    int index = m_nFirstVisible;
    for (CharNode* node = NodeAt(index); node != nullptr && x < right; node = node->next, ++index) {
        int width = m_bEcho ? m_nEchoWidth : node->width;
        if (highlight && index >= low && index < high) {
            colors.SetPen(m_cSelectionBack);
            colors.SetFill(m_cSelectionBack);
            graphics->FillRectangle(x, m_nHighlightTop, width + 1, m_nLineHeight - 1);
            colors.SetPen(m_cSelectionText);
        } else {
            colors.SetPen(normal);
        }
        graphics->DrawString(m_bEcho ? m_sEcho : KwString(node->bytes, node->count), x, kTextY);
        x += width;
    }
}

// ---- Mouse -----------------------------------------------------------------

int KwEdit::OnLButtonDown(const KwPoint& point)
{
    ChangeCaret(HitTest(point.GetX()));
    m_nAnchor = m_nCaret;
    RepaintAll();
    if (!HasCapture()) {
        SetCapture();
    }
    return 1;
}

// Dragging past either edge scrolls the view by one step per move.
int KwEdit::OnMouseMove(const KwPoint& point)
{
    if (!HasCapture()) {
        return 1;
    }
    int caret = m_nCaret;
    int first = m_nFirstVisible;
    int width = GetSize().GetWidth();
    if (point.GetX() < 0) {
        ScrollLeft(m_nScrollStep);
        caret = m_nFirstVisible;
    } else if (point.GetX() > width &&
               m_nTextX + RunWidth(m_nFirstVisible, m_nLength - m_nFirstVisible) > width) {
        ScrollRight(m_nScrollStep);
        caret = HitTest(width);
    } else {
        caret = HitTest(point.GetX());
    }
    if (caret != m_nCaret || first != m_nFirstVisible) {
        ChangeCaret(caret);
        RepaintAll();
    }
    return 1;
}

int KwEdit::OnLButtonUp(const KwPoint&)
{
    if (HasCapture()) {
        ReleaseCapture(0);
    }
    RepaintAll();
    return 1;
}

int KwEdit::OnLButtonDblClk(const KwPoint&)
{
    HiddenCaret hidden(this, m_bHasFocus);
    SelectAll();
    return 1;
}

// The cursor belongs to the window class, which every edit field shares, so
// each field sets its own as the pointer comes in.
int KwEdit::OnSetCursor()
{
    if (!m_bPointerInside) {
        m_bPointerInside = 1;
        ApplyCursor();
    }
    return 1;
}

int KwEdit::OnMouseLeave()
{
    m_bPointerInside = 0;
    return 1;
}

void KwEdit::ApplyCursor()
{
    KwCursor* cursor = m_bReadOnly ? m_pArrowCursor : m_pTextCursor;
    if (cursor != nullptr) {
        SetCursor(cursor);
    }
}

// ---- Focus -----------------------------------------------------------------

int KwEdit::OnFocusGained()
{
    m_bHasFocus = 1;
    IKwCaret* caret = GetCaret();
    if (caret != nullptr) {
        caret->SetHeight(m_nLineHeight);
        caret->CreateCaret();
        PlaceCaret();
        caret->ShowCaret();
        caret->Release();
    }
    RepaintAll();
    return 1;
}

int KwEdit::OnFocusLost()
{
    m_bHasFocus = 0;
    m_bLeadPending = 0;
    IKwCaret* caret = GetCaret();
    if (caret != nullptr) {
        caret->DestroyCaret();
        caret->Release();
    }
    RepaintAll();
    return 1;
}

// Moves the caret with the system caret hidden meanwhile.
void KwEdit::ChangeCaret(int index)
{
    HiddenCaret hidden(this, m_bHasFocus);
    MoveCaretTo(index);
    PlaceCaret();
}

// ---- Keyboard --------------------------------------------------------------

// Character messages arrive one byte at a time: a lead byte waits for its
// trail byte, and a control character cancels a waiting lead byte.
int KwEdit::OnChar(int key, int)
{
    if (m_bReadOnly) {
        return 1;
    }
    unsigned char byte = static_cast<unsigned char>(key & 0xFF);
    if (m_bLeadPending) {
        m_bLeadPending = 0;
        if (byte >= kLowestTrailByte) {
            m_lead[1] = static_cast<char>(byte);
            AcceptCharacter(m_lead, 2);
            return 1;
        }
    }
    if (IsDBCSLeadByte(byte)) {
        m_lead[0] = static_cast<char>(byte);
        m_bLeadPending = 1;
    } else if (byte > 31 && byte != 0x7F) {
        // Bytes from 0x80 up that are no lead byte are whole characters of
        // the code page (accented letters on single-byte systems).
        char single = static_cast<char>(byte);
        AcceptCharacter(&single, 1);
    }
    return 1;
}

void KwEdit::AcceptCharacter(const char* bytes, int count)
{
    int changed = 0;
    {
        HiddenCaret hidden(this, m_bHasFocus);
        changed = DeleteSelection();
        changed |= InsertCharacter(bytes, count);
        PlaceCaret();
    }
    RepaintAll();
    if (changed) {
        FireAction(EVT_TEXT_CHANGED, 0);
    }
}

int KwEdit::OnKeyDown(int key, int)
{
    int changed = 0;
    {
        HiddenCaret hidden(this, m_bHasFocus);
        changed = IsKeyDown(kControlKey) ? HandleControlKey(key) : HandleEditingKey(key);
        PlaceCaret();
    }
    RepaintAll();
    if (changed) {
        FireAction(EVT_TEXT_CHANGED, 0);
    }
    return 1;
}

// Ctrl with a letter; answers 1 when EVT_TEXT_CHANGED is due.
int KwEdit::HandleControlKey(int key)
{
    switch (key) {
    case 'C':
    case 'c': Copy(); return 0;
    case 'V':
    case 'v':
        if (m_bReadOnly) {
            return 0;
        }
        Paste();
        return 1;
    case 'X':
    case 'x':
        if (m_bReadOnly) {
            return 0;
        }
        Cut();
        return 1;
    case 'Z':
    case 'z':
        if (!m_bReadOnly) {
            ClearAll();
        }
        return 0;
    default: return HandleEditingKey(key);
    }
}

// Editing and navigation keys; answers 1 when EVT_TEXT_CHANGED is due.
int KwEdit::HandleEditingKey(int key)
{
    int extend = IsKeyDown(kShiftKey);
    switch (key) {
    case KW_KEY_BACKSPACE:
        if (m_bReadOnly) {
            return 0;
        }
        DeleteBackward();
        return 1;
    case KW_KEY_DELETE: return m_bReadOnly ? 0 : DeleteForward();
    case KW_KEY_HOME: MoveHome(extend); return 0;
    case KW_KEY_END: MoveEnd(extend); return 0;
    case KW_KEY_LEFT:
    case KW_KEY_UP: MoveLeft(extend); return 0;
    case KW_KEY_RIGHT:
    case KW_KEY_DOWN: MoveRight(extend); return 0;
    default: return 0;
    }
}

} // namespace KwSDK
