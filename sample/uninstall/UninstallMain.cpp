// Entry of the sample product's uninstall.exe. The product's uninstaller is
// not part of this release yet: the program says so and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    // The same choice of language as the installer's first page: Chinese on
    // a Chinese system, English elsewhere.
    if (GetACP() == 936) {
        MessageBoxW(nullptr,
                    L"Lumo 的卸载程序尚不可用。\r\n\r\n"
                    L"请在以后的版本中使用它来删除 Lumo。",
                    L"卸载 Lumo", MB_OK | MB_ICONINFORMATION);
    } else {
        MessageBoxW(nullptr,
                    L"The Lumo uninstaller is not available yet.\r\n\r\n"
                    L"A later release of Lumo will remove the product for you.",
                    L"Uninstall Lumo", MB_OK | MB_ICONINFORMATION);
    }
    return 0;
}
