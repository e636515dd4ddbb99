// The list box: items and selection, layout with its scroll bars, painting,
// mouse and keys.
#include "KwListBox.h"

#include "KwKeyCodes.h"
#include "KwPaintColors.h"

#include <new>

namespace KwSDK {

namespace {

const int kBarThickness = 18;
const int kBarStartSize = 10;
const int kHorizontalStep = 16;
const unsigned int kBarBackground = 0xDCDCDC;  // (220, 220, 220)

int Max(int a, int b)
{
    return a > b ? a : b;
}

int Min(int a, int b)
{
    return a < b ? a : b;
}

} // namespace

KwListBox::KwListBox()
    : m_ppItems(nullptr), m_nCount(0), m_nCapacity(0), m_bMultiple(0), m_nCurrent(-1),
      m_nTopRow(0), m_nVisibleRows(0), m_nLineHeight(1), m_nWidest(0), m_nOffset(0),
      m_bPressed(0), m_bFocused(0), m_bRealised(0), m_bHorizontalShown(0), m_bVerticalShown(0),
      m_nBorder(0), m_crSelection(8, 36, 107), m_crSelectedText(255, 255, 255),
      m_pHorizontal(nullptr), m_pVertical(nullptr)
{
    AppendTypeName("KwListBox");
    SetClassName("KwListBox");
    SetBackground(KwColor(255, 255, 255));
    KwScrollBar* horizontal = new (std::nothrow) KwScrollBar(KW_SCROLL_HORIZONTAL);
    KwScrollBar* vertical = new (std::nothrow) KwScrollBar(KW_SCROLL_VERTICAL);
    m_pHorizontal = ReplaceBar(nullptr, horizontal, KW_SCROLL_HORIZONTAL) ? horizontal : nullptr;
    m_pVertical = ReplaceBar(nullptr, vertical, KW_SCROLL_VERTICAL) ? vertical : nullptr;
}

// The container gives the bars back; a bar that someone else still holds
// must not call the list any more.
KwListBox::~KwListBox()
{
    KwScrollBar* bars[2] = {m_pHorizontal, m_pVertical};
    for (KwScrollBar* bar : bars) {
        if (bar != nullptr) {
            bar->RemoveActionListener(this);
        }
    }
    for (int i = 0; i < m_nCount; ++i) {
        m_ppItems[i]->Release();
    }
    delete[] m_ppItems;
}

// The bar starts hidden; the container holds the only reference kept on
// it. A new bar the container cannot take is freed here.
int KwListBox::ReplaceBar(KwScrollBar* old, KwScrollBar* bar, int orientation)
{
    if (old != nullptr) {
        old->RemoveActionListener(this);
        Remove(old);
    }
    if (bar == nullptr) {
        return 0;
    }
    bar->AddRef();
    bar->SetOrientation(orientation);
    bar->SetSize(kBarStartSize, kBarStartSize, 0);
    bar->Hide();
    int added = Add(bar);
    if (added) {
        bar->AddActionListener(this);
    }
    bar->Release();
    return added;
}

// ---- Items ------------------------------------------------------------------

KwListBoxItem* KwListBox::ItemAt(int index) const
{
    return HasIndex(index) ? m_ppItems[index] : nullptr;
}

int KwListBox::HasIndex(int index) const
{
    return index >= 0 && index < m_nCount;
}

int KwListBox::GetItemCount() const
{
    return m_nCount;
}

// Grows the array by 10 entries when it is full; 0 when memory runs out.
int KwListBox::MakeRoom()
{
    if (m_nCount < m_nCapacity) {
        return 1;
    }
    KwListBoxItem** grown = new (std::nothrow) KwListBoxItem*[m_nCapacity + 10];
    if (grown == nullptr) {
        return 0;
    }
    for (int i = 0; i < m_nCount; ++i) {
        grown[i] = m_ppItems[i];
    }
    delete[] m_ppItems;
    m_ppItems = grown;
    m_nCapacity += 10;
    return 1;
}

int KwListBox::MeasureItem(KwListBoxItem* item)
{
    int width = GetTextExtent(item->GetText()).GetWidth();
    item->SetWidth(width);
    return width;
}

// After items came or went: the rows, the bars and the picture follow.
void KwListBox::ItemsChanged()
{
    if (m_bRealised) {
        Layout();
        RepaintAll();
    }
}

int KwListBox::InsertItem(int index, const KwString& text)
{
    if (index < 0 || index > m_nCount || !MakeRoom()) {
        return 0;
    }
    KwListBoxItem* item = new (std::nothrow) KwListBoxItem(text);
    if (item == nullptr) {
        return 0;
    }
    item->AddRef();
    for (int i = m_nCount; i > index; --i) {
        m_ppItems[i] = m_ppItems[i - 1];
    }
    m_ppItems[index] = item;
    ++m_nCount;
    if (m_nCurrent >= index) {
        ++m_nCurrent;
    }
    if (m_bRealised) {
        m_nWidest = Max(m_nWidest, MeasureItem(item));
    }
    ItemsChanged();
    return 1;
}

int KwListBox::AddItem(const KwString& text)
{
    return InsertItem(m_nCount, text);
}

int KwListBox::RemoveItem(const KwString& text)
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppItems[i]->GetText() == text) {
            return RemoveItemAt(i);
        }
    }
    return 0;
}

