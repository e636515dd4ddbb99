// A connection point holding one connected object.
#include "IKwPin.h"

#include <cstring>

namespace KwSDK {

IKwPin::IKwPin() : m_pConnected(nullptr)
{
    AppendTypeName("IKwPin");
}

IKwPin::~IKwPin()
{
    Disconnect();
}

int IKwPin::Connect(KwObject* object)
{
    if (object != nullptr) {
        object->AddRef();
    }
    Disconnect();
    m_pConnected = object;
    return 1;
}

int IKwPin::Disconnect()
{
    if (m_pConnected == nullptr) {
        return 0;
    }
    KwObject* old = m_pConnected;
    m_pConnected = nullptr;
    old->Release();
    return 1;
}

KwObject* IKwPin::GetConnected()
{
    if (m_pConnected != nullptr) {
        m_pConnected->AddRef();
    }
    return m_pConnected;
}

int IKwPin::IsKindOf(const KwObject* object, const char* name)
{
    if (object == nullptr || name == nullptr || name[0] == '\0') {
        return 0;
    }
    const char* chain = object->GetTypeName();
    size_t length = std::strlen(name);
    // Match whole chain segments only, so one class name is not taken for
    // the start of another.
    for (const char* dot = chain ? std::strchr(chain, '.') : nullptr; dot != nullptr;
         dot = std::strchr(dot + 1, '.')) {
        if (std::strncmp(dot + 1, name, length) == 0 &&
            (dot[1 + length] == '\0' || dot[1 + length] == '.')) {
            return 1;
        }
    }
    return 0;
}

} // namespace KwSDK
