// A top-level window whose creation runs the message loop.
#ifndef KWSDK_KWWINDOW_H
#define KWSDK_KWWINDOW_H

#include "KwContainer.h"

namespace KwSDK {

// An overlapped window (window type 2) at first. Create makes the window
// and its children and then runs the message loop on the calling thread
// until a quit message; destroying the window posts that message.
class KwWindow : public KwContainer {
public:
    KwWindow();
    ~KwWindow() override;

    virtual void Quit();
    // Posts a close request, which listeners may refuse.
    virtual void Close();
    virtual void Maximize();
    virtual void Minimize();
    virtual void Restore();
    virtual void SetTopMost(int topMost);
    virtual void BringToTop();

    // Answers 1 once the loop has ended; 0 (without running the loop) when
    // the window could not be made, since nothing could then end the loop.
    int Create(HINSTANCE instance, ImplKwComponent* parent) override;
    // Stops listening to the children and ends the message loop.
    int OnDestroy() override;
    using KwContainer::OnDestroy;
};

} // namespace KwSDK

#endif
