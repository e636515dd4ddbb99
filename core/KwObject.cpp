// Reference counting, locking and the type-name chain shared by all toolkit objects.
#include "KwObject.h"

#include "KwPlatform.h"

#include <cstdlib>
#include <cstring>

namespace KwSDK {

static const char kBaseTypeName[] = "KwObject";
static const unsigned int kLockRetryMilliseconds = 100;

// A copy of the base name; null when there is no memory, which leaves the chain absent.
static char* NewBaseTypeName()
{
    char* name = static_cast<char*>(malloc(sizeof kBaseTypeName));
    if (name)
        memcpy(name, kBaseTypeName, sizeof kBaseTypeName);
    return name;
}

KwObject::KwObject()
    : m_pTypeName(NewBaseTypeName()), m_nRefCount(0), m_pCountLock(nullptr), m_pObjectLock(nullptr)
{
}

KwObject::KwObject(const KwObject&)
    : m_pTypeName(NewBaseTypeName()), m_nRefCount(0), m_pCountLock(nullptr), m_pObjectLock(nullptr)
{
}

KwObject& KwObject::operator=(const KwObject&)
{
    return *this;
}

KwObject::~KwObject()
{
    free(m_pTypeName);
    Platform::LockDestroy(m_pCountLock);
    Platform::LockDestroy(m_pObjectLock);
}

// Locks are made on first use; two threads racing here end up sharing one lock.
Platform::CriticalSection* KwObject::AcquireLock(Platform::CriticalSection** slot)
{
    Platform::CriticalSection* lock = Platform::LockLoad(slot);
    if (lock)
        return lock;
    Platform::CriticalSection* fresh = Platform::LockCreate();
    if (!fresh)
        return nullptr;
    return Platform::LockInstall(slot, fresh);
}

int KwObject::AddRef()
{
    Platform::CriticalSection* lock = AcquireLock(&m_pCountLock);
    if (!lock)
        return 0;
    Platform::LockEnter(lock);
    int count = ++m_nRefCount;
    Platform::LockLeave(lock);
    return count;
}

int KwObject::Release()
{
    // Without a count lock the object was never AddRef'ed: it lives on the
    // stack or inside another object and must not delete itself.
    Platform::CriticalSection* lock = Platform::LockLoad(&m_pCountLock);
    if (!lock)
        return 0;
    Platform::LockEnter(lock);
    bool last = m_nRefCount == 1;
    if (m_nRefCount > 0)
        --m_nRefCount;
    int count = m_nRefCount;
    Platform::LockLeave(lock);
    // The destructor destroys the count lock, so it must not be held here.
    if (last)
        delete this;
    return count;
}

unsigned int KwObject::GetErrorCode() const
{
    return 0;
}

const char* KwObject::GetErrorMessage(unsigned int) const
{
    return nullptr;
}

const char* KwObject::GetTypeName() const
{
    return m_pTypeName;
}

int KwObject::Lock(unsigned int timeout)
{
    Platform::CriticalSection* lock = AcquireLock(&m_pObjectLock);
    if (!lock)
        return 0;
    if (timeout == KW_INFINITE) {
        Platform::LockEnter(lock);
        return 1;
    }
    unsigned int start = Platform::TickCount();
    while (!Platform::LockTryEnter(lock)) {
        // Unsigned subtraction keeps the interval right across a counter wrap.
        if (timeout == 0 || Platform::TickCount() - start >= timeout)
            return 0;
        Platform::SleepMilliseconds(kLockRetryMilliseconds);
    }
    return 1;
}

int KwObject::Unlock()
{
    Platform::CriticalSection* lock = Platform::LockLoad(&m_pObjectLock);
    if (!lock)
        return 0;
    Platform::LockLeave(lock);
    return 1;
}

KwObject* KwObject::Clone() const
{
    return nullptr;
}

void KwObject::AppendTypeName(const char* name)
{
    if (!m_pTypeName || !name)
        return;
    size_t oldLength = strlen(m_pTypeName);
    size_t nameLength = strlen(name);
    char* chain = static_cast<char*>(malloc(oldLength + 1 + nameLength + 1));
    if (!chain)
        return;
    memcpy(chain, m_pTypeName, oldLength);
    chain[oldLength] = '.';
    memcpy(chain + oldLength + 1, name, nameLength + 1);
    free(m_pTypeName);
    m_pTypeName = chain;
}

} // namespace KwSDK
