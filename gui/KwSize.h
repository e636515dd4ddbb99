// The extent of a rectangle, a window or a piece of text.
#ifndef KWSDK_KWSIZE_H
#define KWSDK_KWSIZE_H

#include "KwObject.h"

namespace KwSDK {

// Width and height in pixels, both 0 unless given. Copies are independent
// objects.
class KwSize : public virtual KwObject {
public:
    KwSize();
    KwSize(int width, int height);
    KwSize(const KwSize& other);
    KwSize& operator=(const KwSize& other);

    // A new size with the same extent and one reference, or null.
    KwSize* Clone() const override;

    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual void Set(int width, int height);

private:
    int m_nWidth;
    int m_nHeight;
};

} // namespace KwSDK

#endif
