// The check box: a small box with a label that turns its tick on and off
// on each click and each space bar release.
#ifndef KWSDK_KWCHECKBOX_H
#define KWSDK_KWCHECKBOX_H

#include "KwDesignComponent.h"

namespace KwSDK {

// Fired at once (to the box itself, then its action listeners) with
// parameter 0 each time the tick changes through input.
const int EVT_CHECKBOX_TOGGLED = 0x04101201;

class KwCheckBox : public virtual KwDesignComponent {
public:
    explicit KwCheckBox(const KwString& label);
    ~KwCheckBox() override;

    // Copies the text and repaints.
    virtual void SetLabel(const KwString& label);
    virtual KwString GetLabel();
    // Stores the state and repaints; fires nothing.
    virtual void SetChecked(int checked);
    virtual int GetChecked();

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnFocusGained() override;
    int OnFocusLost() override;
    int OnKeyUp(int key, int flags) override;
    using KwComponent::OnPaint;
    using KwComponent::OnLButtonDown;
    using KwComponent::OnLButtonUp;
    using KwComponent::OnMouseMove;
    using KwComponent::OnFocusGained;
    using KwComponent::OnFocusLost;
    using KwComponent::OnKeyUp;

private:
    void Toggle();
    void DrawBox(IKwGraphics* graphics, int height);
    void DrawTick(IKwGraphics* graphics, int top);

    KwString m_sLabel;
    int m_bChecked;
    int m_bPressed;
    int m_bPointerInside;
    int m_bFocused;
};

} // namespace KwSDK

#endif
