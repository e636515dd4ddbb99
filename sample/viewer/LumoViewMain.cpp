// Entry of LumoView.exe: shows the picture named on the command line.
#include "ImplKwImageGraphics.h"
#include "LumoView.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)show;
    KwSDK::ImplKwImageGraphics::InstallHooks();
    KwSDK::LumoView* view = new KwSDK::LumoView();
    view->AddRef();
    view->SetStartFile(KwSDK::LumoView::FileFromCommandLine(commandLine));
    view->Create(instance, nullptr);
    view->Release();
    return 0;
}
