// The scroll bar of a combo box's drop-down list.
#ifndef KWSDK_KWCOMBOBOXSCROLLBAR_H
#define KWSDK_KWCOMBOBOXSCROLLBAR_H

#include "KwScrollBar.h"

namespace KwSDK {

// The open drop-down holds the mouse capture, so the bar's arrows and thumb
// never hear the mouse themselves: the list hands each press, move and
// release over in the bar's coordinates, and the bar works its parts as
// their own handlers would, without taking the capture. An arrow steps and
// repeats as if it were pressed, a drag moves the thumb and posts
// EVT_THUMB_MOVED for it, and a press on the track pages once.
class KwComboBoxScrollBar : public KwScrollBar {
public:
    explicit KwComboBoxScrollBar(int orientation = KW_SCROLL_VERTICAL);
    ~KwComboBoxScrollBar() override;

    virtual void PressAt(const KwPoint& point);
    virtual void DragTo(const KwPoint& point);
    virtual void ReleaseAt(const KwPoint& point);

private:
    int Along(const KwPoint& point) const;
    int Contains(KwComponent* part, const KwPoint& point);
    void PageToward(const KwPoint& point, KwScrollBarBox* thumb);
    void ReleaseArrow();

    KwArrowButton* m_pHeldArrow;
    int m_bDragging;
    int m_nGrip;
};

} // namespace KwSDK

#endif
