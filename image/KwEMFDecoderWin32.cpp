// Draws an enhanced metafile with GDI into a 24-bit top-down DIB section of
// the natural size, then reorders the rows to R, G, B.
#include "KwEMFDecoder.h"
#include "KwGdiSurface.h"

namespace KwSDK {

namespace {

// Copies the B, G, R rows of the DIB into tight R, G, B rows.
void CopyRows(const KwGdiSurface& surface, int width, int height, unsigned char* out)
{
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = surface.GetBits() + static_cast<size_t>(y) * surface.GetStride();
        unsigned char* target = out + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            target[x * 3] = row[x * 3 + 2];
            target[x * 3 + 1] = row[x * 3 + 1];
            target[x * 3 + 2] = row[x * 3];
        }
    }
}

} // namespace

int KwEMFDecoder::Render(KwBuffer* file, KwBuffer* pixels)
{
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(file->GetSize()), file->GetPointer(0));
    if (metafile == nullptr) {
        return Fail(KW_CODER_BAD_DATA);
    }
    int width = GetWidth();
    int height = GetHeight();
    int ok = 0;
    {
        KwGdiSurface surface;
        // The drawing surface is a second picture of about the same size.
        long long surfaceBytes = static_cast<long long>((width * 3 + 3) / 4 * 4) * height;
        if (ReserveBytes(surfaceBytes) && surface.Open(width, height, 24)) {
            RECT area = { 0, 0, width, height };
            ok = PlayEnhMetaFile(surface.GetHandle(), metafile, &area) ? 1 : 0;
            GdiFlush();
            if (ok) {
                CopyRows(surface, width, height, pixels->GetPointer(0));
                ReportProgress(height, height);
            }
        }
    }
    DeleteEnhMetaFile(metafile);
    return ok ? 1 : Fail(GetErrorCode() != 0 ? GetErrorCode() : KW_CODER_BAD_DATA);
}

} // namespace KwSDK
