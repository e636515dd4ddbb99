// The TIFF decoder, on libtiff: R, G, B (1003), or R, G, B and the first
// extra sample (1027) when the file has extra samples (alpha).
#ifndef KWSDK_KWTIFFDECODER_H
#define KWSDK_KWTIFFDECODER_H

#include "IKwCoder.h"

namespace KwSDK {

// Decodes the first picture of the file. 8-bit RGB and grey strips are read
// row by row as stored; every other layout (palette, bilevel, 16-bit, tiles,
// YCbCr, CMYK, other orientations) goes through libtiff's RGBA conversion.
// An unassociated alpha comes out as stored; an associated (premultiplied)
// alpha keeps its premultiplied colours. Any libtiff error fails.
class KwTIFFDecoder : public IKwCoder {
public:
    KwTIFFDecoder();
    ~KwTIFFDecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    // Adds "IMAGE_Depth" (bits per sample) to the shared values.
    int GetParams(KwParam* params) override;

    int GetBitsPerSample() const;
    int GetSamplesPerPixel() const;
    // Number of pictures (directories) in the file; only the first is decoded.
    int GetDirectoryCount() const;

protected:
    void ResetState() override;

private:
    KwTIFFDecoder(const KwTIFFDecoder&) = delete;
    KwTIFFDecoder& operator=(const KwTIFFDecoder&) = delete;

    int ReadFields(void* tif);
    int IsPlainLayout(void* tif) const;
    int DecodeScanlines(void* tif, unsigned char* out);
    int DecodeThroughRGBA(void* tif, KwBuffer* pixels);

    int m_nBitsPerSample;
    int m_nSamplesPerPixel;
    int m_nExtraSamples;
    int m_nPhotometric;
    int m_nDirectories;
    int m_bUnassociatedAlpha;
};

} // namespace KwSDK

#endif
