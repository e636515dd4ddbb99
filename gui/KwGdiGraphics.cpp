// IKwGraphics on a GDI memory device context: the drawing shared by the
// component buffers and the image surfaces.
#include "KwGdiGraphics.h"

#include "KwDibRows.h"
#include "KwFont.h"
#include "KwFontMapping.h"
#include "KwImage.h"

#include <new>

namespace KwSDK {

namespace {

COLORREF ToGdi(const KwColor* color)
{
    if (color == nullptr) {
        return RGB(0, 0, 0);
    }
    return RGB(color->GetRed(), color->GetGreen(), color->GetBlue());
}

KwColor* NewColor()
{
    KwColor* color = new (std::nothrow) KwColor();
    if (color != nullptr) {
        color->AddRef();
    }
    return color;
}

// An absent text is drawn as nothing.
const char* TextOf(const KwString& text)
{
    return text.GetText() != nullptr ? text.GetText() : "";
}

// Points of the toolkit as system points; null for no points or no memory.
POINT* ToSystemPoints(const KwPoint* points, int count)
{
    if (points == nullptr || count <= 0) {
        return nullptr;
    }
    POINT* result = new (std::nothrow) POINT[static_cast<size_t>(count)];
    if (result == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < count; ++i) {
        result[i].x = points[i].GetX();
        result[i].y = points[i].GetY();
    }
    return result;
}

// One operation's hold on a context: saves its state, selects the pen, brush
// and font the operation makes, and on leaving puts the context's own objects
// back, restores the state and deletes what it made, so that nothing
// outlives the call.
class GdiState {
public:
    explicit GdiState(HDC context)
        : m_hContext(context), m_nSaved(context != nullptr ? SaveDC(context) : 0), m_nKept(0)
    {
    }

    ~GdiState()
    {
        // A selected object cannot be deleted: the originals go back first.
        for (int i = m_nKept - 1; i >= 0; --i) {
            SelectObject(m_hContext, m_hOriginal[i]);
        }
        if (m_nSaved != 0) {
            RestoreDC(m_hContext, m_nSaved);
        }
        for (int i = 0; i < m_nKept; ++i) {
            DeleteObject(m_hMade[i]);
        }
    }

    void UsePen(COLORREF color, int width)
    {
        Select(CreatePen(PS_SOLID, width, color));
    }

    HBRUSH UseBrush(COLORREF color)
    {
        HBRUSH brush = CreateSolidBrush(color);
        Select(brush);
        return brush;
    }

    void UseFont(const KwFont* font)
    {
        Select(CreateGdiFont(font));
    }

private:
    GdiState(const GdiState&) = delete;
    GdiState& operator=(const GdiState&) = delete;

    void Select(HGDIOBJ made)
    {
        if (made == nullptr) {
            return;
        }
        if (m_nKept == kMaxObjects) {
            DeleteObject(made);
            return;
        }
        m_hMade[m_nKept] = made;
        m_hOriginal[m_nKept] = SelectObject(m_hContext, made);
        ++m_nKept;
    }

