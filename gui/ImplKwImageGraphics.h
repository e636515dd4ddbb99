// The drawing surface of a KwImage: the image's pixels in a memory bitmap,
// drawn on through IKwGraphics and written back into the image's format.
#ifndef KWSDK_IMPLKWIMAGEGRAPHICS_H
#define KWSDK_IMPLKWIMAGEGRAPHICS_H

#include "KwGdiGraphics.h"

namespace KwSDK {

class KwBuffer;
class KwDibRows;
class KwImage;

// Made by KwImage::GetGraphics through the hooks that InstallHooks registers,
// and owned by the image. Only pictures of the formats 1003, 1004, 1005 and
// 1007 can be drawn on. The pen and text colour is the drawing colour, the
// brush colour the fill colour; Clear fills with the back colour.
class ImplKwImageGraphics : public KwGdiGraphics {
public:
    ImplKwImageGraphics();
    ~ImplKwImageGraphics() override;

    // Registers the surface with the image library so that images can be
    // drawn on; calling it again does nothing. A program that draws on
    // images calls it once at start; until then KwImage::GetGraphics answers
    // null.
    static void InstallHooks();

    // Drops any previous surface and loads the image's pixels into a new
    // bitmap compatible with the screen; holds the pixel buffer with one
    // reference and clears the drawn mark. 0 (no surface) for a format that
    // cannot be drawn, pixels that do not cover the picture or when the
    // system cannot make the bitmap.
    virtual int Load(KwImage* image);
    // When something was drawn since the last load or write-back, stores the
    // bitmap's pixels top-down into the held pixel buffer in the image's
    // format. A pixel whose colour the drawing changed gets alpha 255 (the
    // surface holds no alpha); an unchanged pixel keeps its alpha. Answers 1
    // when pixels were written.
    virtual int WriteBack();

private:
    ImplKwImageGraphics(const ImplKwImageGraphics&) = delete;
    ImplKwImageGraphics& operator=(const ImplKwImageGraphics&) = delete;

    void ReleaseSurface();
    int MakeSurface(const KwDibRows& rows);
    void StoreRow(const unsigned char* source, unsigned char* target) const;

    KwBuffer* m_pPixels;
    int m_nFormat;
    int m_nImageWidth;
    int m_nImageHeight;
};

} // namespace KwSDK

#endif
