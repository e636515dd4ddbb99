// The process-wide count of components per native window class name.
#ifndef KWSDK_KWCLASSREGISTRY_H
#define KWSDK_KWCLASSREGISTRY_H

#include "KwString.h"

namespace KwSDK {

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

    // Takes the lock for one reading; for tests and diagnostics.
    static int QueryCount(const KwString& name);

private:
    KwClassRegistry() = delete;
};

} // namespace KwSDK

#endif
