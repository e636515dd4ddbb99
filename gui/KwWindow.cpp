// A top-level window whose creation runs the message loop.
#include "KwWindow.h"

namespace KwSDK {

KwWindow::KwWindow()
{
    AppendTypeName("KwWindow");
    SetClassName("KwWindow");
    SetWindowType(KW_WINDOW_OVERLAPPED);
}

KwWindow::~KwWindow() = default;

void KwWindow::Quit()
{
    if (GetImplementation() != nullptr) {
        GetImplementation()->PostQuit();
    }
}

void KwWindow::Close()
{
    if (GetImplementation() != nullptr) {
        GetImplementation()->PostClose();
    }
}

void KwWindow::Maximize()
{
    if (GetImplementation() != nullptr) {
        GetImplementation()->Maximize();
    }
}

void KwWindow::Minimize()
{
    if (GetImplementation() != nullptr) {
        GetImplementation()->Minimize();
    }
}

void KwWindow::Restore()
{
    if (GetImplementation() != nullptr) {
        GetImplementation()->Restore();
    }
}

void KwWindow::SetTopMost(int topMost)
{
    if (GetImplementation() != nullptr) {
        GetImplementation()->SetTopMost(topMost);
    }
}

void KwWindow::BringToTop()
{
    if (GetImplementation() != nullptr) {
        GetImplementation()->BringToTop();
    }
}

int KwWindow::Create(HINSTANCE instance, ImplKwComponent* parent)
{
    if (!KwContainer::Create(instance, parent)) {
        return 0;
    }
    GetImplementation()->RunMessageLoop();
    return 1;
}

int KwWindow::OnDestroy()
{
    KwContainer::OnDestroy();
    Quit();
    return 1;
}

} // namespace KwSDK
