// Entry of Setup.exe: loads the configuration next to the program and runs
// the install wizard.
#include "ImplKwImageGraphics.h"
#include "Setup.h"
#include "SetupConfig.h"

#include <windows.h>

#include <new>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    // The wizard takes no arguments: everything it needs is in the package.
    (void)previous;
    (void)commandLine;
    (void)show;
    // The wizard draws on its pictures: give the image library its surface.
    KwSDK::ImplKwImageGraphics::InstallHooks();
    // A package without both properties files ends silently, before any
    // window is shown; there is nobody to tell in which language.
    if (!KwSDK::LoadConfiguration())
        return 0;
    KwSDK::Setup* wizard = new (std::nothrow) KwSDK::Setup();
    if (wizard == nullptr)
        return 0;
    wizard->AddRef();
    // Create makes the window and runs the message loop until it ends.
    if (wizard->IsComplete())
        wizard->Create(instance, nullptr);
    wizard->Release();
    return 0;
}
