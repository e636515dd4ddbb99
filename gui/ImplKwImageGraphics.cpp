// The drawing surface of a KwImage: the image's pixels in a memory bitmap,
// drawn on through IKwGraphics and written back into the image's format.
#include "ImplKwImageGraphics.h"

#include "KwBuffer.h"
#include "KwDibRows.h"
#include "KwImage.h"
#include "KwImageFormat.h"

#include <new>

namespace KwSDK {

namespace {

const unsigned char kOpaque = 0xFF;

ImplKwImageGraphics* SurfaceOf(IKwGraphics* graphics)
{
    return static_cast<ImplKwImageGraphics*>(graphics);
}

IKwGraphics* CreateSurface(KwImage* image)
{
    ImplKwImageGraphics* surface = new (std::nothrow) ImplKwImageGraphics();
    if (surface == nullptr) {
        return nullptr;
    }
    surface->AddRef();
    if (!surface->Load(image)) {
        surface->Release();
        return nullptr;
    }
    return surface;
}

void ReloadSurface(IKwGraphics* graphics, KwImage* image)
{
    if (graphics != nullptr) {
        SurfaceOf(graphics)->Load(image);
    }
}

void WriteBackSurface(IKwGraphics* graphics, KwImage*)
{
    if (graphics != nullptr) {
        SurfaceOf(graphics)->WriteBack();
    }
}

void DropSurface(IKwGraphics* graphics)
{
    if (graphics != nullptr) {
        graphics->Release();
    }
}

// Constant data: registering it runs no code before main.
const KWIMAGEGRAPHICSHOOKS kSurfaceHooks = {CreateSurface, ReloadSurface, WriteBackSurface,
                                            DropSurface};

// Writes a surface pixel (blue, green, red) into an image pixel whose bytes
// lie at the given offsets; alpha -1 means the format has none. The surface
// holds no alpha, so a pixel the drawing changed becomes opaque, while an
// untouched one keeps the alpha it had.
void StorePixel(const unsigned char* bgr, unsigned char* target, int red, int green, int blue,
                int alpha)
{
    bool changed = target[red] != bgr[2] || target[green] != bgr[1] || target[blue] != bgr[0];
    target[red] = bgr[2];
    target[green] = bgr[1];
    target[blue] = bgr[0];
    if (alpha >= 0 && changed) {
        target[alpha] = kOpaque;
    }
}

} // namespace

ImplKwImageGraphics::ImplKwImageGraphics()
    : m_pPixels(nullptr), m_nFormat(KW_FORMAT_NONE), m_nImageWidth(0), m_nImageHeight(0)
{
    AppendTypeName("ImplKwImageGraphics");
}

ImplKwImageGraphics::~ImplKwImageGraphics()
{
    ReleaseSurface();
}

void ImplKwImageGraphics::InstallHooks()
{
    KwImage::SetGraphicsHooks(&kSurfaceHooks);
}

void ImplKwImageGraphics::ReleaseSurface()
{
    DeleteSurfaceBitmap();
    DeleteSurfaceContext();
    if (m_pPixels != nullptr) {
        m_pPixels->Release();
    }
    m_pPixels = nullptr;
    m_nFormat = KW_FORMAT_NONE;
    m_nImageWidth = 0;
    m_nImageHeight = 0;
}

// The rows are set into the bitmap before it is selected anywhere, as the
// system requires.
int ImplKwImageGraphics::MakeSurface(const KwDibRows& rows)
{
    int width = rows.GetWidth();
    int height = rows.GetHeight();
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return 0;
    }
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = memory != nullptr ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr ||
        SetDIBits(memory, bitmap, 0, static_cast<UINT>(height), rows.GetBits(), rows.GetInfo(),
                  DIB_RGB_COLORS) != height) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        if (memory != nullptr) {
            DeleteDC(memory);
        }
        return 0;
    }
    AttachSurface(memory, bitmap, width, height);
    return 1;
}

int ImplKwImageGraphics::Load(KwImage* image)
{
    ReleaseSurface();
    TakeDrawnMark();
    KwBuffer* pixels = image != nullptr ? image->GetPixels() : nullptr;
    if (pixels == nullptr) {
        return 0;
    }
    KwDibRows rows;
    int format = image->GetFormat();
    if (!rows.FromPixels(pixels->GetPointer(0), pixels->GetSize(), format, image->GetWidth(),
                         image->GetHeight(), 0) ||
        !MakeSurface(rows)) {
        pixels->Release();
        return 0;
    }
    m_pPixels = pixels;
    m_nFormat = format;
    m_nImageWidth = image->GetWidth();
    m_nImageHeight = image->GetHeight();
    return 1;
}

void ImplKwImageGraphics::StoreRow(const unsigned char* source, unsigned char* target) const
{
    int step = KwDibRows::BytesPerPixelFor(m_nFormat, 0);
    for (int x = 0; x < m_nImageWidth; ++x, source += 4, target += step) {
        switch (m_nFormat) {
        case KW_FORMAT_RGB:
            StorePixel(source, target, 0, 1, 2, -1);
            break;
        case KW_FORMAT_ARGB:
            StorePixel(source, target, 1, 2, 3, 0);
            break;
        case KW_FORMAT_BGR:
            StorePixel(source, target, 2, 1, 0, -1);
            break;
        default:
            StorePixel(source, target, 2, 1, 0, 3);
            break;
        }
    }
}

int ImplKwImageGraphics::WriteBack()
{
    if (!TakeDrawnMark()) {
        return 0;
    }
    KwDibRows rows;
    int step = KwDibRows::BytesPerPixelFor(m_nFormat, 0);
    int needed = 0;
    if (m_pPixels == nullptr || !ReadSurface(&rows) || rows.GetWidth() != m_nImageWidth ||
        rows.GetHeight() != m_nImageHeight ||
        !KwImageByteCount(m_nImageWidth, m_nImageHeight, step, &needed) ||
        m_pPixels->GetSize() < needed) {
        return 0;
    }
    int stride = m_nImageWidth * step;
    for (int y = 0; y < m_nImageHeight; ++y) {
        StoreRow(rows.GetRow(y), m_pPixels->GetPointer(y * stride));
    }
    return 1;
}

} // namespace KwSDK
