// Growable array of untyped pointers.
#ifndef KWSDK_TKWVECTOR_H
#define KWSDK_TKWVECTOR_H

#include "KwObject.h"

namespace KwSDK {

template <class T>
class TKwVector;

// The toolkit uses one instance, the array of void pointers. It owns only the
// pointers, never what they point to.
template <>
class TKwVector<void*> : public virtual KwObject {
public:
    TKwVector();
    TKwVector(const TKwVector& other);
    TKwVector& operator=(const TKwVector& other);
    ~TKwVector() override;

    // A new vector with the same items, carrying one reference; null when
    // memory runs out.
    TKwVector* Clone() const override;

    // Appends a pointer, growing the capacity by 10 when full; 0 when memory runs out.
    int Add(void* item);
    // The pointer at an index; null for an index outside 0 .. count - 1.
    void* GetAt(int index) const;
    // Removes the first occurrence, moving the later items down; 1 if it was found.
    int Remove(void* item);
    int GetCount() const;

private:
    int Reserve(int capacity);

    void** m_ppItems;
    int m_nCapacity;
    int m_nCount;
};

} // namespace KwSDK

#endif
