// A memory device context with a white top-down DIB section selected, which
// the metafile decoders play their records into.
#ifndef KWSDK_KWGDISURFACE_H
#define KWSDK_KWGDISURFACE_H

#include <windows.h>

namespace KwSDK {

// Owns the device context and the bitmap; both go when the object does.
class KwGdiSurface {
public:
    KwGdiSurface();
    ~KwGdiSurface();
    KwGdiSurface(const KwGdiSurface&) = delete;
    KwGdiSurface& operator=(const KwGdiSurface&) = delete;

    // Makes a width x height surface of 24 or 32 bits a pixel, filled white;
    // 1 on success. Call once.
    int Open(int width, int height, int bitCount);
    HDC GetHandle() const;
    // The pixel rows, top row first, each GetStride() bytes long.
    unsigned char* GetBits() const;
    int GetStride() const;

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hPrevious;
    unsigned char* m_pBits;
    int m_nStride;
};

} // namespace KwSDK

#endif
