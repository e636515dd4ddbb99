// A scrollable, read-only view of rows of coloured text runs with mouse
// selection and copy.
#include "KwTextView.h"

#include "IKwGraphics.h"
#include "KwFont.h"
#include "KwScrollBar.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace KwSDK {

namespace {

// Scroll bars are this many pixels thick.
const int kBarThickness = 18;
// Horizontal scrolling moves by this many pixels per arrow step.
const int kHorizontalStep = 16;
// Single-line, top-left text.
const int kSingleLineFormat = 0x20;
// A drawing rectangle wide enough that a run is never cut off by it; the
// buffer's edge clips instead.
const int kUnclippedWidth = 0x7FFF;
const char kEightSpaces[] = "        ";

// Collects the bytes of a text piece by piece; failed is set once memory
// ran out, and the text collected so far is kept.
struct ByteCollector {
    ByteCollector() : data(nullptr), length(0), capacity(0), failed(0) {}
    ~ByteCollector() { free(data); }

    void Add(const char* bytes, int count)
    {
        if (count <= 0 || failed) {
            return;
        }
        if (length + count > capacity) {
            int wanted = capacity * 2 > length + count ? capacity * 2 : length + count + 64;
            char* grown = static_cast<char*>(realloc(data, static_cast<size_t>(wanted)));
            if (grown == nullptr) {
                failed = 1;
                return;
            }
            data = grown;
            capacity = wanted;
        }
        memcpy(data + length, bytes, static_cast<size_t>(count));
        length += count;
    }

    char* data;
    int length;
    int capacity;
    int failed;
};

int Clamp(int value, int low, int high)
{
    if (value > high) {
        value = high;
    }
    return value < low ? low : value;
}

// Bytes of the character that starts at offset: two for a lead byte of the
// system code page that has a trail byte behind it, one otherwise.
int CharacterLength(const char* text, int offset, int length)
{
    if (offset + 1 < length && IsDBCSLeadByte(static_cast<BYTE>(text[offset]))) {
        return 2;
    }
    return 1;
}

// The run under the list's cursor, which the caller has placed.
KwTextAttrib* CurrentRun(TKwList<KwTextAttrib*>* row)
{
    KwTextAttrib** slot = row->GetAt();
    return slot != nullptr ? *slot : nullptr;
}

} // namespace

KwTextView::KwTextView()
    : m_nCurrentRow(0),
      m_nWidestRow(0),
      m_nTopRow(0),
      m_nVisibleRows(0),
      m_nHorizontalOffset(0),
      m_bDragging(0),
      m_bAutoScroll(1),
      m_bAtBottom(1),
      m_pHBar(nullptr),
      m_pVBar(nullptr),
      m_bHBarShown(0),
      m_bVBarShown(0),
      m_textBackground(255, 255, 255),
      m_selectionBackground(8, 36, 107),
      m_selectionText(255, 255, 255),
      m_nBorderAdjust(0),
      m_nLineHeight(0)
{
    AppendTypeName("KwTextView");
    SetClassName("KwTextView");
    SetBackground(m_textBackground);
    Row* first = new (std::nothrow) Row();
    if (first != nullptr && !m_rows.Add(first)) {
        delete first;
    }
    KwScrollBar* horizontal = new (std::nothrow) KwScrollBar(KW_SCROLL_HORIZONTAL);
    if (horizontal != nullptr) {
        horizontal->AddRef();
        SetHScrollBar(horizontal);
        horizontal->Release();
    }
    KwScrollBar* vertical = new (std::nothrow) KwScrollBar(KW_SCROLL_VERTICAL);
    if (vertical != nullptr) {
        vertical->AddRef();
        SetVScrollBar(vertical);
        vertical->Release();
    }
}

KwTextView::~KwTextView()
{
    for (int r = 0; r < m_rows.GetCount(); ++r) {
        Row* row = static_cast<Row*>(m_rows.GetAt(r));
        for (int more = row->MoveFirst(); more; more = row->MoveNext()) {
            CurrentRun(row)->Release();
        }
        delete row;
    }
    if (m_pHBar != nullptr) {
        m_pHBar->Release();
    }
    if (m_pVBar != nullptr) {
        m_pVBar->Release();
    }
}

// ---- Appending --------------------------------------------------------------

