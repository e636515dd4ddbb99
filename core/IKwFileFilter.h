// The test that a filtered folder listing asks about each entry.
#ifndef KWSDK_IKWFILEFILTER_H
#define KWSDK_IKWFILEFILTER_H

#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {

class IKwFileFilter : public virtual KwObject {
public:
    IKwFileFilter();
    ~IKwFileFilter() override;

    // Takes the entry's full path (folder, backslash, name); answers 1 to
    // list the entry, 0 to leave it out.
    virtual int Accept(const KwString& path) = 0;
};

} // namespace KwSDK

#endif
