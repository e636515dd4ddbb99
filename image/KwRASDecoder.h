// Decoder of Sun raster files (1, 8, 24 and 32 bits, plain or run-length
// encoded, with or without colour map), delivered as B, G, R.
#ifndef KWSDK_KWRASDECODER_H
#define KWSDK_KWRASDECODER_H

#include "IKwCoder.h"
#include "KwStreamReader.h"

namespace KwSDK {

class KwRASDecoder : public IKwCoder {
public:
    KwRASDecoder();
    ~KwRASDecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    int GetParams(KwParam* params) override;

    int GetDepth() const;
    int GetRasterType() const;

protected:
    void ResetState() override;

private:
    int ReadRow(KwStreamReader& reader, unsigned char* row, int length);
    void ConvertRow(const unsigned char* row, unsigned char* out) const;

    int m_nDepth;
    int m_nType;
    int m_nMapType;
    int m_nMapLength;
    int m_nStride;
    int m_nRunByte;
    int m_nRunLeft;
    unsigned char m_palette[768];  // B, G, R entries
};

} // namespace KwSDK

#endif
