// Decoder of PCX files: 1, 2, 4 and 8 bits per pixel in 1 to 4 planes, run
// length encoded, delivered as R, G, B.
#ifndef KWSDK_KWPCXDECODER_H
#define KWSDK_KWPCXDECODER_H

#include "IKwCoder.h"
#include "KwStreamReader.h"

namespace KwSDK {

class KwPCXDecoder : public IKwCoder {
public:
    KwPCXDecoder();
    ~KwPCXDecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    int GetParams(KwParam* params) override;

    int GetBitsPerPixel() const;
    int GetPlanes() const;

protected:
    void ResetState() override;

private:
    int ReadPalette256(KwStreamReader& reader);
    int ReadScanLine(KwStreamReader& reader, unsigned char* line);
    void ConvertLine(const unsigned char* line, unsigned char* out) const;

    int m_nBitsPerPixel;
    int m_nPlanes;
    int m_nBytesPerLine;
    int m_bCompressed;
    int m_nRunLeft;
    int m_nRunByte;
    unsigned char m_palette[768];  // R, G, B entries
};

} // namespace KwSDK

#endif
