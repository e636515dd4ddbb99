// Pixel rows in the layout the system's device-independent bitmaps use:
// blue, green, red (and a fourth byte) per pixel, each row padded to 4 bytes.
#ifndef KWSDK_KWDIBROWS_H
#define KWSDK_KWDIBROWS_H

#include "KwObject.h"

#include <windows.h>

namespace KwSDK {

// The bridge between image pixels and GDI: image pixels are converted into
// rows a bitmap can take, and a bitmap's rows are fetched for reading back.
// Holds its rows until it is destroyed or filled again.
class KwDibRows : public virtual KwObject {
public:
    KwDibRows();
    ~KwDibRows() override;

    // Bytes per pixel of the rows made from a pixel format: 3 for 1003 and
    // 1005, 4 for 1004 and 1007. With others set, any other format with a
    // 3- or 4-byte pixel is accepted and copied as it is. 0 when refused.
    static int BytesPerPixelFor(int format, int others);

    // Converts width x height pixels of the format, rows tightly packed in
    // size bytes, into top-down rows: 1003 (R, G, B) is reordered to B, G, R,
    // 1004 (A, R, G, B) to B, G, R, A; 1005, 1007 and the accepted others are
    // copied. 0 for a refused format, a bad size, pixels shorter than the
    // picture or no memory.
    int FromPixels(const unsigned char* pixels, int size, int format, int width, int height,
                   int others);
    // Fetches every row of the bitmap at 32 bits per pixel (B, G, R, unused),
    // bottom-up as the system delivers them. The bitmap must not be selected
    // into a context. 0 when the bitmap cannot be read in full.
    int FromBitmap(HDC context, HBITMAP bitmap);

    int GetWidth() const;
    int GetHeight() const;
    int GetBytesPerPixel() const;
    // Row y counted from the top of the picture, whichever order the rows
    // are held in; null outside the picture.
    const unsigned char* GetRow(int y) const;
    // The header and bits to hand to the system.
    const BITMAPINFO* GetInfo() const;
    const void* GetBits() const;

private:
    KwDibRows(const KwDibRows&) = delete;
    KwDibRows& operator=(const KwDibRows&) = delete;

    int Allocate(int width, int height, int bytesPerPixel, int topDown);
    void Free();
    void ConvertRow(const unsigned char* source, unsigned char* target, int format) const;

    BITMAPINFO m_info;
    unsigned char* m_pBits;
    int m_nStride;
    int m_bTopDown;
};

} // namespace KwSDK

#endif
