// A source connection point feeding a list of connected pins.
#include "IKwSrcPin.h"

namespace KwSDK {

IKwSrcPin::IKwSrcPin()
{
    AppendTypeName("IKwSrcPin");
}

IKwSrcPin::~IKwSrcPin()
{
    for (int i = 0; i < m_pins.GetCount(); ++i) {
        static_cast<IKwPin*>(m_pins.GetAt(i))->Release();
    }
}

int IKwSrcPin::AddPin(IKwPin* pin)
{
    if (pin == nullptr) {
        return 0;
    }
    for (int i = 0; i < m_pins.GetCount(); ++i) {
        if (m_pins.GetAt(i) == pin) {
            return 0;
        }
    }
    if (!m_pins.Add(pin)) {
        return 0;
    }
    pin->AddRef();
    return 1;
}

int IKwSrcPin::RemovePin(IKwPin* pin)
{
    if (pin == nullptr || !m_pins.Remove(pin)) {
        return 0;
    }
    pin->Release();
    return 1;
}

int IKwSrcPin::GetPinCount() const
{
    return m_pins.GetCount();
}

IKwPin* IKwSrcPin::GetPinAt(int index) const
{
    IKwPin* pin = static_cast<IKwPin*>(m_pins.GetAt(index));
    if (pin != nullptr) {
        pin->AddRef();
    }
    return pin;
}

} // namespace KwSDK
