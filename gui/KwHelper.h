// The hint pop-up: a small framed box with one line of text.
#ifndef KWSDK_KWHELPER_H
#define KWSDK_KWHELPER_H

#include "KwPopupWindow.h"

namespace KwSDK {

// Hidden at first, on a pale yellow background, sized 4 by 2 pixels around
// its text (the text's extent needs the window, so the size is measured
// again when the window is made). The widget that owns it positions and
// shows it.
class KwHelper : public KwPopupWindow {
public:
    KwHelper();
    ~KwHelper() override;

    // Stores the text and sizes the box around it.
    void SetText(const KwString& text) override;
    KwString GetText() override;

    void OnAfterCreate() override;
    // Background, a black one-pixel outline and the text at (2, 1).
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    using KwPopupWindow::OnPaint;

private:
    void FitText();

    KwString m_sText;
};

} // namespace KwSDK

#endif
