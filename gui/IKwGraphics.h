// The drawing interface through which components and images are painted.
#ifndef KWSDK_IKWGRAPHICS_H
#define KWSDK_IKWGRAPHICS_H

#include "KwColor.h"
#include "KwObject.h"
#include "KwPoint.h"
#include "KwRect.h"
#include "KwSize.h"
#include "KwString.h"

namespace KwSDK {

class KwFont;
class KwImage;

// Draw3DFrame styles.
const int KW_FRAME_SUNKEN = 1;
const int KW_FRAME_RAISED = 2;
const int KW_FRAME_ETCHED = 4;

// Every operation here does nothing and answers 0 (or an empty size); an
// implementation overrides what it can draw. The 3-D frames are built here
// on top of GetColor and DrawLine, so every implementation gets them.
//
// Colours are shared objects: GetColor, GetFillColor and GetBackColor hand
// out the very objects the graphics draws with (with one added reference),
// so a caller changes a colour by calling setters on the returned object.
// Rectangles of shapes run from (x, y) to (x + w, y + h) in the system's
// sense: right and bottom edges of filled shapes are exclusive.
class IKwGraphics : public virtual KwObject {
public:
    IKwGraphics();
    ~IKwGraphics() override;

    // Closed one-pixel outline through the four corners, both right and
    // bottom edges included, in the drawing colour.
    virtual void DrawRect(int x, int y, int w, int h);
    // Rounded rectangle: outline in the drawing colour, inside in the fill
    // colour.
    virtual void FillRoundRect(int x, int y, int w, int h, int cornerWidth, int cornerHeight);
    // Draws the source part of the image stretched onto the destination;
    // 1 when drawn.
    virtual int DrawImage(KwImage* image, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                          int dh);
    // The whole image stretched onto the destination.
    virtual int DrawImage(KwImage* image, int dx, int dy, int dw, int dh);
    // The whole image, unscaled.
    virtual int DrawImage(KwImage* image, int dx, int dy);
    // As DrawImage, leaving destination pixels alone where the source has
    // exactly the key colour.
    virtual int DrawImageTransparent(KwImage* image, int sx, int sy, int sw, int sh, int dx, int dy,
                                     int dw, int dh, const KwColor& key);
    // Elliptic arc in the box, counter-clockwise from the start radial to
    // the end radial, one pixel wide.
    virtual int DrawArc(int x, int y, int w, int h, int xStart, int yStart, int xEnd, int yEnd);
    // Solid line of the given width, end point excluded; nothing when the
    // width is not positive.
    virtual void DrawLine(int x1, int y1, int x2, int y2, int width);
    virtual void DrawOval(int x, int y, int w, int h);
    // Connects count points of the array in order; nothing for count <= 0.
    virtual void DrawPolyline(const KwPoint* points, int count);
    // Cubic Bezier chain through 1 + 3n points; 1 when drawn.
    virtual int DrawBezier(const KwPoint* points, int count);
    // Text formatted into the rectangle with the system's text-format flags,
    // in the drawing colour.
    virtual void DrawTextInRect(const KwString& text, const KwRect& rect, int format);
    // Text with its top-left corner at (x, y), in the drawing colour.
    virtual void DrawString(const KwString& text, int x, int y);
    virtual void PutPixel(int x, int y, const KwColor& color);
    virtual void FillPie(int x, int y, int w, int h, int x1, int y1, int x2, int y2);
    virtual void FillOval(int x, int y, int w, int h);
    // Rectangle (x, y)-(x + w, y + h), right and bottom exclusive: outline in
    // the drawing colour, inside in the fill colour.
    virtual void FillRectangle(int x, int y, int w, int h);
    // Filled polygon; alternate non-zero selects the alternate fill rule,
    // 0 the winding rule. Nothing for count <= 0.
    virtual void FillPolygon(const KwPoint* points, int count, int alternate);
    // The current font with one added reference, or null.
    virtual KwFont* GetFont();
    // Keeps the font with one reference, releasing the old one; 0 for null.
    virtual int SetFont(KwFont* font);
    virtual KwColor* GetBackColor();
    virtual KwColor* GetColor();
    virtual KwColor* GetFillColor();
    // Text background transparent (non-zero) or filled with the back colour.
    virtual void SetTransparentText(int transparent);
    // Fills (x, y)-(x + width, y + height), right and bottom exclusive, with
    // the back colour.
    virtual void ClearRect(const KwRect& rect);
    // Fills the whole surface with the back colour.
    virtual void Clear();
    // Text embossed in the system's disabled style, "&" prefixes shown as
    // underlines.
    virtual void DrawDisabledString(const KwString& text, int x, int y);
    // thickness nested dotted, inverting rectangles, each one pixel inside
    // the previous; nothing when thickness is not positive.
    virtual void DrawFocusFrame(int x, int y, int w, int h, int thickness);
    // Width and height of the text in the current font; (0, 0) when it
    // cannot be measured.
    virtual KwSize GetTextExtent(const KwString& text);
    // Character height of the surface's selected font; -1 when unavailable.
    virtual int GetFontHeight();
    // Kept for the slot layout: they take nothing and do nothing.
    virtual void Reserved30();
    virtual void Reserved31();
    virtual void Reserved32();
    virtual void Reserved33();
    virtual void Reserved34();
    // KW_FRAME_SUNKEN, KW_FRAME_RAISED or KW_FRAME_ETCHED; other styles draw
    // nothing.
    virtual void Draw3DFrame(int x, int y, int w, int h, int style);
    // Copies that area of the surface to the same area of its window.
    virtual void Present(int x, int y, int w, int h);
    // The 3-D frames cover (x, y)-(x + w, y + h) with both right and bottom
    // edges included; the drawing colour is restored afterwards.
    virtual void DrawSunkenFrame(int x, int y, int w, int h);
    virtual void DrawRaisedFrame(int x, int y, int w, int h);
    virtual void DrawEtchedFrame(int x, int y, int w, int h);

private:
    IKwGraphics(const IKwGraphics&) = delete;
    IKwGraphics& operator=(const IKwGraphics&) = delete;

    void DrawLineIn(KwColor* color, unsigned int argb, int x1, int y1, int x2, int y2);
};

} // namespace KwSDK

#endif
