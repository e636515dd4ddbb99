// Decoder of Windows bitmap files (1, 2, 4, 8, 16, 24 and 32 bits per pixel,
// bottom-up or top-down, uncompressed or with bit fields).
#ifndef KWSDK_KWBMPDECODER_H
#define KWSDK_KWBMPDECODER_H

#include "IKwCoder.h"
#include "KwStreamReader.h"

namespace KwSDK {

// What a bitmap information header says, whatever its version.
struct KWBMPINFO {
    int nHeaderSize;           // 12 (core header), 40, 52, 56, 108 or 124
    int nWidth;
    int nHeight;               // as stored: negative for top-down rows
    int nBitCount;
    unsigned int nCompression; // 0 none, 3 or 6 bit fields
    unsigned int nColorsUsed;
    int nXPerMeter;
    int nYPerMeter;
    unsigned int nMask[3];     // red, green, blue bit fields
    unsigned int nAlphaMask;   // 0 when the header defines no alpha
    int nPaletteEntrySize;     // 3 for core headers, else 4
};

// How to turn one stored row into output pixels.
struct KWBMPROWFORMAT {
    int nBitDepth;             // 1, 2, 4, 8, 16, 24 or 32
    unsigned int nMask[3];     // red, green, blue fields of 16- and 32-bit pixels
    unsigned int nAlphaMask;   // alpha field of 32-bit pixels
    int bInvertAlpha;          // 1: alpha = 255 - field (files whose fourth byte is unused)
};

// Palette: 256 entries of B, G, R and an ignored byte; entries the file
// does not give are black.
const int KW_BMP_PALETTE_BYTES = 1024;

class KwBMPDecoder : public IKwCoder {
public:
    KwBMPDecoder();
    ~KwBMPDecoder() override;

    int ReadHeader() override;
    int DecodePixels(KwBuffer* pixels) override;
    // Converts with this file's layout: palette indices and 24-bit rows give
    // B, G, R; 16-bit pixels B, G, R from the bit fields; 32-bit pixels B, G,
    // R, A.
    int ExpandRow(const unsigned char* palette, const unsigned char* indices,
                  unsigned char* out, int count, int bitDepth) override;
    int GetParams(KwParam* params) override;

    int IsTopDown() const;
    int GetBitCount() const;
    int GetStride() const;
    // 1 when 16-bit pixels are 5-6-5, 0 for 5-5-5.
    int Is565() const;

    // Reads an information header at the reader's position, and the bit-field
    // masks that follow a 40-byte header; leaves the reader behind them.
    // Refuses sizes, depths and compressions this decoder cannot read.
    static int ReadInfo(KwStreamReader& reader, KWBMPINFO* info);
    // Reads the palette that follows the header into 256 4-byte entries.
    static int ReadPalette(KwStreamReader& reader, const KWBMPINFO& info,
                           unsigned char* palette);
    // The row layout for a header; invertAlpha applies to 32-bit files
    // without an alpha field.
    static void MakeRowFormat(const KWBMPINFO& info, int invertAlpha, KWBMPROWFORMAT* format);
    // Bytes of one stored row: rows are padded to 4 bytes. 0 when too large.
    static int RowStride(int bitDepth, int width);
    // Converts width stored pixels of one row into 3 (bit depth up to 24) or
    // 4 (32) output bytes per pixel.
    static int ConvertRow(const KWBMPROWFORMAT& format, const unsigned char* palette,
                          const unsigned char* row, unsigned char* out, int width);

protected:
    void ResetState() override;
    int GetParamImageType() const override;

private:
    KWBMPINFO m_info;
    KWBMPROWFORMAT m_rowFormat;
    int m_bTopDown;
    int m_nPixelOffset;
    int m_nStride;
    unsigned char m_palette[KW_BMP_PALETTE_BYTES];
};

} // namespace KwSDK

#endif
