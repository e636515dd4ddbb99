// The radio button: a round mark with a label that is selected by a click
// or a space bar release and never cleared by input.
#ifndef KWSDK_KWRADIOBUTTON_H
#define KWSDK_KWRADIOBUTTON_H

#include "KwMarkButton.h"

namespace KwSDK {

// Fired at once (to the button itself, then its action listeners) with
// parameter 0 each time input selects the button, even when it already was.
const int EVT_RADIO_SELECTED = 0x04101202;

// Clearing the other buttons of a set is the work of a KwRadioButtonGroup.
class KwRadioButton : public KwMarkButton {
public:
    explicit KwRadioButton(const KwString& label);
    ~KwRadioButton() override;

    // Stores the state and repaints; fires nothing.
    virtual void SetSelected(int selected);
    virtual int GetSelected();

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnKeyDown(int key, int flags) override;
    int OnKeyUp(int key, int flags) override;
    using KwComponent::OnPaint;
    using KwComponent::OnKeyDown;
    using KwComponent::OnKeyUp;

private:
    void Activate() override;
    void DrawMark(IKwGraphics* graphics, int top);
    void DrawDot(IKwGraphics* graphics, int top);

    int m_bSelected;
};

} // namespace KwSDK

#endif
