// A decoded raster picture: pixels in one of the toolkit's pixel formats,
// size, optional palette, frame position and delay, transparent colour.
#ifndef KWSDK_KWIMAGE_H
#define KWSDK_KWIMAGE_H

#include "KwBuffer.h"
#include "KwImageFormat.h"
#include "KwObject.h"

namespace KwSDK {

class IKwGraphics;
class KwImage;

// The drawing surface of an image belongs to the GUI toolkit, which the
// portable image library does not link. The toolkit registers these hooks
// once (KwImage::SetGraphicsHooks); without them an image cannot be drawn on
// and GetGraphics answers null.
struct KWIMAGEGRAPHICSHOOKS {
    // Makes a surface loaded from the image's pixels, with one reference.
    IKwGraphics* (*pfnCreate)(KwImage* image);
    // Reloads the surface after the image's pixels were replaced.
    void (*pfnReload)(IKwGraphics* graphics, KwImage* image);
    // Writes the surface's pixels back into the image's pixel buffer when
    // something was drawn since the last load or write-back. While a hook
    // runs, the image's GetPixels and GetRegion do not call back into it.
    void (*pfnWriteBack)(IKwGraphics* graphics, KwImage* image);
    // Drops the image's reference to the surface.
    void (*pfnRelease)(IKwGraphics* graphics);
};

// Pixel layout: rows top to bottom, width x KwBytesPerPixel(format) bytes
// each, no padding. Holds at most one reference to its pixel buffer, its
// palette and its surface. Takes no lock.
class KwImage : public virtual KwObject {
public:
    // No pixels, format 0.
    KwImage();
    // Copies length bytes into a new pixel buffer (none when length is not
    // positive or memory runs out).
    KwImage(int format, const void* bytes, int length, int x, int y, int width, int height,
            int delay);
    // Holds the buffer (null allowed) with one reference.
    KwImage(int format, KwBuffer* pixels, int x, int y, int width, int height, int delay);
    ~KwImage() override;

    // Kept for the slot layout: takes one argument and does nothing.
    virtual void Reserved(void* argument);
    // The image's drawing surface, made on the first call; the image keeps
    // it, the caller gets no reference of its own. Null without hooks.
    virtual IKwGraphics* GetGraphics();
    virtual int GetX() const;
    virtual int SetX(int x);
    virtual int GetY() const;
    virtual int SetY(int y);
    virtual int GetWidth() const;
    virtual int SetWidth(int width);
    virtual int GetHeight() const;
    virtual int SetHeight(int height);
    // The pixels of [left, right) x [top, bottom) clamped to the picture, as a
    // new buffer with one reference for the caller, rows tightly packed in
    // the image's format. Null for an empty rectangle, a format outside
    // 1001-1011 without a defined pixel size, or pixels that do not cover
    // width x height.
    virtual KwBuffer* GetRegion(int left, int top, int right, int bottom);
    // The pixel buffer with one added reference, or null.
    virtual KwBuffer* GetPixels();
    // Replaces the pixels by a copy of length bytes; 0 when length is not
    // positive, bytes is null or memory runs out (the old pixels stay).
    virtual int SetPixels(int format, const void* bytes, int length);
    // Holds the given buffer with one reference in place of the old one.
    virtual int AttachPixels(int format, KwBuffer* pixels);
    // The palette buffer with one added reference, or null.
    virtual KwBuffer* GetPalette();
    // Holds a copy of length palette bytes; 0 on bad arguments or no memory.
    virtual int SetPalette(const void* bytes, int length);
    // Holds the given buffer (null clears) in place of the old palette.
    virtual int AttachPalette(KwBuffer* palette);
    virtual int GetFormat() const;
    // Frame display time in milliseconds.
    virtual int GetDelay() const;
    virtual int SetDelay(int delay);
    // The transparent colour as a KwColor ARGB value (alpha << 24 | red <<
    // 16 | green << 8 | blue); answers 0 and leaves *argb alone when none is
    // set or argb is null.
    virtual int GetTransparentColor(unsigned int* argb) const;
    virtual int SetTransparentColor(unsigned int argb);
    // The two 32-bit resolution values as one: first in the low half,
    // second in the high half.
    virtual unsigned long long GetResolution() const;
    virtual unsigned long long SetResolution(unsigned int first, unsigned int second);

    // Registers the GUI toolkit's surface hooks (null removes them). Images
    // that already have a surface keep using the hooks they were made with.
    static void SetGraphicsHooks(const KWIMAGEGRAPHICSHOOKS* hooks);
    // 1 when the transparent colour is set.
    int HasTransparentColor() const;

private:
    KwImage(const KwImage&) = delete;
    KwImage& operator=(const KwImage&) = delete;

    void Init(int format, int x, int y, int width, int height, int delay);
    void SyncFromGraphics();
    void ReloadGraphics();
    int CoversPicture(int bytesPerPixel) const;

    KwBuffer* m_pPixels;
    KwBuffer* m_pPalette;
    int m_nFormat;
    int m_nWidth;
    int m_nHeight;
    int m_nX;
    int m_nY;
    int m_nDelay;
    unsigned int m_nResolution[2];
    unsigned int m_nTransparent;
    int m_bTransparent;
    IKwGraphics* m_pGraphics;
    const KWIMAGEGRAPHICSHOOKS* m_pHooks;
    int m_bInHook;
};

} // namespace KwSDK

#endif