int KwTextView::Append(const KwString& text, const KwColor& color, KwFont* font)
{
    KwString expanded(text);
    expanded.Replace("\t", kEightSpaces);
    const char* bytes = expanded.GetText();
    int length = bytes != nullptr ? expanded.GetLength() : 0;
    char* pending = static_cast<char*>(malloc(static_cast<size_t>(length) + 1));
    if (pending == nullptr) {
        return 0;
    }
    int ok = 1;
    int count = 0;
    for (int i = 0; i < length && ok; ++i) {
        if (bytes[i] == '\r') {
            continue;
        }
        if (bytes[i] != '\n') {
            pending[count++] = bytes[i];
            continue;
        }
        ok = AddToRow(static_cast<Row*>(m_rows.GetAt(m_nCurrentRow)), pending, count, color, font);
        NoteRowWidth(m_nCurrentRow);
        count = 0;
        ok = ok && AddRow(color, font);
    }
    if (ok) {
        ok = AddToRow(static_cast<Row*>(m_rows.GetAt(m_nCurrentRow)), pending, count, color, font);
        NoteRowWidth(m_nCurrentRow);
    }
    free(pending);
    UpdateScrollBars();
    KwComponent::RepaintAll();
    return ok;
}

int KwTextView::Append(const KwString& text, const KwColor& color)
{
    KwFont* font = GetFont();
    int ok = Append(text, color, font);
    if (font != nullptr) {
        font->Release();
    }
    return ok;
}

int KwTextView::Append(const KwString& text, KwFont* font)
{
    return Append(text, GetForeground(), font);
}

// A new last row holding one empty run, which becomes the current row.
int KwTextView::AddRow(const KwColor& color, KwFont* font)
{
    Row* row = new (std::nothrow) Row();
    KwTextAttrib* run = new (std::nothrow) KwTextAttrib(color, font);
    if (row == nullptr || run == nullptr || !row->AddTail(run) || !m_rows.Add(row)) {
        delete run;
        delete row;
        return 0;
    }
    run->AddRef();
    m_nCurrentRow = m_rows.GetCount() - 1;
    return 1;
}

// Adds the bytes to the row's last run when it has this style, otherwise
// as a new run, and measures that run again.
int KwTextView::AddToRow(Row* row, const char* bytes, int length, const KwColor& color,
                         KwFont* font)
{
    if (row == nullptr || length <= 0) {
        return 1;
    }
    KwTextAttrib* run = row->MoveLast() ? CurrentRun(row) : nullptr;
    if (run == nullptr || !run->HasStyle(color, font)) {
        run = new (std::nothrow) KwTextAttrib(color, font);
        if (run == nullptr || !row->AddTail(run)) {
            delete run;
            return 0;
        }
        run->AddRef();
    }
    if (!run->AppendText(bytes, length)) {
        return 0;
    }
    run->SetWidth(MeasureRun(run, run->GetLength()));
    return 1;
}

void KwTextView::NoteRowWidth(int row)
{
    int width = GetRowWidth(row);
    if (width > m_nWidestRow) {
        m_nWidestRow = width;
    }
}

// Widths measured before the window existed are 0: measure every run once
// the surface can.
void KwTextView::RemeasureAll()
{
    m_nWidestRow = 0;
    for (int r = 0; r < m_rows.GetCount(); ++r) {
        Row* row = static_cast<Row*>(m_rows.GetAt(r));
        for (int more = row->MoveFirst(); more; more = row->MoveNext()) {
            KwTextAttrib* run = CurrentRun(row);
            run->SetWidth(MeasureRun(run, run->GetLength()));
        }
        NoteRowWidth(r);
    }
}

// Width in pixels of the first length bytes of the run, in the run's font;
// 0 while there is no surface to measure on.
int KwTextView::MeasureRun(KwTextAttrib* run, int length)
{
    if (length <= 0) {
        return 0;
    }
    IKwGraphics* graphics = GetGraphics();
    if (graphics == nullptr) {
        return 0;
    }
    KwFont* previous = graphics->GetFont();
    KwFont* font = run->GetFont();
    if (font != nullptr) {
        graphics->SetFont(font);
        font->Release();
    }
    KwSize extent = graphics->GetTextExtent(KwString(run->GetText().GetText(), length));
    if (previous != nullptr) {
        graphics->SetFont(previous);
        previous->Release();
    }
    graphics->Release();
    return extent.GetWidth();
}