    static const int kMaxObjects = 3;
    HDC m_hContext;
    int m_nSaved;
    int m_nKept;
    HGDIOBJ m_hMade[kMaxObjects];
    HGDIOBJ m_hOriginal[kMaxObjects];
};

} // namespace

KwGdiGraphics::KwGdiGraphics()
    : m_hContext(nullptr), m_hBitmap(nullptr), m_hOldBitmap(nullptr), m_nWidth(0), m_nHeight(0),
      m_pColor(NewColor()), m_pBackColor(NewColor()), m_pFillColor(NewColor()),
      m_pFont(GetDefaultFont()), m_bTransparentText(0), m_bDrawn(0)
{
    AppendTypeName("KwGdiGraphics");
}

KwGdiGraphics::~KwGdiGraphics()
{
    DeleteSurfaceBitmap();
    DeleteSurfaceContext();
    KwObject* held[] = {m_pColor, m_pBackColor, m_pFillColor, m_pFont};
    for (KwObject* object : held) {
        if (object != nullptr) {
            object->Release();
        }
    }
}

void KwGdiGraphics::AttachSurface(HDC context, HBITMAP bitmap, int width, int height)
{
    m_hContext = context;
    m_hBitmap = bitmap;
    m_hOldBitmap = context != nullptr && bitmap != nullptr ? SelectObject(context, bitmap) : nullptr;
    m_nWidth = width;
    m_nHeight = height;
}

void KwGdiGraphics::DeleteSurfaceBitmap()
{
    if (m_hContext != nullptr && m_hOldBitmap != nullptr) {
        SelectObject(m_hContext, m_hOldBitmap);
    }
    if (m_hBitmap != nullptr) {
        DeleteObject(m_hBitmap);
    }
    m_hBitmap = nullptr;
    m_hOldBitmap = nullptr;
}

void KwGdiGraphics::DeleteSurfaceContext()
{
    if (m_hContext != nullptr) {
        DeleteDC(m_hContext);
    }
    m_hContext = nullptr;
    m_hOldBitmap = nullptr;
}

// The system reads a bitmap reliably only while no context holds it.
int KwGdiGraphics::ReadSurface(KwDibRows* rows)
{
    if (m_hContext == nullptr || m_hBitmap == nullptr || rows == nullptr) {
        return 0;
    }
    if (m_hOldBitmap != nullptr) {
        SelectObject(m_hContext, m_hOldBitmap);
    }
    int read = rows->FromBitmap(m_hContext, m_hBitmap);
    SelectObject(m_hContext, m_hBitmap);
    return read;
}

HDC KwGdiGraphics::GetSurfaceContext() const
{
    return m_hContext;
}

HBITMAP KwGdiGraphics::GetSurfaceBitmap() const
{
    return m_hBitmap;
}

int KwGdiGraphics::TakeDrawnMark()
{
    int drawn = m_bDrawn;
    m_bDrawn = 0;
    return drawn;
}

// The context to draw on, null without a surface; marks the surface as
// drawn on, which tells an image surface to write its pixels back.
HDC KwGdiGraphics::BeginDrawing()
{
    if (m_hContext == nullptr || m_hBitmap == nullptr) {
        return nullptr;
    }
    m_bDrawn = 1;
    return m_hContext;
}

void KwGdiGraphics::DrawRect(int x, int y, int w, int h)
{
    HDC context = BeginDrawing();
    if (context == nullptr) {
        return;
    }
    GdiState state(context);
    state.UsePen(ToGdi(m_pColor), 1);
    POINT corners[5] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}};
    Polyline(context, corners, 5);
}

template <typename Shape>
void KwGdiGraphics::FillShape(Shape shape)
{
    HDC context = BeginDrawing();
    if (context == nullptr) {
        return;
    }
    GdiState state(context);
    state.UsePen(ToGdi(m_pColor), 1);
    state.UseBrush(ToGdi(m_pFillColor));
    shape(context);
}

void KwGdiGraphics::FillRoundRect(int x, int y, int w, int h, int cornerWidth, int cornerHeight)
{
    FillShape([=](HDC context) { RoundRect(context, x, y, x + w, y + h, cornerWidth, cornerHeight); });
}

// The source is clipped to the image's right and bottom edges. A source
// starting left of or above the image is refused: the region handed out
// would be narrower than the rows read from it.
int KwGdiGraphics::BuildSourceRows(KwImage* image, int sx, int sy, int sw, int sh, int others,
                                   KwDibRows* rows)
{
    if (image == nullptr) {
        return 0;
    }
    int width = image->GetWidth();
    int height = image->GetHeight();
    if (static_cast<long long>(sx) + sw > width) {
        sw = width - sx;
    }
    if (static_cast<long long>(sy) + sh > height) {
        sh = height - sy;
    }
    int format = image->GetFormat();
    if (sx < 0 || sy < 0 || sw <= 0 || sh <= 0 || !KwDibRows::BytesPerPixelFor(format, others)) {
        return 0;
    }
    KwBuffer* region = image->GetRegion(sx, sy, sx + sw, sy + sh);
    if (region == nullptr) {
        return 0;
    }
    int built = rows->FromPixels(region->GetPointer(0), region->GetSize(), format, sw, sh, others);
    region->Release();
    return built;
}

