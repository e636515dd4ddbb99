// Decoder of Windows icon and cursor files: every image of the file.
#ifndef KWSDK_KWICODECODER_H
#define KWSDK_KWICODECODER_H

#include "IKwCoder.h"
#include "KwStreamReader.h"

namespace KwSDK {

// Directory entry of one image in an icon or cursor file.
struct KWICONENTRY {
    int nWidth;                // from the directory; 0 there means 256
    int nHeight;
    int nBitCount;             // from the directory; often 0
    unsigned int nSize;        // bytes of the image data
    unsigned int nOffset;      // file offset of the image data
};

// Images are stored as a bitmap without file header (colour rows and a
// 1-bit mask, twice the image height) or as an embedded PNG file. Images of
// up to 24 bits come out as B, G, R; 32-bit images as B, G, R, A with the
// alpha they store, except that an image whose alpha bytes are all 0 (an
// older icon that relies on its mask alone) takes its alpha from the mask:
// 0 where the mask bit is set, 255 elsewhere.
class KwICODecoder : public IKwCoder {
public:
    KwICODecoder();
    ~KwICODecoder() override;

    int ReadHeader() override;
    // The pixels of the main image: the largest one, the deepest among equals.
    int DecodePixels(KwBuffer* pixels) override;
    // The main image.
    KwImage* GetImage() override;
    // Every image of the file in directory order.
    KwImageGroup* GetImageGroup() override;
    int GetImageCount() override;
    int GetParams(KwParam* params) override;

    // 1 for an icon file, 2 for a cursor file, 0 before a header was read.
    int GetResourceType() const;

protected:
    void ResetState() override;

private:
    KwImage* DecodeEntry(int index);
    KwImage* DecodeBitmapEntry(KwStreamReader& reader);
    // An embedded PNG opened (header read) by a new decoder with one
    // reference, or null.
    IKwCoder* OpenPngEntry(KwStreamReader& reader, const KWICONENTRY& entry);
    KwImage* DecodePngEntry(KwStreamReader& reader, const KWICONENTRY& entry);
    int PeekEntryFormat(KwStreamReader& reader, const KWICONENTRY& entry, int* format);
    int ReadMask(KwStreamReader& reader, int width, int height, KwBuffer* pixels);
    int ChooseMainEntry() const;

    KWICONENTRY* m_pEntries;
    int m_nCount;
    int m_nType;
    int m_nMain;
    KwImage* m_pMainImage;
};

} // namespace KwSDK

#endif
