// The process-wide count of components per native window class name.
#include "KwClassRegistry.h"

#include "KwPlatform.h"
#include "TKwMap.h"

#include <new>

namespace KwSDK {

namespace {

Platform::CriticalSection* g_pLock = nullptr;

// One registered name: its count and the handles its class owns.
struct CLASSENTRY {
    int count;
    void* handles[KW_CLASS_HANDLE_SLOTS];
};

// Entries are held by address, so that a count changes in place and a
// failed allocation can never lose the count of a name already known.
TKwMap<KwString, CLASSENTRY*>* g_pCounts = nullptr;

// The map is made on first use under the lock and lives as long as the
// process, like the native classes it counts.
TKwMap<KwString, CLASSENTRY*>* Counts()
{
    if (g_pCounts == nullptr) {
        g_pCounts = new (std::nothrow) TKwMap<KwString, CLASSENTRY*>();
    }
    return g_pCounts;
}

CLASSENTRY* FindEntry(const KwString& name)
{
    CLASSENTRY* entry = nullptr;
    TKwMap<KwString, CLASSENTRY*>* counts = Counts();
    if (counts == nullptr || !counts->Lookup(name, entry)) {
        return nullptr;
    }
    return entry;
}

int AddName(const KwString& name, int count)
{
    TKwMap<KwString, CLASSENTRY*>* counts = Counts();
    CLASSENTRY* stored = counts != nullptr ? new (std::nothrow) CLASSENTRY() : nullptr;
    if (stored == nullptr) {
        return 0;
    }
    stored->count = count;
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
    CLASSENTRY* entry = FindEntry(name);
    return entry != nullptr ? entry->count : 0;
}

int KwClassRegistry::SetCount(const KwString& name, int count)
{
    CLASSENTRY* stored = FindEntry(name);
    if (stored == nullptr) {
        return count > 0 ? AddName(name, count) : 1;
    }
    if (count > 0) {
        stored->count = count;
    } else {
        Counts()->RemoveKey(name);
        delete stored;
    }
    return 1;
}

void* KwClassRegistry::ExchangeHandle(const KwString& name, int slot, void* handle)
{
    CLASSENTRY* entry = FindEntry(name);
    if (entry == nullptr || slot < 0 || slot >= KW_CLASS_HANDLE_SLOTS) {
        return handle;
    }
    void* previous = entry->handles[slot];
    entry->handles[slot] = handle;
    return previous;
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
