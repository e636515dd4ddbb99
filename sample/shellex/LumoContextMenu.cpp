// The "Open with Lumo" context-menu handler.
#include "LumoContextMenu.h"

#include "LumoShellExModule.h"

#include <shellapi.h>

#include <cwchar>
#include <new>

namespace KwSDK {

namespace {

const wchar_t kItemText[] = L"Open with Lumo";
const char kVerbA[] = "lumo.open";
const wchar_t kVerbW[] = L"lumo.open";
const char kHelpA[] = "Opens the picture with Lumo.";
const wchar_t kHelpW[] = L"Opens the picture with Lumo.";

// Copies an ANSI or UTF-16 text into the caller's buffer of capacity
// characters; fails when it does not fit.
HRESULT CopyText(const char* text, CHAR* out, UINT capacity)
{
    size_t length = strlen(text);
    if (out == nullptr || length >= capacity) {
        return E_INVALIDARG;
    }
    memcpy(out, text, length + 1);
    return S_OK;
}

HRESULT CopyText(const wchar_t* text, CHAR* out, UINT capacity)
{
    size_t length = wcslen(text);
    if (out == nullptr || length >= capacity) {
        return E_INVALIDARG;
    }
    memcpy(out, text, (length + 1) * sizeof(wchar_t));
    return S_OK;
}

} // namespace

LumoContextMenu::LumoContextMenu() : m_nRefs(1), m_nFiles(0), m_files()
{
    LumoModuleAddRef();
}

LumoContextMenu::~LumoContextMenu()
{
    ClearFiles();
    LumoModuleRelease();
}

STDMETHODIMP LumoContextMenu::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit)) {
        *object = static_cast<IShellExtInit*>(this);
    } else if (IsEqualIID(iid, IID_IContextMenu)) {
        *object = static_cast<IContextMenu*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) LumoContextMenu::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_nRefs));
}

STDMETHODIMP_(ULONG) LumoContextMenu::Release()
{
    LONG refs = InterlockedDecrement(&m_nRefs);
    if (refs == 0) {
        delete this;
    }
    return static_cast<ULONG>(refs);
}

STDMETHODIMP LumoContextMenu::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY)
{
    ClearFiles();
    if (data == nullptr) {
        return E_INVALIDARG;
    }
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium;
    ZeroMemory(&medium, sizeof medium);
    HRESULT result = data->GetData(&format, &medium);
    if (FAILED(result)) {
        return result;
    }
    HDROP drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    if (drop != nullptr) {
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count && m_nFiles < kMaxFiles; ++i) {
            wchar_t path[MAX_PATH];
            UINT length = DragQueryFileW(drop, i, path, MAX_PATH);
            if (length > 0 && length < MAX_PATH && IsLumoPicture(path)) {
                KeepFile(path);
            }
        }
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return m_nFiles > 0 ? S_OK : E_FAIL;
}

STDMETHODIMP LumoContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT firstCommand,
                                               UINT lastCommand, UINT flags)
{
    if ((flags & CMF_DEFAULTONLY) != 0 || m_nFiles == 0 || firstCommand > lastCommand) {
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
    }
    if (!InsertMenuW(menu, index, MF_BYPOSITION | MF_STRING, firstCommand, kItemText)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    // The answer's code is how many command identifiers were used.
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 1);
}

STDMETHODIMP LumoContextMenu::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    if (info == nullptr || !IsOurVerb(info)) {
        return E_INVALIDARG;
    }
    int show = info->nShow != 0 ? info->nShow : SW_SHOWNORMAL;
    HRESULT result = S_OK;
    for (int i = 0; i < m_nFiles; ++i) {
        HRESULT started = StartViewer(m_files[i], show);
        if (FAILED(started)) {
            result = started;
        }
    }
    return result;
}

STDMETHODIMP LumoContextMenu::GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name,
                                               UINT capacity)
{
    if (command != 0) {
        return E_INVALIDARG;
    }
    switch (type) {
    case GCS_VERBA: return CopyText(kVerbA, name, capacity);
    case GCS_VERBW: return CopyText(kVerbW, name, capacity);
    case GCS_HELPTEXTA: return CopyText(kHelpA, name, capacity);
    case GCS_HELPTEXTW: return CopyText(kHelpW, name, capacity);
    case GCS_VALIDATEA:
    case GCS_VALIDATEW: return S_OK;
    default: return E_INVALIDARG;
    }
}

int LumoContextMenu::GetFileCount() const
{
    return m_nFiles;
}

void LumoContextMenu::ClearFiles()
{
    for (int i = 0; i < m_nFiles; ++i) {
        delete[] m_files[i];
        m_files[i] = nullptr;
    }
    m_nFiles = 0;
}

int LumoContextMenu::KeepFile(const wchar_t* path)
{
    size_t length = wcslen(path);
    wchar_t* copy = new (std::nothrow) wchar_t[length + 1];
    if (copy == nullptr) {
        return 0;
    }
    memcpy(copy, path, (length + 1) * sizeof(wchar_t));
    m_files[m_nFiles++] = copy;
    return 1;
}

// The command is ours when given by its offset 0 or by its verb, in ANSI or
// (for the extended record) in UTF-16.
int LumoContextMenu::IsOurVerb(const CMINVOKECOMMANDINFO* info) const
{
    const CMINVOKECOMMANDINFOEX* extended = reinterpret_cast<const CMINVOKECOMMANDINFOEX*>(info);
    if (info->cbSize >= sizeof(CMINVOKECOMMANDINFOEX) && (info->fMask & CMIC_MASK_UNICODE) != 0 &&
        extended->lpVerbW != nullptr && !IS_INTRESOURCE(extended->lpVerbW)) {
        return lstrcmpiW(extended->lpVerbW, kVerbW) == 0;
    }
    if (IS_INTRESOURCE(info->lpVerb)) {
        return LOWORD(reinterpret_cast<ULONG_PTR>(info->lpVerb)) == 0;
    }
    return lstrcmpiA(info->lpVerb, kVerbA) == 0;
}

HRESULT LumoContextMenu::StartViewer(const wchar_t* file, int show) const
{
    wchar_t viewer[MAX_PATH];
    if (!LumoViewPath(viewer, MAX_PATH)) {
        return E_FAIL;
    }
    // "viewer" "file": both quoted, since either may hold blanks.
    size_t length = wcslen(viewer) + wcslen(file) + 6;
    wchar_t* line = new (std::nothrow) wchar_t[length];
    if (line == nullptr) {
        return E_OUTOFMEMORY;
    }
    wcscpy(line, L"\"");
    wcscat(line, viewer);
    wcscat(line, L"\" \"");
    wcscat(line, file);
    wcscat(line, L"\"");
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    BOOL started = CreateProcessW(viewer, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process);
    DWORD error = GetLastError();
    delete[] line;
    if (!started) {
        return HRESULT_FROM_WIN32(error);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return S_OK;
}

} // namespace KwSDK
