// The process-wide count of components per native window class name.
#ifndef KWSDK_KWCLASSREGISTRY_H
#define KWSDK_KWCLASSREGISTRY_H

#include "KwString.h"

namespace KwSDK {

// The native handles a class can own, by slot.
const int KW_CLASS_LARGE_ICON = 0;
const int KW_CLASS_SMALL_ICON = 1;
const int KW_CLASS_CURSOR = 2;
const int KW_CLASS_HANDLE_SLOTS = 3;

// The first component of a class name registers the native class, later
// ones only count up, and the last one to go unregisters it. One lock,
// made on first use, guards the map; callers hold it across a lookup and
// the native registration that depends on it.
class KwClassRegistry {
public:
    // Enters and leaves the registry lock (re-entrant). Enter answers 0 when
    // the lock cannot be made; the caller must then not call Leave.
    static int Enter();
    static void Leave();

    // The number of registrations held for the name; 0 when unknown. Call
    // with the lock held.
    static int GetCount(const KwString& name);
    // Sets the count (0 removes the name); 0 when memory runs out. Call
    // with the lock held.
    static int SetCount(const KwString& name, int count);

    // Icons and cursors the toolkit made for a class are shared by every
    // window of that class name, so they belong to the registration, not to
    // the component that made them. Hands the handle (null for a shared
    // system handle) to the registered name's slot and answers the handle
    // the slot held before: no longer the class's, the caller destroys it.
    // Without a registration for the name the handle itself is answered.
    // Call with the lock held.
    static void* ExchangeHandle(const KwString& name, int slot, void* handle);

    // Takes the lock for one reading; for tests and diagnostics.
    static int QueryCount(const KwString& name);

private:
    KwClassRegistry() = delete;
};

} // namespace KwSDK

#endif
