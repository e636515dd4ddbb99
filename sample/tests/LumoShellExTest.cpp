// The shell extension as the system uses it: registered by the registration
// tool, made through its class identifier, initialised with the shell's data
// object for the selected files, asked for its menu item, invoked, and
// unregistered again.
#include "ComponentTestSupport.h"
#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

using namespace KwSDK;

const CLSID kClass = {0x48a1ef65, 0xe1f5, 0x4160, {0x9c, 0x9f, 0x2c, 0xc9, 0x7d, 0x69, 0x88, 0x72}};
const char kClassKey[] = "CLSID\\{48A1EF65-E1F5-4160-9C9F-2CC97D698872}";

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// The shell's data object for files of one folder, as the shell hands it
// to a context-menu handler; null when the shell cannot make it.
IDataObject* SelectionOf(const std::string& folder, const std::vector<std::string>& names)
{
    IShellFolder* desktop = nullptr;
    IShellFolder* parent = nullptr;
    PIDLIST_RELATIVE location = nullptr;
    IDataObject* data = nullptr;
    std::vector<PITEMID_CHILD> items;
    if (SUCCEEDED(SHGetDesktopFolder(&desktop)) &&
        SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, &Wide(folder)[0], nullptr,
                                            &location, nullptr)) &&
        SUCCEEDED(desktop->BindToObject(location, nullptr, IID_IShellFolder,
                                        reinterpret_cast<void**>(&parent)))) {
        for (const std::string& name : names) {
            PIDLIST_RELATIVE item = nullptr;
            if (SUCCEEDED(parent->ParseDisplayName(nullptr, nullptr, &Wide(name)[0], nullptr,
                                                   &item, nullptr)))
                items.push_back(static_cast<PITEMID_CHILD>(item));
        }
        parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()),
                              const_cast<PCUITEMID_CHILD_ARRAY>(items.data()), IID_IDataObject,
                              nullptr, reinterpret_cast<void**>(&data));
    }
    for (PITEMID_CHILD item : items)
        CoTaskMemFree(item);
    CoTaskMemFree(location);
    if (parent != nullptr)
        parent->Release();
    if (desktop != nullptr)
        desktop->Release();
    return data;
}

// The default (or named) string value of a key below HKEY_CLASSES_ROOT;
// "<absent>" when the key or value is missing.
std::string ClassesValue(const std::string& key, const char* name = nullptr)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "<absent>";
    char data[1024] = {0};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    LONG status =
        RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS ? std::string(data) : std::string("<absent>");
}

bool ClassesKeyExists(const std::string& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

long RegisterTool(const std::string& options)
{
    return KwTest::RunToEnd("regsvr32.exe /s " + options + "\"" +
                                KwTest::WinePath(LUMO_SHELLEX_DLL) + "\"",
                            60000);
}

// Makes the handler through its class and initialises it with the shell's
// data object for the files; answers Initialize's result, with the menu
// interface in *menu on success.
HRESULT MakeMenu(const std::string& folder, const std::vector<std::string>& names,
                 IContextMenu** menu)
{
    *menu = nullptr;
    IDataObject* data = SelectionOf(folder, names);
    EXPECT_NE(data, nullptr);
    IShellExtInit* init = nullptr;
    HRESULT made = CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                    reinterpret_cast<void**>(&init));
    EXPECT_EQ(made, S_OK);
    if (data == nullptr || FAILED(made)) {
        if (data != nullptr)
            data->Release();
        return E_UNEXPECTED;
    }
    HRESULT result = init->Initialize(nullptr, data, nullptr);
    if (SUCCEEDED(result))
        init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(menu));
    init->Release();
    data->Release();
    return result;
}

