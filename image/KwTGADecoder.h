// Decoder of Targa files: colour-mapped, true-colour and grey, plain or run
// length encoded, either origin; B, G, R, or B, G, R, A for 32-bit files.
#ifndef KWSDK_KWTGADECODER_H
#define KWSDK_KWTGADECODER_H

#include "IKwCoder.h"
#include "KwStreamReader.h"

namespace KwSDK {

class KwTGADecoder : public IKwCoder {
public:
    KwTGADecoder();
    ~KwTGADecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    int GetParams(KwParam* params) override;

    int GetImageKind() const;
    int GetPixelDepth() const;
    int IsTopDown() const;

protected:
    void ResetState() override;

private:
    int ReadColorMap(KwStreamReader& reader);
    int ReadPixel(KwStreamReader& reader, unsigned char* pixel);
    int ReadPacketPixels(KwStreamReader& reader, unsigned char* raw, int count);
    void StorePixel(const unsigned char* raw, unsigned char* out) const;
    void DecodeColor(unsigned int value, int bits, unsigned char* out) const;

    int m_nKind;
    int m_nPixelDepth;
    int m_nMapFirst;
    int m_nMapLength;
    int m_nMapDepth;
    int m_bTopDown;
    int m_bRightToLeft;
    int m_nAlphaBits;
    int m_nDataOffset;
    int m_nRunCount;
    int m_bRunRepeat;
    unsigned char m_runPixel[4];
    unsigned char m_colorMap[256 * 4];  // B, G, R, A entries
};

} // namespace KwSDK

#endif
