// Keeps an object alive for the length of a scope.
#ifndef KWSDK_KWREFERENCEGUARD_H
#define KWSDK_KWREFERENCEGUARD_H

namespace KwSDK {

class KwObject;

// Adds a reference on construction and gives it back on destruction, so a
// listener that releases the object it is told about cannot free it while
// the dispatch still uses it.
//
// An object that nobody had counted yet (a stack or member object, or one
// whose owner never AddRef'ed it) answers 1 to AddRef; giving that reference
// back would delete it, so it is kept instead. Such an object is freed by
// its owner, never by Release, so the kept count does no harm.
class KwReferenceGuard {
public:
    explicit KwReferenceGuard(KwObject* object);
    ~KwReferenceGuard();

private:
    KwReferenceGuard(const KwReferenceGuard&) = delete;
    KwReferenceGuard& operator=(const KwReferenceGuard&) = delete;

    KwObject* m_pObject;
    int m_bRelease;
};

// The same rule for a reference that outlives a scope: AddRef that answers
// whether the reference may be given back later with Release.
int KwHoldReference(KwObject* object);

} // namespace KwSDK

#endif
