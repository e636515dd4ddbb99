// Entry points of LumoShellEx.dll, the shell extension that adds "Open with
// Lumo" to the context menu of pictures. The exports are named by
// LumoShellEx.def, so that the 32-bit names carry no decoration.
#include "LumoClassFactory.h"
#include "LumoShellExModule.h"
#include "LumoShellExRegistry.h"

#include <windows.h>

#include <new>

using namespace KwSDK;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetLumoModule(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow(void)
{
    return LumoModuleCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(classId, CLSID_LumoContextMenu)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    LumoClassFactory* factory = new (std::nothrow) LumoClassFactory();
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

STDAPI DllRegisterServer(void)
{
    return RegisterLumoShellEx();
}

STDAPI DllUnregisterServer(void)
{
    return UnregisterLumoShellEx();
}

} // extern "C"
