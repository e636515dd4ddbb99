// The radio button: a round mark with a label that is selected by a click
// or a space bar release and never cleared by input.
#ifndef KWSDK_KWRADIOBUTTON_H
#define KWSDK_KWRADIOBUTTON_H

#include "KwDesignComponent.h"

namespace KwSDK {

// Fired at once (to the button itself, then its action listeners) with
// parameter 0 each time input selects the button, even when it already was.
const int EVT_RADIO_SELECTED = 0x04101202;

// Clearing the other buttons of a set is the work of a KwRadioButtonGroup.
class KwRadioButton : public virtual KwDesignComponent {
public:
    explicit KwRadioButton(const KwString& label);
    ~KwRadioButton() override;

    // Copies the text and repaints.
    virtual void SetLabel(const KwString& label);
    virtual KwString GetLabel();
    // Stores the state and repaints; fires nothing.
    virtual void SetSelected(int selected);
    virtual int GetSelected();

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnLButtonDown(const KwPoint& point) override;
    int OnLButtonUp(const KwPoint& point) override;
    int OnMouseMove(const KwPoint& point) override;
    int OnFocusGained() override;
    int OnFocusLost() override;
    int OnKeyDown(int key, int flags) override;
    int OnKeyUp(int key, int flags) override;
    using KwComponent::OnPaint;
    using KwComponent::OnLButtonDown;
    using KwComponent::OnLButtonUp;
    using KwComponent::OnMouseMove;
    using KwComponent::OnFocusGained;
    using KwComponent::OnFocusLost;
    using KwComponent::OnKeyDown;
    using KwComponent::OnKeyUp;

private:
    void Select();
    void DrawMark(IKwGraphics* graphics, int top);
    void DrawDot(IKwGraphics* graphics, int top);

    KwString m_sLabel;
    int m_bSelected;
    int m_bPressed;
    int m_bPointerInside;
    int m_bFocused;
};

} // namespace KwSDK

#endif
