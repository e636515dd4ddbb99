// The handler's registry entries.
#include "LumoShellExRegistry.h"

#include "LumoShellExModule.h"

#include <olectl.h>

#include <cwchar>

namespace KwSDK {

const wchar_t kLumoHandlerName[] = L"LumoShellEx";

namespace {

const wchar_t kClassName[] = L"Lumo Shell Extension";
const wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
// The longest key path built here, in characters.
const size_t kKeyCapacity = 256;

// Creates the key (and its parents) and sets one string value (name null for
// the default value); 1 on success.
int SetString(HKEY root, const wchar_t* path, const wchar_t* name, const wchar_t* data)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return 0;
    }
    DWORD bytes = static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t));
    LONG status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Deletes a key with everything below it; 1 when it is gone (or was never
// there).
int DeleteTree(HKEY root, const wchar_t* path)
{
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(root, path, 0, KEY_READ | KEY_WRITE, &key);
    if (status == ERROR_FILE_NOT_FOUND) {
        return 1;
    }
    if (status != ERROR_SUCCESS) {
        return 0;
    }
    wchar_t child[kKeyCapacity];
    for (;;) {
        DWORD length = kKeyCapacity;
        if (RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS ||
            !DeleteTree(key, child)) {
            break;
        }
    }
    RegCloseKey(key);
    status = RegDeleteKeyW(root, path);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// Deletes a key that has neither subkeys nor values.
void DeleteIfEmpty(HKEY root, const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    DWORD subkeys = 1;
    DWORD values = 1;
    LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                   &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) {
        RegDeleteKeyW(root, path);
    }
}

// path = the parts joined; 0 when it does not fit.
int Join(wchar_t* path, const wchar_t* a, const wchar_t* b, const wchar_t* c = L"",
         const wchar_t* d = L"")
{
    if (wcslen(a) + wcslen(b) + wcslen(c) + wcslen(d) + 1 > kKeyCapacity) {
        return 0;
    }
    wcscpy(path, a);
    wcscat(path, b);
    wcscat(path, c);
    wcscat(path, d);
    return 1;
}

} // namespace

HRESULT RegisterLumoShellEx()
{
    wchar_t module[MAX_PATH];
    DWORD length = GetModuleFileNameW(LumoModule(), module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return SELFREG_E_CLASS;
    }
    wchar_t classKey[kKeyCapacity];
    wchar_t serverKey[kKeyCapacity];
    Join(classKey, L"CLSID\\", kLumoContextMenuClsid);
    Join(serverKey, classKey, L"\\InprocServer32");
    if (!SetString(HKEY_CLASSES_ROOT, classKey, nullptr, kClassName) ||
        !SetString(HKEY_CLASSES_ROOT, serverKey, nullptr, module) ||
        !SetString(HKEY_CLASSES_ROOT, serverKey, L"ThreadingModel", L"Apartment")) {
        return SELFREG_E_CLASS;
    }
    for (int i = 0; kLumoExtensions[i] != nullptr; ++i) {
        wchar_t handlerKey[kKeyCapacity];
        Join(handlerKey, L"Lumo", kLumoExtensions[i], L"\\shellex\\ContextMenuHandlers\\",
             kLumoHandlerName);
        if (!SetString(HKEY_CLASSES_ROOT, handlerKey, nullptr, kLumoContextMenuClsid)) {
            return SELFREG_E_CLASS;
        }
    }
    SetString(HKEY_LOCAL_MACHINE, kApprovedKey, kLumoContextMenuClsid, kClassName);
    return S_OK;
}

HRESULT UnregisterLumoShellEx()
{
    HRESULT result = S_OK;
    for (int i = 0; kLumoExtensions[i] != nullptr; ++i) {
        wchar_t progId[kKeyCapacity];
        wchar_t shellex[kKeyCapacity];
        wchar_t handlers[kKeyCapacity];
        wchar_t handlerKey[kKeyCapacity];
        Join(progId, L"Lumo", kLumoExtensions[i]);
        Join(shellex, progId, L"\\shellex");
        Join(handlers, shellex, L"\\ContextMenuHandlers");
        Join(handlerKey, handlers, L"\\", kLumoHandlerName);
        if (!DeleteTree(HKEY_CLASSES_ROOT, handlerKey)) {
            result = SELFREG_E_CLASS;
        }
        DeleteIfEmpty(HKEY_CLASSES_ROOT, handlers);
        DeleteIfEmpty(HKEY_CLASSES_ROOT, shellex);
        DeleteIfEmpty(HKEY_CLASSES_ROOT, progId);
    }
    wchar_t classKey[kKeyCapacity];
    Join(classKey, L"CLSID\\", kLumoContextMenuClsid);
    if (!DeleteTree(HKEY_CLASSES_ROOT, classKey)) {
        result = SELFREG_E_CLASS;
    }
    HKEY approved = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE, &approved) ==
        ERROR_SUCCESS) {
        RegDeleteValueW(approved, kLumoContextMenuClsid);
        RegCloseKey(approved);
    }
    return result;
}

} // namespace KwSDK
