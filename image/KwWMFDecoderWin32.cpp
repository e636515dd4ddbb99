// Draws a placeable metafile with GDI: the records are played into a 32-bit
// top-down DIB section whose mapping turns the file's bounding box into the
// natural size.
#include "KwGdiSurface.h"
#include "KwWMFDecoder.h"

#include <cstring>

namespace KwSDK {

int KwWMFDecoder::Render(KwBuffer* records, KwBuffer* pixels)
{
    HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(records->GetSize()), records->GetPointer(0));
    if (metafile == nullptr) {
        return Fail(KW_CODER_BAD_DATA);
    }
    int width = GetWidth();
    int height = GetHeight();
    KwGdiSurface surface;
    // The drawing surface is a second picture of the same size.
    int ok = ReserveBytes(static_cast<long long>(width) * height * 4) && surface.Open(width, height, 32);
    HDC dc = surface.GetHandle();
    if (ok) {
        // The file's own window records keep working: they change the window,
        // and the viewport stays the whole bitmap.
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowOrgEx(dc, GetBoxLeft(), GetBoxTop(), nullptr);
        SetWindowExtEx(dc, GetBoxRight() - GetBoxLeft(), GetBoxBottom() - GetBoxTop(), nullptr);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        SetViewportExtEx(dc, width, height, nullptr);
        ok = PlayMetaFile(dc, metafile) ? 1 : 0;
        GdiFlush();
    }
    if (ok) {
        // GDI leaves the fourth byte of a 32-bit DIB undefined: the picture is opaque.
        unsigned char* out = pixels->GetPointer(0);
        size_t count = static_cast<size_t>(width) * height;
        std::memcpy(out, surface.GetBits(), count * 4);
        for (size_t i = 0; i < count; ++i) {
            out[i * 4 + 3] = 255;
        }
        ReportProgress(height, height);
    }
    DeleteMetaFile(metafile);
    return ok ? 1 : Fail(GetErrorCode() != 0 ? GetErrorCode() : KW_CODER_BAD_DATA);
}

} // namespace KwSDK
