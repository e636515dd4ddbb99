// Writes decoded pictures as PAM files (P7, RGB_ALPHA, 8 bits per sample).
#ifndef KWSDK_KWPAMWRITER_H
#define KWSDK_KWPAMWRITER_H

#include "KwImage.h"
#include "KwString.h"

namespace KwSDK {

// Every pixel format becomes R, G, B, A; formats without alpha get 255.
// Four-sample pictures (1027) are written with their samples unchanged.
class KwPamWriter {
public:
    // Converts one pixel of the format to R, G, B, A; 0 for a format
    // without a known layout.
    static int ToRGBA(int format, const unsigned char* pixel, unsigned char* rgba);
    // Writes the image to a new file at path; 1 on success, else 0 with a
    // short reason in *reason.
    static int Write(KwImage* image, const KwString& path, const char** reason);
};

} // namespace KwSDK

#endif