void KwTextView::UpdateLineHeight()
{
    IKwGraphics* graphics = GetGraphics();
    if (graphics == nullptr) {
        return;
    }
    int height = graphics->GetTextExtent("Ag").GetHeight();
    graphics->Release();
    if (height > 0) {
        m_nLineHeight = height;
    }
}

// ---- Rows and text ----------------------------------------------------------

TKwList<KwTextAttrib*>* KwTextView::GetRow(int row)
{
    return static_cast<Row*>(m_rows.GetAt(row));
}

int KwTextView::GetRowCount()
{
    return m_rows.GetCount();
}

int KwTextView::GetRowWidth(int row)
{
    Row* runs = GetRow(row);
    int width = 0;
    if (runs != nullptr) {
        for (int more = runs->MoveFirst(); more; more = runs->MoveNext()) {
            width += CurrentRun(runs)->GetWidth();
        }
    }
    return width;
}

KwString KwTextView::GetText(const KwTSIndex& from, const KwTSIndex& to)
{
    const KwTSIndex& first = from.Compare(to) <= 0 ? from : to;
    const KwTSIndex& last = from.Compare(to) <= 0 ? to : from;
    ByteCollector text;
    int firstRow = first.GetRow() < 0 ? 0 : first.GetRow();
    int lastRow = last.GetRow() < GetRowCount() ? last.GetRow() : GetRowCount() - 1;
    for (int r = firstRow; r <= lastRow; ++r) {
        if (r > firstRow) {
            text.Add("\r\n", 2);
        }
        Row* row = GetRow(r);
        int index = 0;
        for (int more = row->MoveFirst(); more; more = row->MoveNext(), ++index) {
            KwTextAttrib* run = CurrentRun(row);
            int start = 0;
            int end = 0;
            RunRange(first, last, r, index, run->GetLength(), &start, &end);
            text.Add(run->GetText().GetText() + start, end - start);
        }
    }
    return KwString(text.data, text.length);
}

// The bytes [start, end) of a run that lie between the ordered positions
// first and last; start == end when none do.
void KwTextView::RunRange(const KwTSIndex& first, const KwTSIndex& last, int row, int run,
                          int length, int* start, int* end)
{
    int firstHere = first.GetRow() == row && first.GetRun() == run;
    int lastHere = last.GetRow() == row && last.GetRun() == run;
    if (first.Compare(KwTSIndex(row, run, 0)) <= 0) {
        *start = 0;
    } else {
        *start = firstHere ? Clamp(first.GetOffset(), 0, length) : length;
    }
    if (last.Compare(KwTSIndex(row, run, length)) >= 0) {
        *end = length;
    } else {
        *end = lastHere ? Clamp(last.GetOffset(), 0, length) : 0;
    }
    if (*end < *start) {
        *end = *start;
    }
}

// ---- Scroll bars ------------------------------------------------------------

KwScrollBar* KwTextView::GetHScrollBar()
{
    if (m_pHBar != nullptr) {
        m_pHBar->AddRef();
    }
    return m_pHBar;
}

void KwTextView::SetHScrollBar(KwScrollBar* bar)
{
    ReplaceBar(&m_pHBar, bar, KW_SCROLL_HORIZONTAL);
}

KwScrollBar* KwTextView::GetVScrollBar()
{
    if (m_pVBar != nullptr) {
        m_pVBar->AddRef();
    }
    return m_pVBar;
}

void KwTextView::SetVScrollBar(KwScrollBar* bar)
{
    ReplaceBar(&m_pVBar, bar, KW_SCROLL_VERTICAL);
}

void KwTextView::ReplaceBar(KwScrollBar** slot, KwScrollBar* bar, int orientation)
{
    if (bar == nullptr || bar == *slot) {
        return;
    }
    bar->AddRef();
    if (*slot != nullptr) {
        Remove(*slot);
        (*slot)->Release();
    }
    *slot = bar;
    bar->SetOrientation(orientation);
    // Shown by UpdateScrollBars once the text needs it.
    bar->Hide();
    Add(bar);
    UpdateScrollBars();
}

