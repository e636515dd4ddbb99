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

// The shell's selection: a data object that offers the files as CF_HDROP.
class DropData : public IDataObject {
public:
    explicit DropData(const std::vector<std::wstring>& files) : m_files(files) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_nRefs; }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (format->cfFormat != CF_HDROP || (format->tymed & TYMED_HGLOBAL) == 0)
            return DV_E_FORMATETC;
        size_t chars = 1;
        for (const std::wstring& file : m_files)
            chars += file.size() + 1;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                     sizeof(DROPFILES) + chars * sizeof(wchar_t));
        DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        wchar_t* names = reinterpret_cast<wchar_t*>(drop + 1);
        for (const std::wstring& file : m_files) {
            file.copy(names, file.size());
            names += file.size() + 1;
        }
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::wstring> m_files;
    ULONG m_nRefs = 1;
};

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

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// Makes the handler through its class and initialises it with the files;
// answers Initialize's result, with the menu interface in *menu on success.
HRESULT MakeMenu(const std::vector<std::wstring>& files, IContextMenu** menu)
{
    *menu = nullptr;
    IShellExtInit* init = nullptr;
    HRESULT made = CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                    reinterpret_cast<void**>(&init));
    EXPECT_EQ(made, S_OK);
    if (FAILED(made))
        return made;
    DropData data(files);
    HRESULT result = init->Initialize(nullptr, &data, nullptr);
    if (SUCCEEDED(result))
        init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(menu));
    init->Release();
    return result;
}

TEST(LumoShellEx, RegistersOffersItsItemOpensTheViewerAndUnregisters)
{
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
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
    char full[MAX_PATH];
    GetFullPathNameA(picture.c_str(), MAX_PATH, full, nullptr);

    IContextMenu* menu = nullptr;
    EXPECT_EQ(MakeMenu({Wide(full), L"C:\\notes.txt"}, &menu), S_OK);
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
    EXPECT_EQ(MakeMenu({L"C:\\notes.txt"}, &menu), E_FAIL);
    EXPECT_EQ(menu, nullptr);
    CoFreeUnusedLibraries();

    ASSERT_EQ(RegisterTool("/u "), 0);
    EXPECT_FALSE(ClassesKeyExists(kClassKey));
    EXPECT_FALSE(ClassesKeyExists("Lumo.PNG\\shellex"));
    EXPECT_FALSE(ClassesKeyExists("Lumo.JPEG")) << "left empty by the handler, so removed";
    EXPECT_TRUE(ClassesKeyExists("Lumo.PNG\\shell\\Open")) << "the association stays";
    EXPECT_EQ(RegisterTool("/u "), 0) << "a second unregistration finds nothing to do";

    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Lumo.PNG\\shell\\Open");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Lumo.PNG\\shell");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Lumo.PNG");
    CoUninitialize();
}

} // namespace
