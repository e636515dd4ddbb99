// The JPEG 2000 file decoder (JP2 boxes around a code stream), on the JPEG
// 2000 core: delivers R, G, B (1003).
#ifndef KWSDK_KWJP2DECODER2_H
#define KWSDK_KWJP2DECODER2_H

#include "IKwCoder.h"

namespace KwSDK {

// Besides the shared picture limit, the core's working memory (4 bytes per
// sample of every component) may not exceed this many bytes.
const long long KW_J2K_MAX_SAMPLE_BYTES = 0x40000000LL;

// Grey pictures are delivered as R = G = B, sYCC and CMYK pictures are
// converted, samples of more than 8 bits are scaled, extra components
// (alpha) are dropped. A truncated code stream fails.
class KwJP2Decoder2 : public IKwCoder {
public:
    KwJP2Decoder2();
    ~KwJP2Decoder2() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    // Adds "IMAGE_Depth" (bits per sample of the first component).
    int GetParams(KwParam* params) override;

    int GetPrecision() const;

protected:
    // For the code-stream decoder, which reads the same way without boxes.
    explicit KwJP2Decoder2(int container);
    void ResetState() override;

private:
    KwJP2Decoder2(const KwJP2Decoder2&) = delete;
    KwJP2Decoder2& operator=(const KwJP2Decoder2&) = delete;

    int m_nContainer;
    int m_nPrecision;
};

} // namespace KwSDK

#endif