TEST(LumoShellEx, RegistersOffersItsItemOpensTheViewerAndUnregisters)
{
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    // Unregistering leaves the program identifiers as they were before.
    const bool pngExisted = ClassesKeyExists("Lumo.PNG");
    const bool jpegExisted = ClassesKeyExists("Lumo.JPEG");
    // An association that Setup wrote: it must survive the unregistration.
    HKEY association = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "Lumo.PNG\\shell\\Open", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &association, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(association);

    ASSERT_EQ(RegisterTool(""), 0);
    std::string server = ClassesValue(std::string(kClassKey) + "\\InprocServer32");
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, server.c_str(), -1,
                             KwTest::WinePath(LUMO_SHELLEX_DLL).c_str(), -1),
              CSTR_EQUAL)
        << server;
    EXPECT_EQ(ClassesValue(std::string(kClassKey) + "\\InprocServer32", "ThreadingModel"),
              "Apartment");
    for (const char* progId : {"Lumo.JPEG", "Lumo.PNG", "Lumo.TIF", "Lumo.ICON", "Lumo.WMF"}) {
        EXPECT_EQ(ClassesValue(std::string(progId) + "\\shellex\\ContextMenuHandlers\\LumoShellEx"),
                  "{48A1EF65-E1F5-4160-9C9F-2CC97D698872}")
            << progId;
    }

    KwTest::ScratchFolder folder("shellex");
    std::string picture = folder.Path("Beach Day.PNG");
    ASSERT_TRUE(KwTest::WriteFile(
        picture, KwTest::ReadFile(KwTest::WinePath(LUMO_SAMPLE_PACKAGE) +
                                  "\\Brindle\\Lumo\\samples\\harbour.png")));
    ASSERT_TRUE(KwTest::WriteFile(folder.Path("notes.txt"), "not a picture"));
    char full[MAX_PATH];
    GetFullPathNameA(folder.Path().c_str(), MAX_PATH, full, nullptr);

    IContextMenu* menu = nullptr;
    EXPECT_EQ(MakeMenu(full, {"Beach Day.PNG", "notes.txt"}, &menu), S_OK);
    ASSERT_NE(menu, nullptr);
    HMENU popup = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 200, CMF_DEFAULTONLY),
              MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
    EXPECT_EQ(GetMenuItemCount(popup), 0) << "nothing for the default verb only";
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL),
              MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    ASSERT_EQ(GetMenuItemCount(popup), 1);
    EXPECT_EQ(GetMenuItemID(popup, 0), 100u);
    wchar_t text[64] = {0};
    GetMenuStringW(popup, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Open with Lumo");
    char verb[32] = {0};
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, verb, sizeof verb), S_OK);
    EXPECT_STREQ(verb, "lumo.open");
    DestroyMenu(popup);

    // The command starts the viewer next to the library with the picture.
    CMINVOKECOMMANDINFO invoke;
    ZeroMemory(&invoke, sizeof invoke);
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = MAKEINTRESOURCEA(1);
    invoke.nShow = SW_SHOWNOACTIVATE;
    EXPECT_EQ(menu->InvokeCommand(&invoke), E_INVALIDARG) << "not our command";
    invoke.lpVerb = MAKEINTRESOURCEA(0);
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    HWND viewer = nullptr;
    Testing::PumpUntil(
        [&] { return (viewer = FindWindowA("LumoView", "Beach Day.PNG - Lumo")) != nullptr; },
        20000);
    EXPECT_NE(viewer, nullptr) << "the viewer did not show the picture";
    if (viewer != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(viewer, &process);
        HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process);
        PostMessageA(viewer, WM_CLOSE, 0, 0);
        if (handle != nullptr) {
            EXPECT_EQ(KwTest::FinishProgram(handle, 20000), 0);
        }
    }
    menu->Release();

    // A selection without pictures gets no handler.
    EXPECT_EQ(MakeMenu(full, {"notes.txt"}, &menu), E_FAIL);
    EXPECT_EQ(menu, nullptr);
    CoFreeUnusedLibraries();

    ASSERT_EQ(RegisterTool("/u "), 0);
    EXPECT_FALSE(ClassesKeyExists(kClassKey));
    EXPECT_FALSE(ClassesKeyExists("Lumo.PNG\\shellex"));
    EXPECT_EQ(ClassesKeyExists("Lumo.JPEG"), jpegExisted) << "removed when left empty";
    EXPECT_TRUE(ClassesKeyExists("Lumo.PNG\\shell\\Open")) << "the association stays";
    EXPECT_EQ(RegisterTool("/u "), 0) << "a second unregistration finds nothing to do";

    if (!pngExisted) {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Lumo.PNG\\shell\\Open");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Lumo.PNG\\shell");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Lumo.PNG");
    }
    CoUninitialize();
}

} // namespace
