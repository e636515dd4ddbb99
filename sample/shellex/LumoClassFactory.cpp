// The class factory of the context-menu handler.
#include "LumoClassFactory.h"

#include "LumoContextMenu.h"
#include "LumoShellExModule.h"

#include <new>

namespace KwSDK {

LumoClassFactory::LumoClassFactory() : m_nRefs(1)
{
    LumoModuleAddRef();
}

LumoClassFactory::~LumoClassFactory()
{
    LumoModuleRelease();
}

STDMETHODIMP LumoClassFactory::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) LumoClassFactory::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_nRefs));
}

STDMETHODIMP_(ULONG) LumoClassFactory::Release()
{
    LONG refs = InterlockedDecrement(&m_nRefs);
    if (refs == 0) {
        delete this;
    }
    return static_cast<ULONG>(refs);
}

STDMETHODIMP LumoClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    LumoContextMenu* menu = new (std::nothrow) LumoContextMenu();
    if (menu == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT result = menu->QueryInterface(iid, object);
    menu->Release();
    return result;
}

STDMETHODIMP LumoClassFactory::LockServer(BOOL lock)
{
    if (lock) {
        LumoModuleAddRef();
    } else {
        LumoModuleRelease();
    }
    return S_OK;
}

} // namespace KwSDK
