// The placeable Windows metafile decoder: plays the metafile with GDI into
// a bitmap of its natural size and delivers B, G, R, A (1007).
#ifndef KWSDK_KWWMFDECODER_H
#define KWSDK_KWWMFDECODER_H

#include "IKwCoder.h"

namespace KwSDK {

// Largest metafile the metafile decoders load into memory.
const int KW_METAFILE_MAX_BYTES = 64 * 1024 * 1024;
// Pixels per inch of a metafile's natural size (the screen's logical
// resolution).
const int KW_METAFILE_DPI = 96;

// The header is read on every platform; drawing needs GDI, so elsewhere
// decoding fails with KW_CODER_UNSUPPORTED. The picture is drawn on white
// and is fully opaque.
class KwWMFDecoder : public IKwCoder {
public:
    KwWMFDecoder();
    ~KwWMFDecoder() override;

    // Reads the 22-byte placeable header (key, bounding box in metafile
    // units, units per inch) and checks the standard metafile header after
    // it. Natural size: the box at KW_METAFILE_DPI.
    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;

    // The bounding box in metafile units and the units per inch.
    int GetBoxLeft() const;
    int GetBoxTop() const;
    int GetBoxRight() const;
    int GetBoxBottom() const;
    int GetUnitsPerInch() const;

    // Walks the records of a standard metafile (the bytes after the
    // placeable header): each record at least 3 words long and inside the
    // data, up to the end record. 1 when the walk reaches the end record.
    static int CheckRecords(const unsigned char* data, int size);

protected:
    void ResetState() override;

private:
    KwWMFDecoder(const KwWMFDecoder&) = delete;
    KwWMFDecoder& operator=(const KwWMFDecoder&) = delete;

    // The standard metafile (everything after the placeable header) as a
    // new buffer with one reference, or null.
    KwBuffer* LoadRecords();
    // Plays the records into the pixels (platform file).
    int Render(KwBuffer* records, KwBuffer* pixels);

    int m_nLeft;
    int m_nTop;
    int m_nRight;
    int m_nBottom;
    int m_nUnitsPerInch;
};

} // namespace KwSDK

#endif
