// A scrollable, read-only view of rows of coloured text runs with mouse
// selection and copy.
#ifndef KWSDK_KWTEXTVIEW_H
#define KWSDK_KWTEXTVIEW_H

#include "KwContainer.h"
#include "KwTSIndex.h"
#include "KwTextAttrib.h"
#include "TKwList.h"
#include "TKwVector.h"

namespace KwSDK {

class KwScrollBar;

// A row is a list of runs (KwTextAttrib), each drawn in its own colour and
// font; the view always holds at least one row, and text is appended to
// the last one. Each row is line height + 1 pixels high. Text is bytes in
// the system's ANSI code page, and a double-byte character is one
// character for hit testing and selection.
//
// Appending costs time for the appended text only: run and row widths are
// measured once when the text arrives, and painting walks only the rows in
// view. While auto-scroll is on and the view shows the last row, appended
// text keeps the last row in view; scrolled up, the view stays where it is.
//
// The two scroll bars are children of the view; each appears when the rows
// do not fit along its axis. The mouse selects from the press to the pointer, and Ctrl+C
// copies the selection with rows joined by CR LF.
class KwTextView : public virtual KwContainer {
public:
    KwTextView();
    ~KwTextView() override;

    // Every Append first turns each tab into eight spaces, drops CR bytes
    // and starts a new row at each LF. Text goes into the last run of the
    // row when that run has the same colour and font, otherwise into a new
    // run. The view repaints afterwards. 0 when memory ran out (the text up
    // to that point stays).
    virtual int Append(const KwString& text, const KwColor& color, KwFont* font);
    // In the view's own font.
    virtual int Append(const KwString& text, const KwColor& color);
    // In the view's foreground colour.
    virtual int Append(const KwString& text, KwFont* font);
    // The runs of a row, owned by the view; null outside the rows.
    virtual TKwList<KwTextAttrib*>* GetRow(int row);
    virtual int GetRowCount();
    // The text from one position to the other (in either order), rows
    // joined with CR LF.
    virtual KwString GetText(const KwTSIndex& from, const KwTSIndex& to);
    // Pixels; 0 outside the rows.
    virtual int GetRowWidth(int row);
    // With one added reference.
    virtual KwScrollBar* GetHScrollBar();
    // Replaces the horizontal bar (removing the old child); null is ignored.
    virtual void SetHScrollBar(KwScrollBar* bar);
    // With one added reference.
    virtual KwScrollBar* GetVScrollBar();
    // Replaces the vertical bar (removing the old child); null is ignored.
    virtual void SetVScrollBar(KwScrollBar* bar);
    // Behind the text; also the component's background. White by default.
    virtual void SetTextBackground(const KwColor& color);
    // Behind selected characters; (8, 36, 107) by default.
    virtual void SetSelectionBackground(const KwColor& color);
    // Selected characters are drawn in it; white by default.
    virtual void SetSelectionText(const KwColor& color);
    // Shows, hides and sets up the bars for the rows, the widest row and
    // the view's size.
    virtual void UpdateScrollBars();
    // An empty selection at the start of the text.
    virtual void ResetSelection();
    // Puts the selection on the clipboard; 0 when it is empty or the
    // clipboard refused it.
    virtual int Copy();

    // The row, run and byte offset under a point of the view, clamped to
    // the text.
    virtual KwTSIndex HitTest(const KwPoint& point);
    virtual void SetAutoScroll(int autoScroll);
    // Enlarges the text area by twice the value on each axis; 0 by default.
    virtual void SetBorderAdjust(int adjust);
    virtual int GetLineHeight();
    virtual int GetTopRow();
    // Scrolls so that the row is the top one (as far as the rows allow) and
    // repaints; the view follows appended text again once it shows the
    // last row.
    virtual void ScrollToRow(int row);
    // Rows that fit completely into the text area.
    virtual int GetVisibleRows();
    virtual int GetHorizontalOffset();
    virtual KwTSIndex GetSelectionAnchor();
    virtual KwTSIndex GetSelectionEnd();

    // Measures what was appended before the window existed.
    void OnAfterCreate() override;
    void SetFont(KwFont* font) override;
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnKeyDown(int key, int flags) override;
    int OnSize(int kind, int width, int height) override;
    using KwComponent::OnKeyDown;
    using KwComponent::OnLButtonDown;
    using KwComponent::OnLButtonUp;
    using KwComponent::OnMouseMove;
    using KwComponent::OnPaint;
    using KwComponent::OnSize;
    // Scroll bar changes move the view.
    int ActionPerformed(KwObject* source, int id, intptr_t param) override;

private:
    KwTextView(const KwTextView&) = delete;
    KwTextView& operator=(const KwTextView&) = delete;

    typedef TKwList<KwTextAttrib*> Row;

    int AddRow(const KwColor& color, KwFont* font);
    int AddToRow(Row* row, const char* bytes, int length, const KwColor& color, KwFont* font);
    void NoteRowWidth(int row);
    void RemeasureAll();
    int MeasureRun(KwTextAttrib* run, int length);
    void UpdateLineHeight();
    void RunRange(const KwTSIndex& first, const KwTSIndex& last, int row, int run, int length,
                  int* start, int* end);
    void ReplaceBar(KwScrollBar** slot, KwScrollBar* bar, int orientation);
    void SetBarRange(KwScrollBar* bar, int maximum, int visible, int unit);
    void PlaceBar(KwScrollBar* bar, int shown, int x, int y, int w, int h);
    int HorizontalVisibleAmount();
    int BottomTopRow();
    void SetTopRow(int top);
    void SetHorizontalOffset(int offset);
    void ScrollWhileDragging(const KwPoint& point);
    int LocateInRow(int row, int x, int* run);
    int LocateInRun(KwTextAttrib* run, int x);
    void PaintRow(IKwGraphics* graphics, int row, int x, int y);
    void PaintRun(IKwGraphics* graphics, int row, int index, KwTextAttrib* run, int x, int y);
    void PaintPiece(IKwGraphics* graphics, KwTextAttrib* run, int from, int to, int x, int y,
                    int selected);
    void PaintCornerAndFrame(IKwGraphics* graphics, KwColor* pen);
    void FillArea(IKwGraphics* graphics, const KwColor& color, int x, int y, int w, int h);

    TKwVector<void*> m_rows;
    int m_nCurrentRow;
    int m_nWidestRow;
    int m_nTopRow;
    int m_nVisibleRows;
    int m_nHorizontalOffset;
    KwTSIndex m_anchor;
    KwTSIndex m_end;
    int m_bDragging;
    int m_bAutoScroll;
    int m_bAtBottom;
    KwScrollBar* m_pHBar;
    KwScrollBar* m_pVBar;
    int m_bHBarShown;
    int m_bVBarShown;
    KwColor m_textBackground;
    KwColor m_selectionBackground;
    KwColor m_selectionText;
    int m_nBorderAdjust;
    int m_nLineHeight;
};

} // namespace KwSDK

#endif
