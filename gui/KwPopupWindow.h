// A bare pop-up window: a top-level container that does not run or end the
// message loop.
#ifndef KWSDK_KWPOPUPWINDOW_H
#define KWSDK_KWPOPUPWINDOW_H

#include "KwContainer.h"

namespace KwSDK {

// Window type 6 at first. Its Create returns once the window exists, and
// destroying it leaves the message loop running.
class KwPopupWindow : public KwContainer {
public:
    KwPopupWindow();
    ~KwPopupWindow() override;
};

} // namespace KwSDK

#endif