// Removing the current item leaves no current item.
int KwListBox::RemoveItemAt(int index)
{
    if (!HasIndex(index)) {
        return 0;
    }
    m_ppItems[index]->Release();
    for (int i = index; i + 1 < m_nCount; ++i) {
        m_ppItems[i] = m_ppItems[i + 1];
    }
    --m_nCount;
    m_nCurrent = m_nCurrent == index ? -1 : (m_nCurrent > index ? m_nCurrent - 1 : m_nCurrent);
    m_nWidest = 0;
    for (int i = 0; i < m_nCount; ++i) {
        m_nWidest = Max(m_nWidest, m_ppItems[i]->GetWidth());
    }
    ItemsChanged();
    return 1;
}

void KwListBox::RemoveAllItems()
{
    for (int i = 0; i < m_nCount; ++i) {
        m_ppItems[i]->Release();
    }
    m_nCount = 0;
    m_nCurrent = -1;
    m_nWidest = 0;
    m_nTopRow = 0;
    m_nOffset = 0;
    m_bHorizontalShown = 0;
    m_bVerticalShown = 0;
    if (m_pHorizontal != nullptr) {
        m_pHorizontal->Hide();
    }
    if (m_pVertical != nullptr) {
        m_pVertical->Hide();
    }
    ItemsChanged();
}

// ---- Selection --------------------------------------------------------------

// In single mode every other item is cleared, so at most one is ever
// selected there, whatever SelectRange did before.
void KwListBox::SelectItem(int index)
{
    if (!HasIndex(index)) {
        return;
    }
    if (!m_bMultiple) {
        for (int i = 0; i < m_nCount; ++i) {
            m_ppItems[i]->SetSelected(0);
        }
    }
    m_ppItems[index]->SetSelected(1);
    m_nCurrent = index;
    RepaintRows();
}

int KwListBox::IsSelected(int index)
{
    return HasIndex(index) ? m_ppItems[index]->IsSelected() : 0;
}

KwString KwListBox::GetItemText(int index)
{
    return HasIndex(index) ? m_ppItems[index]->GetText() : KwString();
}

int KwListBox::GetItemTexts(TKwList<KwString>& texts)
{
    int added = 0;
    for (int i = 0; i < m_nCount; ++i) {
        added += texts.AddTail(m_ppItems[i]->GetText()) ? 1 : 0;
    }
    return added;
}

int KwListBox::GetSelectedIndices(TKwList<int>& indices)
{
    int added = 0;
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppItems[i]->IsSelected()) {
            added += indices.AddTail(i) ? 1 : 0;
        }
    }
    return added;
}

int KwListBox::GetFirstSelectedIndex()
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppItems[i]->IsSelected()) {
            return i;
        }
    }
    return -1;
}

KwString KwListBox::GetFirstSelectedText()
{
    return GetItemText(GetFirstSelectedIndex());
}

int KwListBox::GetSelectedTexts(TKwList<KwString>& texts)
{
    int added = 0;
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppItems[i]->IsSelected()) {
            added += texts.AddTail(m_ppItems[i]->GetText()) ? 1 : 0;
        }
    }
    return added;
}

void KwListBox::DeselectItem(int index)
{
    if (HasIndex(index)) {
        m_ppItems[index]->SetSelected(0);
        RepaintRows();
    }
}

