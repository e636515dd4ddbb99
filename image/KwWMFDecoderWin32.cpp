// Draws a placeable metafile with GDI: the records are played into a 32-bit
// top-down DIB section whose mapping turns the file's bounding box into the
// natural size.
#include "KwWMFDecoder.h"

#include <windows.h>

#include <cstring>

namespace KwSDK {

namespace {

// A memory device context with a white 32-bit top-down DIB section selected.
struct Surface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    unsigned char* bits;
};

int OpenSurface(Surface* surface, int width, int height)
{
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    surface->dc = CreateCompatibleDC(nullptr);
    surface->bitmap = surface->dc ? CreateDIBSection(surface->dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                                  : nullptr;
    surface->previous = nullptr;
    surface->bits = static_cast<unsigned char*>(bits);
    if (surface->bitmap == nullptr || bits == nullptr) {
        return 0;
    }
    surface->previous = SelectObject(surface->dc, surface->bitmap);
    std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
    return 1;
}

void CloseSurface(Surface* surface)
{
    if (surface->previous != nullptr) {
        SelectObject(surface->dc, surface->previous);
    }
    if (surface->bitmap != nullptr) {
        DeleteObject(surface->bitmap);
    }
    if (surface->dc != nullptr) {
        DeleteDC(surface->dc);
    }
}

} // namespace

int KwWMFDecoder::Render(KwBuffer* records, KwBuffer* pixels)
{
    HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(records->GetSize()), records->GetPointer(0));
    if (metafile == nullptr) {
        return Fail(KW_CODER_BAD_DATA);
    }
    int width = GetWidth();
    int height = GetHeight();
    Surface surface;
    int ok = OpenSurface(&surface, width, height);
    if (ok) {
        // The file's own window records keep working: they change the window,
        // and the viewport stays the whole bitmap.
        SetMapMode(surface.dc, MM_ANISOTROPIC);
        SetWindowOrgEx(surface.dc, GetBoxLeft(), GetBoxTop(), nullptr);
        SetWindowExtEx(surface.dc, GetBoxRight() - GetBoxLeft(), GetBoxBottom() - GetBoxTop(), nullptr);
        SetViewportOrgEx(surface.dc, 0, 0, nullptr);
        SetViewportExtEx(surface.dc, width, height, nullptr);
        ok = PlayMetaFile(surface.dc, metafile) ? 1 : 0;
        GdiFlush();
    }
    if (ok) {
        // GDI leaves the fourth byte of a 32-bit DIB undefined: the picture is opaque.
        unsigned char* out = pixels->GetPointer(0);
        size_t count = static_cast<size_t>(width) * height;
        std::memcpy(out, surface.bits, count * 4);
        for (size_t i = 0; i < count; ++i) {
            out[i * 4 + 3] = 255;
        }
        ReportProgress(height, height);
    }
    CloseSurface(&surface);
    DeleteMetaFile(metafile);
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

} // namespace KwSDK
