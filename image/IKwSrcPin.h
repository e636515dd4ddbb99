// A source connection point that feeds any number of connected pins.
#ifndef KWSDK_IKWSRCPIN_H
#define KWSDK_IKWSRCPIN_H

#include "IKwPin.h"
#include "KwObject.h"
#include "TKwVector.h"

namespace KwSDK {

// Holds one reference to each connected pin; a pin is connected at most once.
class IKwSrcPin : public virtual KwObject {
public:
    IKwSrcPin();
    // Releases every connected pin.
    ~IKwSrcPin() override;

    // Connects a pin; 0 for null, a pin already connected, or no memory.
    virtual int AddPin(IKwPin* pin);
    // Disconnects and releases a pin; 0 when it was not connected.
    virtual int RemovePin(IKwPin* pin);
    virtual int GetPinCount() const;
    // The pin at an index with one added reference, or null.
    virtual IKwPin* GetPinAt(int index) const;

private:
    IKwSrcPin(const IKwSrcPin&) = delete;
    IKwSrcPin& operator=(const IKwSrcPin&) = delete;

    TKwVector<void*> m_pins;
};

} // namespace KwSDK

#endif