int KwGdiGraphics::DrawImage(KwImage* image, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                             int dh)
{
    KwDibRows rows;
    if (m_hContext == nullptr || m_hBitmap == nullptr ||
        !BuildSourceRows(image, sx, sy, sw, sh, 0, &rows)) {
        return 0;
    }
    HDC context = BeginDrawing();
    GdiState state(context);
    SetStretchBltMode(context, COLORONCOLOR);
    int lines = StretchDIBits(context, dx, dy, dw, dh, 0, 0, rows.GetWidth(), rows.GetHeight(),
                              rows.GetBits(), rows.GetInfo(), DIB_RGB_COLORS, SRCCOPY);
    return lines > 0 ? 1 : 0;
}

int KwGdiGraphics::DrawImage(KwImage* image, int dx, int dy, int dw, int dh)
{
    if (image == nullptr) {
        return 0;
    }
    return DrawImage(image, 0, 0, image->GetWidth(), image->GetHeight(), dx, dy, dw, dh);
}

int KwGdiGraphics::DrawImage(KwImage* image, int dx, int dy)
{
    if (image == nullptr) {
        return 0;
    }
    int width = image->GetWidth();
    int height = image->GetHeight();
    return DrawImage(image, 0, 0, width, height, dx, dy, width, height);
}

int KwGdiGraphics::DrawImageTransparent(KwImage* image, int sx, int sy, int sw, int sh, int dx,
                                        int dy, int dw, int dh, const KwColor& key)
{
    KwDibRows rows;
    if (m_hContext == nullptr || m_hBitmap == nullptr ||
        !BuildSourceRows(image, sx, sy, sw, sh, 1, &rows)) {
        return 0;
    }
    return BlitTransparent(rows, dx, dy, dw, dh, ToGdi(&key));
}

// The rows go 1:1 into a bitmap like the surface's first, because the
// colour-keyed transfer works between two contexts only.
int KwGdiGraphics::BlitTransparent(const KwDibRows& rows, int dx, int dy, int dw, int dh,
                                   COLORREF key)
{
    HDC context = BeginDrawing();
    int width = rows.GetWidth();
    int height = rows.GetHeight();
    HDC source = CreateCompatibleDC(context);
    HBITMAP bitmap = source != nullptr ? CreateCompatibleBitmap(context, width, height) : nullptr;
    if (bitmap == nullptr) {
        if (source != nullptr) {
            DeleteDC(source);
        }
        return 0;
    }
    HGDIOBJ old = SelectObject(source, bitmap);
    StretchDIBits(source, 0, 0, width, height, 0, 0, width, height, rows.GetBits(), rows.GetInfo(),
                  DIB_RGB_COLORS, SRCCOPY);
    BOOL copied;
    {
        GdiState state(context);
        copied = GdiTransparentBlt(context, dx, dy, dw, dh, source, 0, 0, width, height, key);
    }
    SelectObject(source, old);
    DeleteObject(bitmap);
    DeleteDC(source);
    return copied ? 1 : 0;
}

int KwGdiGraphics::DrawArc(int x, int y, int w, int h, int xStart, int yStart, int xEnd, int yEnd)
{
    HDC context = BeginDrawing();
    if (context == nullptr) {
        return 0;
    }
    GdiState state(context);
    state.UsePen(ToGdi(m_pColor), 1);
    SetArcDirection(context, AD_COUNTERCLOCKWISE);
    return Arc(context, x, y, x + w, y + h, xStart, yStart, xEnd, yEnd) ? 1 : 0;
}

void KwGdiGraphics::DrawLine(int x1, int y1, int x2, int y2, int width)
{
    HDC context = width > 0 ? BeginDrawing() : nullptr;
    if (context == nullptr) {
        return;
    }
    GdiState state(context);
    state.UsePen(ToGdi(m_pColor), width);
    MoveToEx(context, x1, y1, nullptr);
    LineTo(context, x2, y2);
}