void KwListBox::SelectRange(int first, int last)
{
    int low = Min(first, last);
    int high = Max(first, last);
    for (int i = 0; i < m_nCount; ++i) {
        m_ppItems[i]->SetSelected(i >= low && i <= high);
    }
    RepaintRows();
}

void KwListBox::SetSelectionBackground(const KwColor& color)
{
    m_crSelection = color;
    RepaintRows();
}

void KwListBox::SetSelectedTextColor(const KwColor& color)
{
    m_crSelectedText = color;
    RepaintRows();
}

void KwListBox::SetMultipleSelection(int multiple)
{
    m_bMultiple = multiple ? 1 : 0;
}

int KwListBox::IsMultipleSelection() const
{
    return m_bMultiple;
}

int KwListBox::GetCurrentIndex() const
{
    return m_nCurrent;
}

// ---- Scroll bars --------------------------------------------------------------

void KwListBox::SetHorizontalScrollBar(KwScrollBar* bar)
{
    if (bar == m_pHorizontal) {
        return;
    }
    KwScrollBar* old = m_pHorizontal;
    m_pHorizontal = ReplaceBar(old, bar, KW_SCROLL_HORIZONTAL) ? bar : nullptr;
    m_bHorizontalShown = 0;
    OnScrollBarReplaced();
}

KwScrollBar* KwListBox::GetHorizontalScrollBar()
{
    if (m_pHorizontal != nullptr) {
        m_pHorizontal->AddRef();
    }
    return m_pHorizontal;
}

void KwListBox::SetVerticalScrollBar(KwScrollBar* bar)
{
    if (bar == m_pVertical) {
        return;
    }
    KwScrollBar* old = m_pVertical;
    m_pVertical = ReplaceBar(old, bar, KW_SCROLL_VERTICAL) ? bar : nullptr;
    m_bVerticalShown = 0;
    OnScrollBarReplaced();
}

KwScrollBar* KwListBox::GetVerticalScrollBar()
{
    if (m_pVertical != nullptr) {
        m_pVertical->AddRef();
    }
    return m_pVertical;
}

void KwListBox::OnScrollBarReplaced()
{
    ItemsChanged();
}

// The bars tell the list their new values; the list shows that part.
int KwListBox::ActionPerformed(KwObject* source, int id, intptr_t)
{
    if (id != EVT_SCROLL_CHANGED || source == nullptr) {
        return 1;
    }
    if (m_pVertical != nullptr && source == static_cast<KwObject*>(m_pVertical)) {
        int value = m_pVertical->GetValue();
        m_nTopRow = Max(0, Min(value, m_nCount - m_nVisibleRows));
        RepaintRows();
    } else if (m_pHorizontal != nullptr && source == static_cast<KwObject*>(m_pHorizontal)) {
        m_nOffset = Max(0, m_pHorizontal->GetValue());
        RepaintRows();
    }
    return 1;
}

// ---- Layout -------------------------------------------------------------------

void KwListBox::Initialize()
{
    m_bRealised = 1;
    m_nLineHeight = Max(1, GetFontHeight());
    ComputeWidestItem();
    Layout();
}

void KwListBox::OnAfterCreate()
{
    KwContainer::OnAfterCreate();
    Initialize();
}

void KwListBox::SetFont(KwFont* font)
{
    KwContainer::SetFont(font);
    if (m_bRealised) {
        Initialize();
        RepaintAll();
    }
}

int KwListBox::OnSize(int, int, int)
{
    Layout();
    return 1;
}

void KwListBox::ComputeWidestItem()
{
    m_nWidest = 0;
    if (!m_bRealised) {
        return;
    }
    for (int i = 0; i < m_nCount; ++i) {
        m_nWidest = Max(m_nWidest, MeasureItem(m_ppItems[i]));
    }
}

