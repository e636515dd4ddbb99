// A registration-tool test library: registering it writes one registry
// value and unregistering it removes that value again, so a test can see
// that the tool really ran the library's entry points.
#include <windows.h>

// Where the library records that it is registered.
static const char* const kKey = "Software\\Carton\\TestRegDll";
static const char* const kValue = "Registered";

// The registration tool calls these through their plain names. With no
// arguments the C calling convention is the same as the system's, and it
// keeps the 32-bit export names free of the "@0" decoration.
extern "C" __declspec(dllexport) HRESULT DllRegisterServer(void);
extern "C" __declspec(dllexport) HRESULT DllUnregisterServer(void);

HRESULT DllRegisterServer(void)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    static const char data[] = "1";
    LONG status = RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                 sizeof data);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}

HRESULT DllUnregisterServer(void)
{
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key);
    if (status == ERROR_FILE_NOT_FOUND)
        return S_OK;
    if (status != ERROR_SUCCESS)
        return E_FAIL;
    status = RegDeleteValueA(key, kValue);
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}
