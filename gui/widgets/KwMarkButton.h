// What the check box and the radio button share: a label beside a small
// mark, the press that is followed while the mouse is held, and the focus
// rectangle around the label.
#ifndef KWSDK_KWMARKBUTTON_H
#define KWSDK_KWMARKBUTTON_H

#include "KwDesignComponent.h"

namespace KwSDK {

// A release inside the widget (its right and bottom edge pixels included)
// calls Activate, which the check box and the radio button give their own
// meaning.
class KwMarkButton : public virtual KwDesignComponent {
public:
    explicit KwMarkButton(const KwString& label);
    ~KwMarkButton() override;

    // Copies the text and repaints.
    virtual void SetLabel(const KwString& label);
    virtual KwString GetLabel();

    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnFocusGained() override;
    int OnFocusLost() override;
    using KwComponent::OnLButtonDown;
    using KwComponent::OnLButtonUp;
    using KwComponent::OnMouseMove;
    using KwComponent::OnFocusGained;
    using KwComponent::OnFocusLost;

    // 1 when the point lies on the widget, its right and bottom edges
    // included.
    static int IsInside(const KwPoint& point, const KwSize& size);

protected:
    // Called for a release inside the widget.
    virtual void Activate() = 0;
    // The mark is drawn in the background colour instead of white.
    int IsMarkGrey();
    // The dotted rectangle around the label while the widget has the focus.
    void DrawLabelFocus(IKwGraphics* graphics, int h, int fontHeight);

    KwString m_sLabel;
    int m_bPressed;
    int m_bPointerInside;
    int m_bFocused;
};

} // namespace KwSDK

#endif
