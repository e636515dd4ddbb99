// Entry of Setup.exe: loads the configuration next to the program and runs
// the install wizard.
#include "ImplKwImageGraphics.h"
#include "KwPlatform.h"
#include "Setup.h"
#include "SetupConfig.h"
#include "SetupSilent.h"

#include <windows.h>

#include <new>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    // Without arguments the wizard runs: everything it needs is in the
    // package. "/S" asks for the unattended install instead.
    (void)previous;
    (void)show;
    // Before anything can load a library: the wizard starts from a
    // temporary folder that others may write to.
    KwSDK::Platform::RestrictLibrarySearch();
    // The wizard draws on its pictures: give the image library its surface.
    KwSDK::ImplKwImageGraphics::InstallHooks();
    // A package without both properties files ends silently, before any
    // window is shown; there is nobody to tell in which language.
    if (!KwSDK::LoadConfiguration())
        return KwSDK::SetupSilent::IsSilentCommandLine(commandLine) ? 4 : 0;
    if (KwSDK::SetupSilent::IsSilentCommandLine(commandLine)) {
        KwSDK::SetupSilent silent;
        silent.Parse(commandLine);
        return silent.Run();
    }
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
