// Keeps an object alive for the length of a scope.
#include "KwReferenceGuard.h"

#include "KwObject.h"

namespace KwSDK {

int KwHoldReference(KwObject* object)
{
    return object != nullptr && object->AddRef() > 1 ? 1 : 0;
}

KwReferenceGuard::KwReferenceGuard(KwObject* object)
    : m_pObject(object), m_bRelease(KwHoldReference(object))
{
}

KwReferenceGuard::~KwReferenceGuard()
{
    if (m_bRelease) {
        m_pObject->Release();
    }
}

} // namespace KwSDK
