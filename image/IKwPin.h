// A connection point that holds one connected object.
#ifndef KWSDK_IKWPIN_H
#define KWSDK_IKWPIN_H

#include "KwObject.h"

namespace KwSDK {

// Holds one reference to the connected object.
class IKwPin : public virtual KwObject {
public:
    IKwPin();
    // Releases the connected object.
    ~IKwPin() override;

    // Holds the object (null disconnects) and releases the previous one.
    virtual int Connect(KwObject* object);
    // Releases the connected object; 0 when nothing was connected.
    virtual int Disconnect();
    // The connected object with one added reference, or null.
    virtual KwObject* GetConnected();

    // 1 when the object's type-name chain contains "." followed by name,
    // ending there or at a further full stop ("KwString" matches
    // "KwObject.KwString" but not "KwObject.KwStringList").
    static int IsKindOf(const KwObject* object, const char* name);

private:
    IKwPin(const IKwPin&) = delete;
    IKwPin& operator=(const IKwPin&) = delete;

    KwObject* m_pConnected;
};

} // namespace KwSDK

#endif
