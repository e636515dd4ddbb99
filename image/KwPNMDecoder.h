// Decoder of the portable anymap formats P1 to P6 (bitmap, grey map and
// pixmap, ASCII and binary, 8- or 16-bit samples).
#ifndef KWSDK_KWPNMDECODER_H
#define KWSDK_KWPNMDECODER_H

#include "IKwCoder.h"
#include "KwStreamReader.h"

namespace KwSDK {

// Output: pixmaps as R, G, B (1003), grey maps as one grey byte (1011),
// bitmaps as one byte 0 black or 255 white (1028). Samples are scaled from
// the file's largest value to 0..255.
class KwPNMDecoder : public IKwCoder {
public:
    KwPNMDecoder();
    ~KwPNMDecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    int GetParams(KwParam* params) override;

    // The digit of the magic number, 1 to 6.
    int GetKind() const;
    int GetMaxValue() const;

protected:
    void ResetState() override;

private:
    int ReadNumber(KwStreamReader& reader, unsigned int* value);
    int ReadAsciiSamples(KwStreamReader& reader, unsigned char* out, int count);
    int ReadBinarySamples(KwStreamReader& reader, unsigned char* out, int count);
    int ReadBinaryBits(KwStreamReader& reader, unsigned char* out);
    unsigned char Scale(unsigned int sample) const;

    int m_nKind;
    unsigned int m_nMaxValue;
    int m_nDataOffset;
};

} // namespace KwSDK

#endif
