// The draggable thumb of a scroll bar.
#ifndef KWSDK_KWSCROLLBARBOX_H
#define KWSDK_KWSCROLLBARBOX_H

#include "KwComponent.h"

namespace KwSDK {

// Posted to the scroll bar when a drag has moved the thumb.
const int EVT_THUMB_MOVED = 0x04101103;
// Posted to the scroll bar when a drag has ended.
const int EVT_THUMB_RELEASED = 0x08020402;

// Orientations of scroll bars and their thumbs.
const int KW_SCROLL_HORIZONTAL = 0;
const int KW_SCROLL_VERTICAL = 1;

// The thumb moves only along the bar's axis and only between the lowest and
// highest positions its scroll bar allows; the bar turns its position into
// a value when told that it moved.
class KwScrollBarBox : public virtual KwComponent {
public:
    explicit KwScrollBarBox(int orientation = KW_SCROLL_VERTICAL);
    ~KwScrollBarBox() override;

    virtual void SetOrientation(int orientation);
    // The allowed positions of the thumb's leading edge along the axis, in
    // the bar's coordinates; the scroll bar sets them when it lays out.
    virtual void SetPositionRange(int lowest, int highest);

    int GetOrientation() const;
    int GetLowestPosition() const;
    int GetHighestPosition() const;
    int IsDragging() const;

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    using KwComponent::OnPaint;
    using KwComponent::OnLButtonDown;
    using KwComponent::OnLButtonUp;
    using KwComponent::OnMouseMove;

private:
    int m_nOrientation;
    int m_nLowest;
    int m_nHighest;
    int m_bDragging;
    KwPoint m_ptPress;
};

} // namespace KwSDK

#endif
