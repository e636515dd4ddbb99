// The JPEG decoder, on libjpeg: R, G, B (1003), or four samples per pixel
// as the file stores them (1027) for CMYK and YCCK files.
#ifndef KWSDK_KWJPEGDECODER_H
#define KWSDK_KWJPEGDECODER_H

#include "IKwCoder.h"

namespace KwSDK {

// Grey files are delivered as R = G = B. Four-component files come out as
// C, M, Y, K samples exactly as libjpeg delivers them (YCCK converted to
// CMYK; files written by Adobe programs store the samples inverted). A
// file that ends before its last row fails.
class KwJPEGDecoder : public IKwCoder {
public:
    KwJPEGDecoder();
    ~KwJPEGDecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;

    // Colour components in the file: 1, 3 or 4.
    int GetFileComponents() const;

protected:
    void ResetState() override;

private:
    KwJPEGDecoder(const KwJPEGDecoder&) = delete;
    KwJPEGDecoder& operator=(const KwJPEGDecoder&) = delete;

    // The two passes over the file, each with its own libjpeg state.
    int ReadHeaderFields(void* session);
    int ReadScanlines(void* session, unsigned char* out);

    int m_nFileComponents;
};

} // namespace KwSDK

#endif
