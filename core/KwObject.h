// Common virtual base of every toolkit object: reference count, object lock,
// dotted type-name chain, error protocol and cloning.
#ifndef KWSDK_KWOBJECT_H
#define KWSDK_KWOBJECT_H

#include <new>

namespace KwSDK {

namespace Platform {
struct CriticalSection;
}

// Lock timeout that waits without limit.
const unsigned int KW_INFINITE = 0xFFFFFFFFu;

class KwObject {
public:
    KwObject();
    // A copy is a new object: it builds its own type-name chain, starts with a
    // count of 0 and never shares the original's locks.
    KwObject(const KwObject& other);
    // Assignment leaves count, locks and chain alone: they belong to the object,
    // not to its value.
    KwObject& operator=(const KwObject& other);

    // Frees the type-name chain and whichever locks were created.
    virtual ~KwObject();
    // Answers the new count, or 0 when the count lock could not be made.
    virtual int AddRef();
    // Answers the new count; deletes the object when the count drops to 0.
    // An object that was never AddRef'ed (a stack or member object) is left alone.
    virtual int Release();
    virtual unsigned int GetErrorCode() const;
    // The fixed text for an error code, owned by the object; null when unknown.
    virtual const char* GetErrorMessage(unsigned int code) const;
    virtual const char* GetTypeName() const;
    // Enters the object lock, retrying every 100 ms until the timeout in
    // milliseconds has passed; 0 tries once, KW_INFINITE waits without limit.
    // Answers 1 when entered, 0 when the time ran out.
    virtual int Lock(unsigned int timeout);
    // Leaves the object lock; 0 when it was never created.
    virtual int Unlock();
    // A new equal object carrying one reference, or null.
    virtual KwObject* Clone() const;

protected:
    // Called by every derived constructor: appends "." and the class name.
    void AppendTypeName(const char* name);

private:
    Platform::CriticalSection* AcquireLock(Platform::CriticalSection** slot);

    char* m_pTypeName;
    int m_nRefCount;
    Platform::CriticalSection* m_pCountLock;
    Platform::CriticalSection* m_pObjectLock;
};

// The body of a Clone: a heap copy of the object carrying the one reference
// a factory hands out, or null when memory runs out.
template <typename T>
T* KwCloneOf(const T& original)
{
    T* copy = new (std::nothrow) T(original);
    if (copy != nullptr) {
        copy->AddRef();
    }
    return copy;
}

} // namespace KwSDK

#endif