void KwTextView::UpdateScrollBars()
{
    KwSize size = GetSize();
    int width = size.GetWidth();
    int height = size.GetHeight();
    int b = m_nBorderAdjust;
    int rowHeight = m_nLineHeight + 1;
    int areaWidth = width + 2 * b - 4;
    int areaHeight = height + 2 * b - 4;
    int rows = GetRowCount();
    int vertical = rows > (areaHeight > 0 ? areaHeight / rowHeight : 0);
    int horizontal = m_nWidestRow > areaWidth - (vertical ? kBarThickness : 0);
    if (horizontal && !vertical) {
        int shortened = areaHeight - kBarThickness;
        vertical = rows > (shortened > 0 ? shortened / rowHeight : 0);
    }
    int textHeight = areaHeight - (horizontal ? kBarThickness : 0);
    m_nVisibleRows = textHeight > 0 ? textHeight / rowHeight : 0;
    m_bHBarShown = horizontal;
    m_bVBarShown = vertical;
    int spare = vertical ? 0 : kBarThickness;
    if (m_pHBar != nullptr) {
        SetBarRange(m_pHBar, m_nWidestRow > 0 ? m_nWidestRow : 1, HorizontalVisibleAmount(),
                    kHorizontalStep);
        PlaceBar(m_pHBar, horizontal, 2 - b, b + height - 20, width + 2 * b - 22 + spare,
                 kBarThickness);
    }
    spare = horizontal ? 0 : kBarThickness;
    if (m_pVBar != nullptr) {
        SetBarRange(m_pVBar, rows, m_nVisibleRows, 1);
        PlaceBar(m_pVBar, vertical, b + width - 20, 2 - b, kBarThickness,
                 height + 2 * b - 22 + spare);
    }
    SetHorizontalOffset(m_nHorizontalOffset);
    SetTopRow(m_bAutoScroll && m_bAtBottom ? BottomTopRow() : m_nTopRow);
}

// Every setter lays the thumb out again, so only changed values are set.
void KwTextView::SetBarRange(KwScrollBar* bar, int maximum, int visible, int unit)
{
    if (bar->GetMaximum() != maximum) {
        bar->SetMaximum(maximum);
    }
    if (bar->GetMinimum() != 0) {
        bar->SetMinimum(0);
    }
    if (bar->GetVisibleAmount() != visible) {
        bar->SetVisibleAmount(visible);
    }
    if (bar->GetUnitIncrement() != unit) {
        bar->SetUnitIncrement(unit);
    }
}

// Moves, sizes and shows the bar only where something changed, so that an
// append that changes nothing costs no window work.
void KwTextView::PlaceBar(KwScrollBar* bar, int shown, int x, int y, int w, int h)
{
    KwPoint location = bar->GetLocation();
    KwSize size = bar->GetSize();
    if (location.GetX() != x || location.GetY() != y || size.GetWidth() != w ||
        size.GetHeight() != h) {
        bar->SetBounds(x, y, w, h, 1);
    }
    if (shown && !bar->IsVisible()) {
        bar->Show(0);
    } else if (!shown && bar->IsVisible()) {
        bar->Hide();
    }
}

int KwTextView::HorizontalVisibleAmount()
{
    return GetSize().GetWidth() + 2 * m_nBorderAdjust - 26 + (m_bVBarShown ? 0 : kBarThickness);
}

// The top row that shows the last row holding text at the bottom of the
// view; a final empty row (left by a closing line break) is not counted.
int KwTextView::BottomTopRow()
{
    int last = GetRowCount() - 1;
    if (last > 0 && GetRowWidth(last) == 0) {
        Row* row = GetRow(last);
        KwTextAttrib* run = row->MoveFirst() ? CurrentRun(row) : nullptr;
        if (row->GetCount() <= 1 && (run == nullptr || run->GetLength() == 0)) {
            --last;
        }
    }
    int top = last + 1 - m_nVisibleRows;
    return top > 0 ? top : 0;
}

void KwTextView::SetTopRow(int top)
{
    int highest = GetRowCount() - (m_nVisibleRows > 0 ? m_nVisibleRows : 1);
    m_nTopRow = Clamp(top, 0, highest > 0 ? highest : 0);
    if (m_pVBar != nullptr && m_pVBar->GetValue() != m_nTopRow) {
        m_pVBar->SetValue(m_nTopRow);
    }
    m_bAtBottom = m_nTopRow >= BottomTopRow();
}

