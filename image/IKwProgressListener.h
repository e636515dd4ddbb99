// Receives a decoder's progress: one call per decoded row or block, then one
// at the end.
#ifndef KWSDK_IKWPROGRESSLISTENER_H
#define KWSDK_IKWPROGRESSLISTENER_H

#include "KwObject.h"

namespace KwSDK {

class IKwProgressListener : public virtual KwObject {
public:
    IKwProgressListener();
    ~IKwProgressListener() override;

    // done of total units (rows, or stream bytes for GIF) are decoded. The
    // answer is not used: decoding always runs to its end.
    virtual int OnProgress(int done, int total);
    // Decoding finished; success is 1, or 0 when it failed.
    virtual int OnComplete(int success);
};

} // namespace KwSDK

#endif
