// The text caret of a component window, on the system caret.
#ifndef KWSDK_COMPONENTCARET_H
#define KWSDK_COMPONENTCARET_H

#include "IKwCaret.h"

#include <windows.h>

namespace KwSDK {

// The system keeps one caret per thread: creating it for one window takes
// it from any other, and every HideCaret must be balanced by a ShowCaret
// before it shows again. The created flag only records whether CreateCaret
// was called without a later DestroyCaret.
class ComponentCaret : public IKwCaret {
public:
    ComponentCaret();
    ~ComponentCaret() override;

    // Re-creates and shows a created caret when the height changes; always
    // stores the height.
    void SetHeight(int height) override;
    // A solid block of width x height for the window; 0 without a window.
    int CreateCaret() override;
    int ShowCaret() override;
    int HideCaret() override;
    // Client coordinates of the window that owns the system caret.
    int SetPosition(int x, int y) override;
    int DestroyCaret() override;
    // System-wide, in milliseconds.
    int SetBlinkTime(int milliseconds) override;
    int GetBlinkTime() override;

    // Given by the component when its window is made (null when it is gone).
    virtual void SetWindow(HWND window);

    int IsCaretCreated() const;

private:
    HWND m_hWindow;
    int m_bCreated;
};

} // namespace KwSDK

#endif