// An arc whose start and end radials coincide is the whole ellipse.
void KwGdiGraphics::DrawOval(int x, int y, int w, int h)
{
    DrawArc(x, y, w, h, x, y, x, y);
}

void KwGdiGraphics::DrawPolyline(const KwPoint* points, int count)
{
    HDC context = count > 0 && points != nullptr ? BeginDrawing() : nullptr;
    POINT* corners = context != nullptr ? ToSystemPoints(points, count) : nullptr;
    if (corners == nullptr) {
        return;
    }
    {
        GdiState state(context);
        state.UsePen(ToGdi(m_pColor), 1);
        Polyline(context, corners, count);
    }
    delete[] corners;
}

int KwGdiGraphics::DrawBezier(const KwPoint* points, int count)
{
    HDC context = count > 0 && points != nullptr ? BeginDrawing() : nullptr;
    POINT* corners = context != nullptr ? ToSystemPoints(points, count) : nullptr;
    if (corners == nullptr) {
        return 0;
    }
    BOOL drawn;
    {
        GdiState state(context);
        state.UsePen(ToGdi(m_pColor), 1);
        drawn = PolyBezier(context, corners, static_cast<DWORD>(count));
    }
    delete[] corners;
    return drawn ? 1 : 0;
}

// The system may write a shortened text back into the caller's buffer when
// asked to; the text here is borrowed and read-only, so that flag is dropped.
void KwGdiGraphics::DrawTextInRect(const KwString& text, const KwRect& rect, int format)
{
    HDC context = BeginDrawing();
    if (context == nullptr) {
        return;
    }
    GdiState state(context);
    state.UseFont(m_pFont);
    SetTextColor(context, ToGdi(m_pColor));
    SetBkColor(context, ToGdi(m_pBackColor));
    SetBkMode(context, m_bTransparentText ? TRANSPARENT : OPAQUE);
    RECT box = {rect.GetX(), rect.GetY(), rect.GetX() + rect.GetWidth(),
                rect.GetY() + rect.GetHeight()};
    DrawTextA(context, TextOf(text), text.GetLength(), &box,
              static_cast<UINT>(format) & ~static_cast<UINT>(DT_MODIFYSTRING));
}

void KwGdiGraphics::DrawString(const KwString& text, int x, int y)
{
    HDC context = BeginDrawing();
    if (context == nullptr) {
        return;
    }
    GdiState state(context);
    state.UseFont(m_pFont);
    SetTextColor(context, ToGdi(m_pColor));
    SetBkColor(context, ToGdi(m_pBackColor));
    SetBkMode(context, m_bTransparentText ? TRANSPARENT : OPAQUE);
    TextOutA(context, x, y, TextOf(text), text.GetLength());
}

void KwGdiGraphics::PutPixel(int x, int y, const KwColor& color)
{
    HDC context = BeginDrawing();
    if (context != nullptr) {
        SetPixelV(context, x, y, ToGdi(&color));
    }
}

void KwGdiGraphics::FillPie(int x, int y, int w, int h, int x1, int y1, int x2, int y2)
{
    FillShape([=](HDC context) { Pie(context, x, y, x + w, y + h, x1, y1, x2, y2); });
}

void KwGdiGraphics::FillOval(int x, int y, int w, int h)
{
    FillShape([=](HDC context) { Ellipse(context, x, y, x + w, y + h); });
}

void KwGdiGraphics::FillRectangle(int x, int y, int w, int h)
{
    FillShape([=](HDC context) { Rectangle(context, x, y, x + w, y + h); });
}

