// The pointer array: capacity grows in steps of 10 items.
#include "TKwVector.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace KwSDK {

static const int kCapacityStep = 10;

TKwVector<void*>::TKwVector()
    : m_ppItems(nullptr), m_nCapacity(0), m_nCount(0)
{
    AppendTypeName("TKwVector");
    Reserve(kCapacityStep);
}

TKwVector<void*>::TKwVector(const TKwVector& other)
    : KwObject(), m_ppItems(nullptr), m_nCapacity(0), m_nCount(0)
{
    AppendTypeName("TKwVector");
    *this = other;
}

TKwVector<void*>& TKwVector<void*>::operator=(const TKwVector& other)
{
    if (this == &other)
        return *this;
    // Keep at least the starting capacity, as a newly made vector has.
    if (!Reserve(other.m_nCapacity > kCapacityStep ? other.m_nCapacity : kCapacityStep))
        return *this;
    if (other.m_nCount > 0)
        memcpy(m_ppItems, other.m_ppItems, static_cast<size_t>(other.m_nCount) * sizeof(void*));
    m_nCount = other.m_nCount;
    return *this;
}

TKwVector<void*>::~TKwVector()
{
    free(m_ppItems);
}

// Makes room for at least capacity items, keeping the current ones.
int TKwVector<void*>::Reserve(int capacity)
{
    if (capacity <= m_nCapacity)
        return 1;
    void** items = static_cast<void**>(realloc(m_ppItems, static_cast<size_t>(capacity) * sizeof(void*)));
    if (!items)
        return 0;
    m_ppItems = items;
    m_nCapacity = capacity;
    return 1;
}

TKwVector<void*>* TKwVector<void*>::Clone() const
{
    TKwVector* copy = new (std::nothrow) TKwVector(*this);
    if (!copy)
        return nullptr;
    // A short copy or a missing count lock would hand out a broken object.
    if (copy->m_nCount != m_nCount || copy->AddRef() != 1) {
        delete copy;
        return nullptr;
    }
    return copy;
}

int TKwVector<void*>::Add(void* item)
{
    if (m_nCount == m_nCapacity) {
        if (m_nCapacity > INT_MAX - kCapacityStep || !Reserve(m_nCapacity + kCapacityStep))
            return 0;
    }
    m_ppItems[m_nCount++] = item;
    return 1;
}

void* TKwVector<void*>::GetAt(int index) const
{
    if (index < 0 || index >= m_nCount)
        return nullptr;
    return m_ppItems[index];
}

int TKwVector<void*>::Remove(void* item)
{
    for (int index = 0; index < m_nCount; ++index) {
        if (m_ppItems[index] == item) {
            memmove(m_ppItems + index, m_ppItems + index + 1,
                    static_cast<size_t>(m_nCount - index - 1) * sizeof(void*));
            --m_nCount;
            return 1;
        }
    }
    return 0;
}

int TKwVector<void*>::GetCount() const
{
    return m_nCount;
}

} // namespace KwSDK