void KwTextView::SetHorizontalOffset(int offset)
{
    int highest = m_bHBarShown ? m_nWidestRow - HorizontalVisibleAmount() : 0;
    m_nHorizontalOffset = Clamp(offset, 0, highest > 0 ? highest : 0);
    if (m_pHBar != nullptr && m_pHBar->GetValue() != m_nHorizontalOffset) {
        m_pHBar->SetValue(m_nHorizontalOffset);
    }
}

int KwTextView::ActionPerformed(KwObject* source, int id, intptr_t param)
{
    if (id != EVT_SCROLL_CHANGED || source == nullptr) {
        return KwContainer::ActionPerformed(source, id, param);
    }
    if (m_pHBar != nullptr && source == static_cast<KwObject*>(m_pHBar)) {
        m_nHorizontalOffset = m_pHBar->GetValue();
    } else if (m_pVBar != nullptr && source == static_cast<KwObject*>(m_pVBar)) {
        m_nTopRow = m_pVBar->GetValue();
        m_bAtBottom = m_nTopRow >= BottomTopRow();
    } else {
        return KwContainer::ActionPerformed(source, id, param);
    }
    KwComponent::RepaintAll();
    return 1;
}

// ---- Settings ---------------------------------------------------------------

void KwTextView::SetTextBackground(const KwColor& color)
{
    m_textBackground = color;
    SetBackground(color);
}

void KwTextView::SetSelectionBackground(const KwColor& color)
{
    m_selectionBackground = color;
}

void KwTextView::SetSelectionText(const KwColor& color)
{
    m_selectionText = color;
}

void KwTextView::SetAutoScroll(int autoScroll)
{
    m_bAutoScroll = autoScroll;
}

void KwTextView::SetBorderAdjust(int adjust)
{
    m_nBorderAdjust = adjust;
    UpdateScrollBars();
}

int KwTextView::GetLineHeight()
{
    return m_nLineHeight;
}

int KwTextView::GetTopRow()
{
    return m_nTopRow;
}

void KwTextView::ScrollToRow(int row)
{
    SetTopRow(row);
    KwComponent::RepaintAll();
}

int KwTextView::GetVisibleRows()
{
    return m_nVisibleRows;
}

int KwTextView::GetHorizontalOffset()
{
    return m_nHorizontalOffset;
}

KwTSIndex KwTextView::GetSelectionAnchor()
{
    return m_anchor;
}

KwTSIndex KwTextView::GetSelectionEnd()
{
    return m_end;
}

void KwTextView::SetFont(KwFont* font)
{
    KwComponent::SetFont(font);
    UpdateLineHeight();
    UpdateScrollBars();
}

void KwTextView::OnAfterCreate()
{
    KwContainer::OnAfterCreate();
    UpdateLineHeight();
    RemeasureAll();
    UpdateScrollBars();
}

int KwTextView::OnSize(int kind, int width, int height)
{
    UpdateScrollBars();
    return KwContainer::OnSize(kind, width, height);
}

// ---- Hit testing and selection ----------------------------------------------

KwTSIndex KwTextView::HitTest(const KwPoint& point)
{
    int b = m_nBorderAdjust;
    int y = point.GetY() > 3 ? point.GetY() : 3;
    int row = (b + y - 2) / (m_nLineHeight + 1) + m_nTopRow;
    row = Clamp(row, 0, GetRowCount() - 1);
    int x = b + m_nHorizontalOffset + (point.GetX() > 3 ? point.GetX() : 3) - 3;
    int run = 0;
    int offset = LocateInRow(row, x, &run);
    return KwTSIndex(row, run, offset);
}

// The run and byte offset nearest to x pixels from the row's start; the
// end of the row when x lies beyond it.
int KwTextView::LocateInRow(int row, int x, int* run)
{
    Row* runs = GetRow(row);
    *run = 0;
    if (runs == nullptr || runs->GetCount() == 0) {
        return 0;
    }
    int left = 0;
    int index = 0;
    for (int more = runs->MoveFirst(); more; more = runs->MoveNext(), ++index) {
        KwTextAttrib* attrib = CurrentRun(runs);
        if (x < left + attrib->GetWidth()) {
            *run = index;
            return LocateInRun(attrib, x - left);
        }
        left += attrib->GetWidth();
    }
    *run = runs->GetCount() - 1;
    runs->MoveLast();
    return CurrentRun(runs)->GetLength();
}

