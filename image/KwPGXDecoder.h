// Decoder of PGX files (one grey component of 1 to 16 bits, signed or
// unsigned, either byte order), delivered as R, G, B grey pixels.
#ifndef KWSDK_KWPGXDECODER_H
#define KWSDK_KWPGXDECODER_H

#include "IKwCoder.h"

namespace KwSDK {

class KwPGXDecoder : public IKwCoder {
public:
    KwPGXDecoder();
    ~KwPGXDecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    int GetParams(KwParam* params) override;

    int GetDepth() const;
    int IsSigned() const;
    int IsBigEndian() const;

protected:
    void ResetState() override;

private:
    int m_nDepth;
    int m_bSigned;
    int m_bBigEndian;
    int m_nDataOffset;
};

} // namespace KwSDK

#endif