// Each bar's need depends on the other's (a horizontal bar takes a row, a
// vertical bar takes text width), so the decision is repeated until it
// settles; it can only grow, so three rounds are enough.
void KwListBox::Layout()
{
    if (!m_bRealised) {
        return;
    }
    KwSize size = GetSize();
    int w = size.GetWidth();
    int h = size.GetHeight();
    int b = m_nBorder;
    int vertical = 0;
    int horizontal = 0;
    int rows = 0;
    for (int round = 0; round < 3; ++round) {
        horizontal = m_nWidest > w - (vertical ? kBarThickness : 0);
        rows = Max(0, (h + 2 * b - 4 - (horizontal ? kBarThickness : 0)) / (m_nLineHeight + 1));
        vertical = m_nCount > rows;
    }
    m_nVisibleRows = rows;
    m_bHorizontalShown = horizontal && m_pHorizontal != nullptr;
    m_bVerticalShown = vertical && m_pVertical != nullptr;
    m_nOffset = m_bHorizontalShown ? Max(0, Min(m_nOffset, MaxOffset())) : 0;
    m_nTopRow = m_bVerticalShown ? Max(0, Min(m_nTopRow, m_nCount - rows)) : 0;
    UpdateScrollBars();
    PlaceBar(m_pHorizontal, m_bHorizontalShown, 2 - b, b + h - 20,
             w + 2 * b - 4 - (m_bVerticalShown ? kBarThickness : 0), kBarThickness);
    PlaceBar(m_pVertical, m_bVerticalShown, b + w - 20, 2 - b, kBarThickness,
             h + 2 * b - 4 - (m_bHorizontalShown ? kBarThickness : 0));
}

void KwListBox::PlaceBar(KwScrollBar* bar, int shown, int x, int y, int w, int h)
{
    if (bar == nullptr) {
        return;
    }
    if (!shown) {
        if (bar->IsVisible()) {
            bar->Hide();
        }
        return;
    }
    bar->SetBounds(x, y, Max(0, w), Max(0, h), 1);
    if (!bar->IsVisible()) {
        bar->Show(0);
    }
}

// The width of text that the horizontal bar counts as visible.
int KwListBox::VisibleTextWidth()
{
    return GetSize().GetWidth() + 2 * m_nBorder - 26 + (m_bVerticalShown ? 0 : kBarThickness);
}

// The horizontal offset at which the widest item's end comes into view,
// which is also where the horizontal bar ends.
int KwListBox::MaxOffset()
{
    return Max(0, m_nWidest - VisibleTextWidth());
}

void KwListBox::UpdateScrollBars()
{
    if (m_pHorizontal != nullptr) {
        m_pHorizontal->SetMinimum(0);
        m_pHorizontal->SetVisibleAmount(VisibleTextWidth());
        m_pHorizontal->SetUnitIncrement(kHorizontalStep);
        m_pHorizontal->SetMaximum(m_nWidest);
        m_pHorizontal->SetValue(m_nOffset);
    }
    if (m_pVertical != nullptr) {
        m_pVertical->SetMinimum(0);
        m_pVertical->SetVisibleAmount(m_nVisibleRows);
        m_pVertical->SetUnitIncrement(1);
        m_pVertical->SetMaximum(m_nCount);
        m_pVertical->SetValue(m_nTopRow);
    }
}

int KwListBox::GetTopRow() const
{
    return m_nTopRow;
}

void KwListBox::SetTopRow(int row)
{
    m_nTopRow = Max(0, Min(row, m_nCount - m_nVisibleRows));
    if (m_pVertical != nullptr) {
        m_pVertical->SetValue(m_nTopRow);
    }
    RepaintRows();
}

int KwListBox::GetVisibleRows() const
{
    return m_nVisibleRows;
}

int KwListBox::GetLineHeight() const
{
    return m_nLineHeight;
}

int KwListBox::GetHorizontalOffset() const
{
    return m_nOffset;
}

int KwListBox::GetWidestItemWidth() const
{
    return m_nWidest;
}

void KwListBox::SetBorderAdjustment(int adjustment)
{
    m_nBorder = adjustment;
    ItemsChanged();
}

int KwListBox::GetBorderAdjustment() const
{
    return m_nBorder;
}

// ---- Painting -------------------------------------------------------------------

// The list is drawn over its bars (they are plain child windows), so the
// bars are painted again after it.
void KwListBox::RepaintRows()
{
    if (m_bRealised) {
        RepaintAll();
    }
}

int KwListBox::TextWidth()
{
    return GetSize().GetWidth() - (m_bVerticalShown ? kBarThickness : 0);
}

