// The enhanced metafile decoder: plays the metafile with GDI into a bitmap
// of its natural size and delivers R, G, B (1003).
#ifndef KWSDK_KWEMFDECODER_H
#define KWSDK_KWEMFDECODER_H

#include "IKwCoder.h"

namespace KwSDK {

// The header is read on every platform; drawing needs GDI, so elsewhere
// decoding fails with KW_CODER_UNSUPPORTED. The picture is drawn on white.
class KwEMFDecoder : public IKwCoder {
public:
    KwEMFDecoder();
    ~KwEMFDecoder() override;

    // Reads the header record (type 1, signature " EMF"). Natural size: the
    // picture frame (hundredths of a millimetre) converted to pixels of the
    // reference device that recorded it; without a usable device size, the
    // bounds in device pixels.
    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;

    // The frame in hundredths of a millimetre.
    int GetFrameLeft() const;
    int GetFrameTop() const;
    int GetFrameRight() const;
    int GetFrameBottom() const;

    // Walks the records of a whole enhanced metafile: each record at least
    // 8 bytes, a multiple of 4 and inside the data, up to the end-of-file
    // record. 1 when the walk reaches it.
    static int CheckRecords(const unsigned char* data, int size);

protected:
    void ResetState() override;

private:
    KwEMFDecoder(const KwEMFDecoder&) = delete;
    KwEMFDecoder& operator=(const KwEMFDecoder&) = delete;

    // The whole file as a new buffer with one reference, or null.
    KwBuffer* LoadFile();
    // Plays the metafile into the pixels (platform file).
    int Render(KwBuffer* file, KwBuffer* pixels);

    int m_nFrame[4];
    int m_nFileBytes;
};

} // namespace KwSDK

#endif
