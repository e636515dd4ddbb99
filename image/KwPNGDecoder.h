// The PNG decoder, on libpng: delivers B, G, R (1005) or B, G, R, A (1007).
#ifndef KWSDK_KWPNGDECODER_H
#define KWSDK_KWPNGDECODER_H

#include "IKwCoder.h"

namespace KwSDK {

// 16-bit samples are cut to 8 bits; palettes, grey levels below 8 bits and
// transparency chunks are expanded to full channels (transparency becoming
// alpha); grey becomes R = G = B; a file gamma is corrected for a screen
// gamma of 2.2. Any libpng error, a truncated file included, fails.
class KwPNGDecoder : public IKwCoder {
public:
    KwPNGDecoder();
    ~KwPNGDecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    // Adds "IMAGE_Depth" (the file's bits per sample) to the shared values.
    int GetParams(KwParam* params) override;

    // Bits per sample and the colour type as the file states them.
    int GetDepth() const;
    int GetColorType() const;

protected:
    void ResetState() override;

private:
    KwPNGDecoder(const KwPNGDecoder&) = delete;
    KwPNGDecoder& operator=(const KwPNGDecoder&) = delete;

    // Second pass over the file with libpng's read and info structures.
    int ReadRows(void* png, void* info, unsigned char** rows);

    int m_nDepth;
    int m_nColorType;
};

} // namespace KwSDK

#endif
