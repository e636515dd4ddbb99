// A list of text rows with single or multiple selection, keyboard
// navigation and two scroll bars.
#ifndef KWSDK_KWLISTBOX_H
#define KWSDK_KWLISTBOX_H

#include "KwContainer.h"
#include "KwListBoxItem.h"
#include "KwScrollBar.h"
#include "TKwList.h"

namespace KwSDK {

// Posted to the parent when a selection was made by a mouse release or by
// a key, or confirmed with Enter.
const int EVT_LIST_SELECT = 0x04101801;
// Posted to the parent on a double click on a row.
const int EVT_LIST_DOUBLE_CLICK = 0x08091301;

// Rows are the font height plus one pixel high and start 2 pixels inside
// the border adjustment b (positive b pushes the content outward by b on
// every side). The list owns its items; the scroll bars are children,
// shown only while needed, and the list follows their changes.
//
// The list is realised once its window exists: only then are items
// measured, the line height known and the scroll bars laid out. Every
// operation ignores an index outside the items (text getters answer an
// empty string, index getters -1).
//
// Selection: the current item is the one the keyboard moves from and the
// anchor of a Shift range. In single mode selecting an item deselects the
// current one; in multiple mode a plain press selects only the pressed
// row, Shift+press selects the range from the current item to it, and
// Ctrl+press toggles it.
class KwListBox : public KwContainer {
public:
    KwListBox();
    ~KwListBox() override;

    // index may be the count (appends); 1 when inserted.
    virtual int InsertItem(int index, const KwString& text);
    virtual int AddItem(const KwString& text);
    // Removes the first item with exactly this text; 1 when one was found.
    virtual int RemoveItem(const KwString& text);
    virtual int RemoveItemAt(int index);
    // No current item afterwards, widest 0, both scroll bars hidden.
    virtual void RemoveAllItems();
    // Makes the item current; in single mode the previous current item is
    // deselected. Sends nothing.
    virtual void SelectItem(int index);
    virtual int IsSelected(int index);
    virtual KwString GetItemText(int index);
    // The lists are appended to; each answers the number of entries added.
    virtual int GetItemTexts(TKwList<KwString>& texts);
    virtual int GetSelectedIndices(TKwList<int>& indices);
    virtual int GetFirstSelectedIndex();
    virtual KwString GetFirstSelectedText();
    virtual int GetSelectedTexts(TKwList<KwString>& texts);
    virtual void DeselectItem(int index);
    virtual void SetSelectionBackground(const KwColor& color);
    virtual void SetSelectedTextColor(const KwColor& color);
    // The setters replace the bar (null leaves the list without it); the
    // getters answer the bar with one added reference, or null.
    virtual void SetHorizontalScrollBar(KwScrollBar* bar);
    virtual KwScrollBar* GetHorizontalScrollBar();
    virtual void SetVerticalScrollBar(KwScrollBar* bar);
    virtual KwScrollBar* GetVerticalScrollBar();
    // Realises the list: line height, item widths, layout.
    virtual void Initialize();
    // Visible rows, which scroll bars are needed, and their places.
    virtual void Layout();
    // Measures every item and keeps the widest width.
    virtual void ComputeWidestItem();
    // Gives both bars their range, visible amount, step and value.
    virtual void UpdateScrollBars();
    virtual void RepaintRows();
    // The keyboard's moves: each selects an item (deselecting the current
    // one) and scrolls it into view, posting nothing; the key handler posts
    // EVT_LIST_SELECT when a key moved the current item.
    virtual void MoveSelectionUp();
    virtual void MoveSelectionDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void ScrollLeft();
    virtual void ScrollRight();
    // Called after a scroll bar was replaced: lays out again.
    virtual void OnScrollBarReplaced();
    // Selects the items from first to last (either order) and clears all
    // others.
    virtual void SelectRange(int first, int last);

    int GetItemCount() const;
    void SetMultipleSelection(int multiple);
    int IsMultipleSelection() const;
    // The current item, or -1.
    int GetCurrentIndex() const;
    int GetTopRow() const;
    // Makes the row the top row, as far as the rows allow; the vertical bar
    // follows.
    void SetTopRow(int row);
    int GetVisibleRows() const;
    int GetLineHeight() const;
    int GetHorizontalOffset() const;
    int GetWidestItemWidth() const;
    void SetBorderAdjustment(int adjustment);
    int GetBorderAdjustment() const;

    void SetFont(KwFont* font) override;
    void OnAfterCreate() override;
    int ActionPerformed(KwObject* source, int id, intptr_t param) override;
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnLButtonDblClk(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnFocusGained() override;
    int OnFocusLost() override;
    int OnKeyDown(int key, int flags) override;
    int OnSize(int kind, int width, int height) override;
    using KwContainer::OnPaint;
    using KwContainer::OnLButtonDown;
    using KwContainer::OnLButtonUp;
    using KwContainer::OnLButtonDblClk;
    using KwContainer::OnMouseMove;
    using KwContainer::OnFocusGained;
    using KwContainer::OnFocusLost;
    using KwContainer::OnKeyDown;
    using KwContainer::OnSize;

private:
    KwListBoxItem* ItemAt(int index) const;
    int HasIndex(int index) const;
    int MakeRoom();
    int MeasureItem(KwListBoxItem* item);
    void ItemsChanged();
    void MoveTo(int index);
    void ShowRow(int index);
    void FollowBars();
    int RowAt(const KwPoint& point);
    int InRowArea(const KwPoint& point);
    int TextWidth();
    int VisibleTextWidth();
    int MaxOffset();
    void PaintRow(IKwGraphics* graphics, int index, int y, int textWidth);
    void PaintCorner(IKwGraphics* graphics);
    void ReportSelection();
    void PlaceBar(KwScrollBar* bar, int shown, int x, int y, int w, int h);
    int ReplaceBar(KwScrollBar* old, KwScrollBar* bar, int orientation);

    KwListBoxItem** m_ppItems;
    int m_nCount;
    int m_nCapacity;
    int m_bMultiple;
    int m_nCurrent;
    int m_nTopRow;
    int m_nVisibleRows;
    int m_nLineHeight;
    int m_nWidest;
    int m_nOffset;
    int m_bPressed;
    int m_bFocused;
    int m_bRealised;
    int m_bHorizontalShown;
    int m_bVerticalShown;
    int m_nBorder;
    KwColor m_crSelection;
    KwColor m_crSelectedText;
    KwScrollBar* m_pHorizontal;
    KwScrollBar* m_pVertical;
};

} // namespace KwSDK

#endif
