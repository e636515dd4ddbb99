// The process-wide count of components per native window class name.
#include "KwClassRegistry.h"

#include "KwPlatform.h"
#include "TKwMap.h"

#include <new>

namespace KwSDK {

namespace {

Platform::CriticalSection* g_pLock = nullptr;

// Counts are held by address, so that a count changes in place and a
// failed allocation can never lose the count of a name already known.
TKwMap<KwString, int*>* g_pCounts = nullptr;

// The map is made on first use under the lock and lives as long as the
// process, like the native classes it counts.
TKwMap<KwString, int*>* Counts()
{
    if (g_pCounts == nullptr) {
        g_pCounts = new (std::nothrow) TKwMap<KwString, int*>();
    }
    return g_pCounts;
}

int* FindCount(const KwString& name)
{
    int* count = nullptr;
    TKwMap<KwString, int*>* counts = Counts();
    if (counts == nullptr || !counts->Lookup(name, count)) {
        return nullptr;
    }
    return count;
}

int AddName(const KwString& name, int count)
{
    TKwMap<KwString, int*>* counts = Counts();
    int* stored = counts != nullptr ? new (std::nothrow) int(count) : nullptr;
    if (stored == nullptr) {
        return 0;
    }
    if (!counts->SetAt(name, stored)) {
        delete stored;
        return 0;
    }
    return 1;
}

} // namespace

int KwClassRegistry::Enter()
{
    Platform::CriticalSection* lock = Platform::LockLoad(&g_pLock);
    if (lock == nullptr) {
        Platform::CriticalSection* fresh = Platform::LockCreate();
        if (fresh == nullptr) {
            return 0;
        }
        lock = Platform::LockInstall(&g_pLock, fresh);
    }
    Platform::LockEnter(lock);
    return 1;
}

void KwClassRegistry::Leave()
{
    Platform::CriticalSection* lock = Platform::LockLoad(&g_pLock);
    if (lock != nullptr) {
        Platform::LockLeave(lock);
    }
}

int KwClassRegistry::GetCount(const KwString& name)
{
    int* count = FindCount(name);
    return count != nullptr ? *count : 0;
}

int KwClassRegistry::SetCount(const KwString& name, int count)
{
    int* stored = FindCount(name);
    if (stored == nullptr) {
        return count > 0 ? AddName(name, count) : 1;
    }
    if (count > 0) {
        *stored = count;
    } else {
        Counts()->RemoveKey(name);
        delete stored;
    }
    return 1;
}

int KwClassRegistry::QueryCount(const KwString& name)
{
    if (!Enter()) {
        return 0;
    }
    int count = GetCount(name);
    Leave();
    return count;
}

} // namespace KwSDK