// The character boundary nearest to x pixels into the run. The widths of
// the run's prefixes grow with their length, so the boundary is found by
// halving the range of characters rather than measuring each one.
int KwTextView::LocateInRun(KwTextAttrib* run, int x)
{
    const char* text = run->GetText().GetText();
    int length = run->GetLength();
    int* bounds = static_cast<int*>(malloc((static_cast<size_t>(length) + 1) * sizeof(int)));
    if (bounds == nullptr || text == nullptr) {
        free(bounds);
        return 0;
    }
    int count = 0;
    for (int offset = 0; offset < length; offset += CharacterLength(text, offset, length)) {
        bounds[count++] = offset;
    }
    bounds[count] = length;
    // Largest i whose prefix width is at most x; prefix 0 is 0 wide.
    int low = 0;
    int high = count;
    while (low < high) {
        int middle = (low + high + 1) / 2;
        if (MeasureRun(run, bounds[middle]) <= x) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    int offset = bounds[low];
    if (low < count) {
        int before = MeasureRun(run, bounds[low]);
        int after = MeasureRun(run, bounds[low + 1]);
        if ((x - before) * 2 >= after - before) {
            offset = bounds[low + 1];
        }
    }
    free(bounds);
    return offset;
}

void KwTextView::ResetSelection()
{
    m_anchor.Set(0, 0, 0);
    m_end.Set(0, 0, 0);
    m_bDragging = 0;
}

int KwTextView::Copy()
{
    if (m_anchor.Compare(m_end) == 0) {
        return 0;
    }
    KwString text = GetText(m_anchor, m_end);
    if (text.GetLength() == 0) {
        return 0;
    }
    return CopyToClipboard(text);
}

int KwTextView::OnLButtonDown(const KwPoint& point)
{
    m_bDragging = 1;
    m_anchor = HitTest(point);
    m_end = m_anchor;
    KwComponent::RepaintAll();
    SetCapture();
    return 1;
}

int KwTextView::OnMouseMove(const KwPoint& point)
{
    if (!m_bDragging) {
        return 1;
    }
    ScrollWhileDragging(point);
    m_end = HitTest(point);
    KwComponent::RepaintAll();
    return 1;
}

int KwTextView::OnLButtonUp(const KwPoint&)
{
    if (m_bDragging) {
        m_bDragging = 0;
        ReleaseCapture(0);
    }
    return 1;
}

// A pointer dragged beyond the text area scrolls one row or one step
// toward it per movement.
void KwTextView::ScrollWhileDragging(const KwPoint& point)
{
    KwSize size = GetSize();
    int right = size.GetWidth() - (m_bVBarShown ? kBarThickness + 2 : 0);
    int bottom = size.GetHeight() - (m_bHBarShown ? kBarThickness + 2 : 0);
    if (point.GetY() < 0) {
        SetTopRow(m_nTopRow - 1);
    } else if (point.GetY() >= bottom) {
        SetTopRow(m_nTopRow + 1);
    }
    if (point.GetX() < 0) {
        SetHorizontalOffset(m_nHorizontalOffset - kHorizontalStep);
    } else if (point.GetX() >= right) {
        SetHorizontalOffset(m_nHorizontalOffset + kHorizontalStep);
    }
}

int KwTextView::OnKeyDown(int key, int)
{
    if ((key == 'C' || key == 'c') && IsKeyDown(VK_CONTROL)) {
        Copy();
    }
    return 1;
}

// ---- Painting ---------------------------------------------------------------

int KwTextView::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwComponent::OnPaint(area, graphics);
    if (graphics == nullptr) {
        return 1;
    }
    KwFont* font = graphics->GetFont();
    KwColor* pen = graphics->GetColor();
    unsigned int penColor = pen != nullptr ? pen->GetARGB() : 0;
    graphics->SetTransparentText(1);
    int b = m_nBorderAdjust;
    int rowHeight = m_nLineHeight + 1;
    // One more row than fits completely: the partly visible one below.
    for (int r = 0; r <= m_nVisibleRows; ++r) {
        int row = m_nTopRow + r;
        if (row >= GetRowCount()) {
            break;
        }
        PaintRow(graphics, row, 3 - b - m_nHorizontalOffset, 2 - b + r * rowHeight);
    }
    if (font != nullptr) {
        graphics->SetFont(font);
        font->Release();
    }
    if (pen != nullptr) {
        pen->SetARGB(penColor);
    }
    PaintCornerAndFrame(graphics, pen);
    if (pen != nullptr) {
        pen->SetARGB(penColor);
        pen->Release();
    }
    return 1;
}