int KwListBox::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    // Rows end where the horizontal bar or the bottom margin begins.
    int bottom = m_nBorder + GetSize().GetHeight() - 2 - (m_bHorizontalShown ? kBarThickness : 0);
    int textWidth = TextWidth();
    int y = 2 - m_nBorder;
    for (int i = m_nTopRow; i < m_nCount && y < bottom; ++i) {
        PaintRow(graphics, i, y, textWidth);
        y += m_nLineHeight + 1;
    }
    if (m_bHorizontalShown && m_bVerticalShown) {
        PaintCorner(graphics);
    }
    return 1;
}

// A selected row is filled across the text width, framed with a dotted
// focus rectangle while the list has the focus, and written in the
// selected text colour.
void KwListBox::PaintRow(IKwGraphics* graphics, int index, int y, int textWidth)
{
    KwListBoxItem* item = m_ppItems[index];
    KwPaintColors colors(graphics);
    graphics->SetTransparentText(1);
    if (item->IsSelected()) {
        int x = 2 - m_nOffset - m_nBorder;
        colors.SetPen(m_crSelection);
        colors.SetFill(m_crSelection);
        graphics->FillRectangle(x, y, textWidth - 1, m_nLineHeight + 1);
        if (m_bFocused) {
            graphics->DrawFocusFrame(x, y, textWidth - 1, m_nLineHeight + 1, 1);
        }
        colors.SetPen(m_crSelectedText);
    } else {
        colors.SetPen(GetForeground());
    }
    graphics->DrawString(item->GetText(), 4 - m_nOffset - m_nBorder, y);
}

void KwListBox::PaintCorner(IKwGraphics* graphics)
{
    KwSize size = GetSize();
    KwPaintColors colors(graphics);
    colors.SetBack(kBarBackground);
    graphics->ClearRect(KwRect(m_nBorder + size.GetWidth() - 20, m_nBorder + size.GetHeight() - 20,
                               kBarThickness, kBarThickness));
}

// ---- Mouse and focus ------------------------------------------------------------

// Inside the border and outside the corner square between the bars.
int KwListBox::InRowArea(const KwPoint& point)
{
    KwSize size = GetSize();
    int b = m_nBorder;
    int x = point.GetX();
    int y = point.GetY();
    if (x < 2 - b || y < 2 - b || x > size.GetWidth() - b - 2 || y > size.GetHeight() - b - 2) {
        return 0;
    }
    return !(m_bHorizontalShown && m_bVerticalShown && x >= b + size.GetWidth() - 20 &&
             y >= b + size.GetHeight() - 20);
}

// The item under the point, or -1 above the first row.
int KwListBox::RowAt(const KwPoint& point)
{
    int offset = m_nBorder + point.GetY() - 2;
    return offset < 0 ? -1 : offset / (m_nLineHeight + 1) + m_nTopRow;
}

int KwListBox::OnLButtonDown(const KwPoint& point)
{
    int row = InRowArea(point) ? RowAt(point) : -1;
    if (!HasIndex(row)) {
        return 1;
    }
    m_bPressed = 1;
    SetCapture();
    if (!m_bMultiple) {
        SelectItem(row);
    } else if (IsKeyDown(VK_SHIFT) && HasIndex(m_nCurrent)) {
        SelectRange(m_nCurrent, row);
    } else if (IsKeyDown(VK_CONTROL)) {
        m_ppItems[row]->SetSelected(!m_ppItems[row]->IsSelected());
        m_nCurrent = row;
        RepaintRows();
    } else {
        SelectRange(row, row);
        m_nCurrent = row;
    }
    return 1;
}

// Dragging in single mode moves the selection with the pointer.
int KwListBox::OnMouseMove(const KwPoint& point)
{
    if (!m_bPressed || m_bMultiple) {
        return 1;
    }
    int row = RowAt(point);
    if (HasIndex(row) && row != m_nCurrent) {
        SelectItem(row);
    }
    return 1;
}

int KwListBox::OnLButtonUp(const KwPoint&)
{
    if (!m_bPressed) {
        return 1;
    }
    m_bPressed = 0;
    ReleaseCapture(0);
    if (GetFirstSelectedIndex() >= 0) {
        ReportSelection();
    }
    return 1;
}

int KwListBox::OnLButtonDblClk(const KwPoint& point)
{
    if (InRowArea(point) && HasIndex(RowAt(point))) {
        PostActionToParent(EVT_LIST_DOUBLE_CLICK, 0);
    }
    return 1;
}

