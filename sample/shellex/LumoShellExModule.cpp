// State shared by the parts of LumoShellEx.dll.
#include "LumoShellExModule.h"

#include <cwchar>

namespace KwSDK {

const CLSID CLSID_LumoContextMenu = {
    0x48a1ef65, 0xe1f5, 0x4160, {0x9c, 0x9f, 0x2c, 0xc9, 0x7d, 0x69, 0x88, 0x72}};
const wchar_t kLumoContextMenuClsid[] = L"{48A1EF65-E1F5-4160-9C9F-2CC97D698872}";

const wchar_t* const kLumoExtensions[] = {
    L".JPEG", L".JPG", L".PNG", L".JP2", L".BMP", L".GIF", L".PCX",
    L".PGX",  L".RAS", L".TGA", L".TIFF", L".TIF", L".JPC", L".PPM",
    L".PGM",  L".PBM", L".ICO", L".ICON", L".WMF", nullptr,
};

namespace {

HMODULE g_module = nullptr;
LONG g_count = 0;

} // namespace

HMODULE LumoModule()
{
    return g_module;
}

void SetLumoModule(HMODULE module)
{
    g_module = module;
}

void LumoModuleAddRef()
{
    InterlockedIncrement(&g_count);
}

void LumoModuleRelease()
{
    InterlockedDecrement(&g_count);
}

LONG LumoModuleCount()
{
    return g_count;
}

int IsLumoPicture(const wchar_t* path)
{
    if (path == nullptr) {
        return 0;
    }
    const wchar_t* dot = wcsrchr(path, L'.');
    if (dot == nullptr || wcschr(dot, L'\\') != nullptr) {
        return 0;
    }
    for (int i = 0; kLumoExtensions[i] != nullptr; ++i) {
        if (lstrcmpiW(dot, kLumoExtensions[i]) == 0) {
            return 1;
        }
    }
    return 0;
}

int LumoViewPath(wchar_t* path, DWORD capacity)
{
    static const wchar_t kViewer[] = L"LumoView.exe";
    DWORD length = GetModuleFileNameW(LumoModule(), path, capacity);
    if (length == 0 || length >= capacity) {
        return 0;
    }
    wchar_t* slash = wcsrchr(path, L'\\');
    size_t folder = slash != nullptr ? static_cast<size_t>(slash - path + 1) : 0;
    if (folder + wcslen(kViewer) + 1 > capacity) {
        return 0;
    }
    wcscpy(path + folder, kViewer);
    return 1;
}

} // namespace KwSDK
