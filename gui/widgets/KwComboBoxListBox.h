// The list that drops down from a combo box.
#ifndef KWSDK_KWCOMBOBOXLISTBOX_H
#define KWSDK_KWCOMBOBOXLISTBOX_H

#include "KwListBox.h"

namespace KwSDK {

class KwComboBoxScrollBar;

// A list box in a pop-up window, drawn with a one-pixel outline and its
// rows one pixel inside it. While it is open it holds the mouse capture,
// so every press of the program reaches it: a press outside the list
// closes it, a press on one of its scroll bars is handed to that bar, and
// a press on a row selects as in any list box, the release posting
// EVT_LIST_SELECT to the combo box. A release whose press the list did not
// see (the press that opened it) is ignored.
class KwComboBoxListBox : public KwListBox {
public:
    KwComboBoxListBox();
    ~KwComboBoxListBox() override;

    // Shows the list without activating it and takes the mouse.
    virtual void Open();
    // Hides the list and gives the mouse back.
    virtual void Close();

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    using KwListBox::OnLButtonDown;
    using KwListBox::OnLButtonUp;
    using KwListBox::OnMouseMove;
    using KwListBox::OnPaint;

private:
    // The bar under the point, with one added reference, and the point in
    // the bar's coordinates; null when the point is on no shown bar.
    KwComboBoxScrollBar* BarAt(const KwPoint& point, KwPoint* local);
    int IsInside(const KwPoint& point);
    KwPoint InBar(KwComboBoxScrollBar* bar, const KwPoint& point);

    // The drop-down bars made by the constructor, each with a reference of
    // its own; used only while they are still the list's bars.
    KwComboBoxScrollBar* m_pVerticalBar;
    KwComboBoxScrollBar* m_pHorizontalBar;
    KwComboBoxScrollBar* m_pHeldBar;
    int m_bRowPressed;
};

} // namespace KwSDK

#endif
