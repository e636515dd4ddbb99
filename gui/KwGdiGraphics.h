// IKwGraphics on a GDI memory device context: the drawing shared by the
// component buffers and the image surfaces.
#ifndef KWSDK_KWGDIGRAPHICS_H
#define KWSDK_KWGDIGRAPHICS_H

#include "IKwGraphics.h"

#include <windows.h>

namespace KwSDK {

class KwDibRows;

// Draws on a memory context with a bitmap selected into it (the surface),
// which a subclass makes and attaches. Without a surface every operation
// does nothing and answers 0. Each operation saves the context state, makes
// the pen (solid, in the drawing colour), brush (fill colour for shapes, back
// colour for clears) and font it needs, draws, restores the state and
// deletes what it made: nothing is cached between calls.
//
// Holds the drawing, fill and back colours (black at first) with one
// reference each and the font (the default font at first) with one
// reference. Colours are used without their alpha byte.
class KwGdiGraphics : public IKwGraphics {
public:
    KwGdiGraphics();
    ~KwGdiGraphics() override;

    void DrawRect(int x, int y, int w, int h) override;
    void FillRoundRect(int x, int y, int w, int h, int cornerWidth, int cornerHeight) override;
    // Clips the source to the image and refuses a source that starts outside
    // it; 0 for a null image, a format other than 1003, 1004, 1005 and 1007,
    // a missing region or no memory.
    int DrawImage(KwImage* image, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                  int dh) override;
    int DrawImage(KwImage* image, int dx, int dy, int dw, int dh) override;
    int DrawImage(KwImage* image, int dx, int dy) override;
    // As DrawImage; besides the four drawable formats any format with 3 or
    // 4 bytes per pixel is taken as it is.
    int DrawImageTransparent(KwImage* image, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                             int dh, const KwColor& key) override;
    int DrawArc(int x, int y, int w, int h, int xStart, int yStart, int xEnd, int yEnd) override;
    void DrawLine(int x1, int y1, int x2, int y2, int width) override;
    void DrawOval(int x, int y, int w, int h) override;
    void DrawPolyline(const KwPoint* points, int count) override;
    int DrawBezier(const KwPoint* points, int count) override;
    void DrawTextInRect(const KwString& text, const KwRect& rect, int format) override;
    void DrawString(const KwString& text, int x, int y) override;
    void PutPixel(int x, int y, const KwColor& color) override;
    void FillPie(int x, int y, int w, int h, int x1, int y1, int x2, int y2) override;
    void FillOval(int x, int y, int w, int h) override;
    void FillRectangle(int x, int y, int w, int h) override;
    void FillPolygon(const KwPoint* points, int count, int alternate) override;
    KwFont* GetFont() override;
    int SetFont(KwFont* font) override;
    KwColor* GetBackColor() override;
    KwColor* GetColor() override;
    KwColor* GetFillColor() override;
    void SetTransparentText(int transparent) override;
    void ClearRect(const KwRect& rect) override;
    void Clear() override;
    void DrawDisabledString(const KwString& text, int x, int y) override;
    void DrawFocusFrame(int x, int y, int w, int h, int thickness) override;
    KwSize GetTextExtent(const KwString& text) override;
    int GetFontHeight() override;

protected:
    // Selects the bitmap into the context and takes both as the surface of
    // the given size. They are deleted by the two operations below, or with
    // this object.
    void AttachSurface(HDC context, HBITMAP bitmap, int width, int height);
    // Selects the bitmap out of the context (so that it can be read or
    // deleted) and deletes it.
    void DeleteSurfaceBitmap();
    // Deletes the memory context.
    void DeleteSurfaceContext();
    // Fetches the surface's rows at 32 bits per pixel (the bitmap is
    // selected out of its context for the read and back in after); 0
    // without a surface or when the bitmap cannot be read in full.
    int ReadSurface(KwDibRows* rows);
    HDC GetSurfaceContext() const;
    HBITMAP GetSurfaceBitmap() const;
    // 1 when something was drawn since the last call; clears the mark.
    int TakeDrawnMark();

private:
    KwGdiGraphics(const KwGdiGraphics&) = delete;
    KwGdiGraphics& operator=(const KwGdiGraphics&) = delete;

    HDC BeginDrawing();
    // Runs one shape call on the context with the outline pen and the fill
    // brush selected; nothing without a surface.
    template <typename Shape>
    void FillShape(Shape shape);
    int BuildSourceRows(KwImage* image, int sx, int sy, int sw, int sh, int others,
                        KwDibRows* rows);
    int BlitTransparent(const KwDibRows& rows, int dx, int dy, int dw, int dh, COLORREF key);
    void FillArea(int left, int top, int right, int bottom);

    HDC m_hContext;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
    int m_nWidth;
    int m_nHeight;
    KwColor* m_pColor;
    KwColor* m_pBackColor;
    KwColor* m_pFillColor;
    KwFont* m_pFont;
    int m_bTransparentText;
    int m_bDrawn;
};

} // namespace KwSDK

#endif
