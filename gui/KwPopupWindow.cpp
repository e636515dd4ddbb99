// A bare pop-up window.
#include "KwPopupWindow.h"

namespace KwSDK {

KwPopupWindow::KwPopupWindow()
{
    AppendTypeName("KwPopupWindow");
    SetClassName("KwPopupWindow");
    SetWindowType(KW_WINDOW_POPUP);
}

KwPopupWindow::~KwPopupWindow() = default;

} // namespace KwSDK
