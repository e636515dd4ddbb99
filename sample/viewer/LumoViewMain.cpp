// Entry of LumoView.exe: shows the picture named on the command line.
#include "ImplKwImageGraphics.h"
#include "KwIcon.h"
#include "LumoView.h"

#include <windows.h>

namespace {

// The window's icon is the product's, installed as images\app.ico next to
// the program; without it the window has the system's application icon.
void SetProductIcon(KwSDK::LumoView* view)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    // The folder ends after the last backslash that is not the second byte
    // of a double-byte character.
    int folder = 0;
    for (int i = 0; path[i] != '\0'; ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && path[i + 1] != '\0') {
            ++i;
        } else if (path[i] == '\\') {
            folder = i + 1;
        }
    }
    KwSDK::KwString file = KwSDK::KwString(path, folder) + "images\\app.ico";
    if (GetFileAttributesA(file.GetText()) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    KwSDK::KwIcon* icon = new KwSDK::KwIcon();
    icon->AddRef();
    icon->SetFileName(file);
    view->SetIcon(icon);
    view->SetSmallIcon(icon);
    icon->Release();
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)show;
    KwSDK::ImplKwImageGraphics::InstallHooks();
    KwSDK::LumoView* view = new KwSDK::LumoView();
    view->AddRef();
    SetProductIcon(view);
    view->SetStartFile(KwSDK::LumoView::FileFromCommandLine(commandLine));
    view->Create(instance, nullptr);
    view->Release();
    return 0;
}