int KwListBox::OnFocusGained()
{
    m_bFocused = 1;
    RepaintRows();
    return 1;
}

int KwListBox::OnFocusLost()
{
    m_bFocused = 0;
    RepaintRows();
    return 1;
}

// ---- Keys -------------------------------------------------------------------------

void KwListBox::ReportSelection()
{
    PostActionToParent(EVT_LIST_SELECT, 0);
}

// The row scrolls into view when it is above or below the visible rows.
void KwListBox::ShowRow(int index)
{
    int rows = Max(1, m_nVisibleRows);
    int top = m_nTopRow;
    if (index < top) {
        top = index;
    } else if (index >= top + rows) {
        top = index - rows + 1;
    }
    m_nTopRow = Max(0, Min(top, m_nCount - m_nVisibleRows));
    if (m_pVertical != nullptr) {
        m_pVertical->SetValue(m_nTopRow);
    }
}

// The keyboard's move: the current item gives up its selection to the new
// one, which is scrolled into view.
void KwListBox::MoveTo(int index)
{
    if (HasIndex(m_nCurrent)) {
        m_ppItems[m_nCurrent]->SetSelected(0);
    }
    ShowRow(index);
    SelectItem(index);
}

void KwListBox::MoveSelectionUp()
{
    if (m_nCurrent >= 1) {
        MoveTo(m_nCurrent - 1);
    }
}

void KwListBox::MoveSelectionDown()
{
    if (m_nCurrent < m_nCount - 1) {
        MoveTo(m_nCurrent + 1);
    }
}

// From the top row a page up moves the view up a page; otherwise it goes
// to the top row.
void KwListBox::PageUp()
{
    if (m_nCount == 0) {
        return;
    }
    int target = m_nTopRow;
    if (m_nCurrent == m_nTopRow) {
        target = Max(0, m_nTopRow - Max(1, m_nVisibleRows));
    }
    MoveTo(target);
}

// From the last visible row a page down moves a page further; otherwise it
// goes to the last visible row.
void KwListBox::PageDown()
{
    if (m_nCount == 0) {
        return;
    }
    int rows = Max(1, m_nVisibleRows);
    int last = Min(m_nTopRow + rows - 1, m_nCount - 1);
    int target = m_nCurrent == last ? Min(m_nCurrent + rows, m_nCount - 1) : last;
    MoveTo(target);
}

void KwListBox::ScrollLeft()
{
    int step = m_pHorizontal != nullptr ? m_pHorizontal->GetUnitIncrement() : kHorizontalStep;
    m_nOffset = Max(0, m_nOffset - step);
    if (m_pHorizontal != nullptr) {
        m_pHorizontal->SetValue(m_nOffset);
    }
    RepaintRows();
}

void KwListBox::ScrollRight()
{
    int step = m_pHorizontal != nullptr ? m_pHorizontal->GetUnitIncrement() : kHorizontalStep;
    m_nOffset = m_bHorizontalShown ? Min(m_nOffset + step, MaxOffset()) : 0;
    if (m_pHorizontal != nullptr) {
        m_pHorizontal->SetValue(m_nOffset);
    }
    RepaintRows();
}

// A key that moved the current item posts the selection.
int KwListBox::OnKeyDown(int key, int)
{
    int before = m_nCurrent;
    switch (key) {
    case KW_KEY_RETURN: ReportSelection(); break;
    case KW_KEY_HOME:
        if (m_nCount > 0) {
            MoveTo(0);
        }
        break;
    case KW_KEY_END:
        if (m_nCount > 0) {
            MoveTo(m_nCount - 1);
        }
        break;
    case KW_KEY_UP: MoveSelectionUp(); break;
    case KW_KEY_DOWN: MoveSelectionDown(); break;
    case KW_KEY_PAGEUP: PageUp(); break;
    case KW_KEY_PAGEDOWN: PageDown(); break;
    case KW_KEY_LEFT: ScrollLeft(); break;
    case KW_KEY_RIGHT: ScrollRight(); break;
    default: break;
    }
    if (key != KW_KEY_RETURN && m_nCurrent != before) {
        ReportSelection();
    }
    return 1;
}

} // namespace KwSDK
