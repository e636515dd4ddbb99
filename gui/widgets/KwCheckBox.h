// The check box: a small box with a label that turns its tick on and off
// on each click and each space bar release.
#ifndef KWSDK_KWCHECKBOX_H
#define KWSDK_KWCHECKBOX_H

#include "KwMarkButton.h"

namespace KwSDK {

// Fired at once (to the box itself, then its action listeners) with
// parameter 0 each time the tick changes through input.
const int EVT_CHECKBOX_TOGGLED = 0x04101201;

class KwCheckBox : public KwMarkButton {
public:
    explicit KwCheckBox(const KwString& label);
    ~KwCheckBox() override;

    // Stores the state and repaints; fires nothing.
    virtual void SetChecked(int checked);
    virtual int GetChecked();

    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    int OnKeyUp(int key, int flags) override;
    using KwComponent::OnPaint;
    using KwComponent::OnKeyUp;

private:
    void Activate() override;
    void DrawBox(IKwGraphics* graphics, int height);
    void DrawTick(IKwGraphics* graphics, int top);

    int m_bChecked;
};

} // namespace KwSDK

#endif
