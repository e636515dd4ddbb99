// A white top-down DIB section selected into a memory device context.
#include "KwGdiSurface.h"

#include <cstring>

namespace KwSDK {

KwGdiSurface::KwGdiSurface() : m_hDC(nullptr), m_hBitmap(nullptr), m_hPrevious(nullptr), m_pBits(nullptr), m_nStride(0)
{
}

KwGdiSurface::~KwGdiSurface()
{
    if (m_hPrevious != nullptr) {
        SelectObject(m_hDC, m_hPrevious);
    }
    if (m_hBitmap != nullptr) {
        DeleteObject(m_hBitmap);
    }
    if (m_hDC != nullptr) {
        DeleteDC(m_hDC);
    }
}

int KwGdiSurface::Open(int width, int height, int bitCount)
{
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_hDC = CreateCompatibleDC(nullptr);
    m_hBitmap = m_hDC ? CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    m_pBits = static_cast<unsigned char*>(bits);
    // DIB rows are padded to 4 bytes.
    m_nStride = (width * (bitCount / 8) + 3) / 4 * 4;
    if (m_hBitmap == nullptr || bits == nullptr) {
        return 0;
    }
    m_hPrevious = SelectObject(m_hDC, m_hBitmap);
    std::memset(bits, 0xFF, static_cast<size_t>(m_nStride) * height);
    return 1;
}

HDC KwGdiSurface::GetHandle() const { return m_hDC; }

unsigned char* KwGdiSurface::GetBits() const { return m_pBits; }

int KwGdiSurface::GetStride() const { return m_nStride; }

} // namespace KwSDK