void KwTextView::PaintRow(IKwGraphics* graphics, int row, int x, int y)
{
    Row* runs = GetRow(row);
    int right = GetSize().GetWidth();
    int index = 0;
    for (int more = runs->MoveFirst(); more && x < right; more = runs->MoveNext(), ++index) {
        KwTextAttrib* run = CurrentRun(runs);
        if (x + run->GetWidth() > 0) {
            PaintRun(graphics, row, index, run, x, y);
        }
        x += run->GetWidth();
    }
}

// The run in up to three pieces: before, inside and after the selection,
// the inside one on the selection background.
void KwTextView::PaintRun(IKwGraphics* graphics, int row, int index, KwTextAttrib* run, int x,
                          int y)
{
    int ordered = m_anchor.Compare(m_end) <= 0;
    const KwTSIndex& first = ordered ? m_anchor : m_end;
    const KwTSIndex& last = ordered ? m_end : m_anchor;
    int length = run->GetLength();
    int start = 0;
    int end = 0;
    RunRange(first, last, row, index, length, &start, &end);
    if (start == end) {
        PaintPiece(graphics, run, 0, length, x, y, 0);
        return;
    }
    int before = MeasureRun(run, start);
    int through = MeasureRun(run, end);
    FillArea(graphics, m_selectionBackground, x + before, y, through - before,
             m_nLineHeight + 1);
    PaintPiece(graphics, run, 0, start, x, y, 0);
    PaintPiece(graphics, run, start, end, x + before, y, 1);
    PaintPiece(graphics, run, end, length, x + through, y, 0);
}

void KwTextView::PaintPiece(IKwGraphics* graphics, KwTextAttrib* run, int from, int to, int x,
                            int y, int selected)
{
    if (to <= from) {
        return;
    }
    KwFont* font = run->GetFont();
    if (font != nullptr) {
        graphics->SetFont(font);
        font->Release();
    }
    KwColor* pen = graphics->GetColor();
    if (pen != nullptr) {
        pen->SetARGB(selected ? m_selectionText.GetARGB() : run->GetColor().GetARGB());
        pen->Release();
    }
    KwString piece(run->GetText().GetText() + from, to - from);
    graphics->DrawTextInRect(piece, KwRect(x, y, kUnclippedWidth, m_nLineHeight + 1),
                             kSingleLineFormat);
}

// The corner between two shown bars, then the frame around the view.
void KwTextView::PaintCornerAndFrame(IKwGraphics* graphics, KwColor* pen)
{
    KwSize size = GetSize();
    int width = size.GetWidth();
    int height = size.GetHeight();
    int b = m_nBorderAdjust;
    if (m_bHBarShown && m_bVBarShown) {
        FillArea(graphics, KwColor(220, 220, 220), width + b - 20, height + b - 20,
                 kBarThickness, kBarThickness);
    }
    if (Is3DLook()) {
        graphics->Draw3DFrame(0, 0, width - 1, height - 1, KW_FRAME_SUNKEN);
    } else {
        if (pen != nullptr) {
            pen->SetARGB(0);
        }
        graphics->DrawRect(0, 0, width - 1, height - 1);
    }
}

void KwTextView::FillArea(IKwGraphics* graphics, const KwColor& color, int x, int y, int w, int h)
{
    KwColor* back = graphics->GetBackColor();
    if (back == nullptr) {
        return;
    }
    unsigned int saved = back->GetARGB();
    back->SetARGB(color.GetARGB());
    graphics->ClearRect(KwRect(x, y, w, h));
    back->SetARGB(saved);
    back->Release();
}

} // namespace KwSDK