void KwGdiGraphics::FillPolygon(const KwPoint* points, int count, int alternate)
{
    HDC context = count > 0 && points != nullptr ? BeginDrawing() : nullptr;
    POINT* corners = context != nullptr ? ToSystemPoints(points, count) : nullptr;
    if (corners == nullptr) {
        return;
    }
    {
        GdiState state(context);
        state.UsePen(ToGdi(m_pColor), 1);
        state.UseBrush(ToGdi(m_pFillColor));
        SetPolyFillMode(context, alternate ? ALTERNATE : WINDING);
        Polygon(context, corners, count);
    }
    delete[] corners;
}

KwFont* KwGdiGraphics::GetFont()
{
    if (m_pFont != nullptr) {
        m_pFont->AddRef();
    }
    return m_pFont;
}

// The new font is counted before the old one is released, so that setting
// the current font again cannot free it.
int KwGdiGraphics::SetFont(KwFont* font)
{
    if (font == nullptr) {
        return 0;
    }
    font->AddRef();
    if (m_pFont != nullptr) {
        m_pFont->Release();
    }
    m_pFont = font;
    return 1;
}

KwColor* KwGdiGraphics::GetBackColor()
{
    if (m_pBackColor != nullptr) {
        m_pBackColor->AddRef();
    }
    return m_pBackColor;
}

KwColor* KwGdiGraphics::GetColor()
{
    if (m_pColor != nullptr) {
        m_pColor->AddRef();
    }
    return m_pColor;
}

KwColor* KwGdiGraphics::GetFillColor()
{
    if (m_pFillColor != nullptr) {
        m_pFillColor->AddRef();
    }
    return m_pFillColor;
}

void KwGdiGraphics::SetTransparentText(int transparent)
{
    m_bTransparentText = transparent;
}

void KwGdiGraphics::FillArea(int left, int top, int right, int bottom)
{
    HDC context = BeginDrawing();
    if (context == nullptr) {
        return;
    }
    GdiState state(context);
    HBRUSH brush = state.UseBrush(ToGdi(m_pBackColor));
    RECT area = {left, top, right, bottom};
    if (brush != nullptr) {
        FillRect(context, &area, brush);
    }
}

void KwGdiGraphics::ClearRect(const KwRect& rect)
{
    FillArea(rect.GetX(), rect.GetY(), rect.GetX() + rect.GetWidth(),
             rect.GetY() + rect.GetHeight());
}

void KwGdiGraphics::Clear()
{
    FillArea(0, 0, m_nWidth, m_nHeight);
}

// The system draws the embossed text in its own highlight and shadow
// colours, so the drawing colour plays no part here.
void KwGdiGraphics::DrawDisabledString(const KwString& text, int x, int y)
{
    HDC context = BeginDrawing();
    if (context == nullptr) {
        return;
    }
    GdiState state(context);
    state.UseFont(m_pFont);
    DrawStateA(context, nullptr, nullptr, reinterpret_cast<LPARAM>(TextOf(text)),
               static_cast<WPARAM>(text.GetLength()), x, y, 0, 0, DST_PREFIXTEXT | DSS_DISABLED);
}

void KwGdiGraphics::DrawFocusFrame(int x, int y, int w, int h, int thickness)
{
    HDC context = thickness > 0 ? BeginDrawing() : nullptr;
    if (context == nullptr) {
        return;
    }
    GdiState state(context);
    RECT frame = {x, y, x + w, y + h};
    for (int i = 0; i < thickness; ++i) {
        DrawFocusRect(context, &frame);
        InflateRect(&frame, -1, -1);
    }
}

KwSize KwGdiGraphics::GetTextExtent(const KwString& text)
{
    if (m_hContext == nullptr) {
        return KwSize();
    }
    GdiState state(m_hContext);
    state.UseFont(m_pFont);
    SIZE extent;
    if (!GetTextExtentPoint32A(m_hContext, TextOf(text), text.GetLength(), &extent)) {
        return KwSize();
    }
    return KwSize(extent.cx, extent.cy);
}

int KwGdiGraphics::GetFontHeight()
{
    TEXTMETRICA metrics;
    if (m_hContext == nullptr || !GetTextMetricsA(m_hContext, &metrics)) {
        return -1;
    }
    return metrics.tmHeight;
}

} // namespace KwSDK
