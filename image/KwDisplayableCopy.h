// Turns a picture with an alpha channel into one that can be shown as it is.
#ifndef KWSDK_KWDISPLAYABLECOPY_H
#define KWSDK_KWDISPLAYABLECOPY_H

#include "KwImage.h"

namespace KwSDK {

// 1 for the formats whose pictures are shown through a displayable copy:
// A, R, G, B (1004) and B, G, R, A (1007). The system's bitmap transfer
// ignores the fourth byte, so such a picture drawn directly would show the
// colour bytes of its transparent pixels.
int KwNeedsDisplayableCopy(int format);

// A new B, G, R (1005) picture (one reference for the caller) in which every
// pixel of image is blended over the background colour (ARGB value, alpha
// ignored) by its alpha: transparent pixels become the background, opaque
// ones keep their colour. Position, delay and resolution are copied. Null
// for a null image, a format that KwNeedsDisplayableCopy refuses, pixels
// that do not cover width x height, or no memory.
KwImage* KwDisplayableCopy(KwImage* image, unsigned int background);

} // namespace KwSDK

#endif
