// A small button showing a filled triangle, used by scroll bars and the
// combo box; it reports press and release and leaves any repeat to its
// owner.
#ifndef KWSDK_KWARROWBUTTON_H
#define KWSDK_KWARROWBUTTON_H

#include "KwDesignComponent.h"

namespace KwSDK {

// Fired when the button is pressed, and again when the pointer comes back
// onto a held button.
const int EVT_ARROW_PRESSED = 0x00108241;
// Fired when the button is released, and when the pointer leaves a held
// button.
const int EVT_ARROW_RELEASED = 0x00108242;

// Directions of the arrow.
const int KW_ARROW_LEFT = 0;
const int KW_ARROW_UP = 1;
const int KW_ARROW_RIGHT = 2;
const int KW_ARROW_DOWN = 3;

// The arrow's three corners depend only on the arrow size k, not on the
// button's size: the arrow sits near the top-left corner and the owner picks
// k to fit the button (k = 0 suits an 18-pixel button).
class KwArrowButton : public virtual KwDesignComponent {
public:
    // Points down.
    KwArrowButton();
    explicit KwArrowButton(int direction);
    ~KwArrowButton() override;

    // One of KW_ARROW_LEFT .. KW_ARROW_DOWN; repaints.
    virtual void SetDirection(int direction);
    // A negative size is ignored; otherwise stores it and repaints.
    virtual void SetArrowSize(int size);

    int GetDirection() const;
    int GetArrowSize() const;
    // The button is held down with the pointer on it.
    int IsPressed() const;

    // The three corners of the arrow for a direction and size, tip first.
    static void GetArrowPoints(int direction, int size, KwPoint points[3]);

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    using KwDesignComponent::OnPaint;
    using KwDesignComponent::OnLButtonDown;
    using KwDesignComponent::OnLButtonUp;
    using KwDesignComponent::OnMouseMove;

private:
    void Construct(int direction);
    void PaintArrow(IKwGraphics* graphics, int width, int height);

    int m_nDirection;
    int m_nArrowSize;
    int m_bPressed;
    int m_bPointerInside;
};

} // namespace KwSDK

#endif
