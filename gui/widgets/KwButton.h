// The push button: a framed, centred label that posts an action to its
// parent when it is clicked or the space bar is released on it, with an
// optional hint pop-up.
#ifndef KWSDK_KWBUTTON_H
#define KWSDK_KWBUTTON_H

#include "KwDesignComponent.h"

namespace KwSDK {

class KwHelper;

// Posted to the parent component with parameter 0.
const int EVT_BUTTON_ACTION = 0x04100701;

// A press counts when it is released with the pointer on the button (the
// right and bottom edge pixels included); a press dragged off and released
// outside sends nothing. The space bar's key-up always counts, whether or
// not its key-down was seen; Enter is not handled.
class KwButton : public virtual KwDesignComponent {
public:
    KwButton();
    ~KwButton() override;

    // Copies the text and repaints.
    virtual void SetLabel(const KwString& label);
    virtual KwString GetLabel();
    // Gives the text to the hint pop-up; from then on the pop-up shows while
    // the pointer rests on the button.
    virtual void SetHintText(const KwString& text);
    // Replaces the hint pop-up, keeping a reference to the new one; null
    // leaves the button without a hint.
    virtual void SetHintPopup(KwHelper* popup);

    // Only a change of state does anything; both repaint.
    void Enable() override;
    void Disable() override;

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnFocusGained() override;
    int OnFocusLost() override;
    int OnKeyDown(int key, int flags) override;
    int OnKeyUp(int key, int flags) override;
    int OnMouseHover(const KwPoint& point) override;
    int OnMouseLeave() override;
    using KwComponent::OnPaint;
    using KwComponent::OnLButtonDown;
    using KwComponent::OnLButtonUp;
    using KwComponent::OnMouseMove;
    using KwComponent::OnFocusGained;
    using KwComponent::OnFocusLost;
    using KwComponent::OnKeyDown;
    using KwComponent::OnKeyUp;
    using KwComponent::OnMouseHover;
    using KwComponent::OnMouseLeave;

private:
    void DrawFrame(IKwGraphics* graphics, int width, int height, int* shift);
    void AttachHint();
    // Stores whether the point lies off the button; 1 when that changed.
    int TrackPointer(const KwPoint& point);

    KwString m_sLabel;
    int m_bDisabled;
    int m_bPointerOutside;
    int m_bHintEnabled;
    int m_bHintAttached;
    KwHelper* m_pHint;
    int m_bPressed;
    int m_bFocused;
};

} // namespace KwSDK

#endif
