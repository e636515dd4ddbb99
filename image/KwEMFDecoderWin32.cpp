// Draws an enhanced metafile with GDI into a 24-bit top-down DIB section of
// the natural size, then reorders the rows to R, G, B.
#include "KwEMFDecoder.h"

#include <windows.h>

#include <cstring>

namespace KwSDK {

namespace {

// DIB rows are padded to 4 bytes.
int DibStride(int width)
{
    return (width * 3 + 3) / 4 * 4;
}

// Copies the B, G, R rows of the DIB into tight R, G, B rows.
void CopyRows(const unsigned char* bits, int width, int height, unsigned char* out)
{
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bits + static_cast<size_t>(y) * DibStride(width);
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
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    int ok = 0;
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(dc, bitmap);
        std::memset(bits, 0xFF, static_cast<size_t>(DibStride(width)) * height);
        RECT area = { 0, 0, width, height };
        ok = PlayEnhMetaFile(dc, metafile, &area) ? 1 : 0;
        GdiFlush();
        if (ok) {
            CopyRows(static_cast<unsigned char*>(bits), width, height, pixels->GetPointer(0));
            ReportProgress(height, height);
        }
        SelectObject(dc, previous);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    DeleteEnhMetaFile(metafile);
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

} // namespace KwSDK
