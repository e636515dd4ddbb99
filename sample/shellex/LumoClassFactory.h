// The class factory that makes LumoContextMenu objects.
#ifndef LUMO_LUMOCLASSFACTORY_H
#define LUMO_LUMOCLASSFACTORY_H

#include <windows.h>
#include <unknwn.h>

namespace KwSDK {

// Made per request by DllGetClassObject; aggregation is not supported.
class LumoClassFactory final : public IClassFactory {
public:
    LumoClassFactory();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~LumoClassFactory();
    LumoClassFactory(const LumoClassFactory&) = delete;
    LumoClassFactory& operator=(const LumoClassFactory&) = delete;

    LONG m_nRefs;
};

} // namespace KwSDK

#endif
