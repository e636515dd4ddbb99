// Pixel rows in the layout the system's device-independent bitmaps use.
#include "KwDibRows.h"

#include "KwImageFormat.h"

#include <cstring>
#include <new>

namespace KwSDK {

namespace {

const int kFetchBytesPerPixel = 4;

} // namespace

KwDibRows::KwDibRows() : m_pBits(nullptr), m_nStride(0), m_bTopDown(1)
{
    AppendTypeName("KwDibRows");
    std::memset(&m_info, 0, sizeof m_info);
}

KwDibRows::~KwDibRows()
{
    Free();
}

int KwDibRows::BytesPerPixelFor(int format, int others)
{
    switch (format) {
    case KW_FORMAT_RGB:
    case KW_FORMAT_BGR:
        return 3;
    case KW_FORMAT_ARGB:
    case KW_FORMAT_BGRA:
        return 4;
    default:
        break;
    }
    int bytes = others ? KwBytesPerPixel(format) : 0;
    return bytes == 3 || bytes == 4 ? bytes : 0;
}

void KwDibRows::Free()
{
    delete[] m_pBits;
    m_pBits = nullptr;
    m_nStride = 0;
    std::memset(&m_info, 0, sizeof m_info);
}

// Rows are padded to 4 bytes; the whole block stays within the largest
// picture the image library accepts, so no size computation can wrap.
int KwDibRows::Allocate(int width, int height, int bytesPerPixel, int topDown)
{
    Free();
    if (width <= 0 || height <= 0 || width > KW_IMAGE_MAX_SIDE || height > KW_IMAGE_MAX_SIDE) {
        return 0;
    }
    long long stride = (static_cast<long long>(width) * bytesPerPixel + 3) / 4 * 4;
    if (stride * height > KW_IMAGE_MAX_BYTES) {
        return 0;
    }
    m_pBits = new (std::nothrow) unsigned char[static_cast<size_t>(stride * height)];
    if (m_pBits == nullptr) {
        return 0;
    }
    m_nStride = static_cast<int>(stride);
    m_bTopDown = topDown;
    BITMAPINFOHEADER& header = m_info.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = topDown ? -height : height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bytesPerPixel * 8);
    header.biCompression = BI_RGB;
    return 1;
}

// Padding bytes are zeroed so that no uninitialised memory reaches the system.
void KwDibRows::ConvertRow(const unsigned char* source, unsigned char* target, int format) const
{
    int width = GetWidth();
    int bytes = GetBytesPerPixel();
    std::memset(target + width * bytes, 0, static_cast<size_t>(m_nStride - width * bytes));
    if (format == KW_FORMAT_RGB) {
        for (int i = 0; i < width; ++i, source += 3, target += 3) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
    } else if (format == KW_FORMAT_ARGB) {
        for (int i = 0; i < width; ++i, source += 4, target += 4) {
            target[0] = source[3];
            target[1] = source[2];
            target[2] = source[1];
            target[3] = source[0];
        }
    } else {
        std::memcpy(target, source, static_cast<size_t>(width * bytes));
    }
}

int KwDibRows::FromPixels(const unsigned char* pixels, int size, int format, int width, int height,
                          int others)
{
    int bytes = BytesPerPixelFor(format, others);
    if (pixels == nullptr || bytes == 0 || !Allocate(width, height, bytes, 1)) {
        Free();
        return 0;
    }
    long long rowBytes = static_cast<long long>(width) * bytes;
    if (size < 0 || rowBytes * height > size) {
        Free();
        return 0;
    }
    for (int y = 0; y < height; ++y) {
        ConvertRow(pixels + rowBytes * y, m_pBits + static_cast<size_t>(m_nStride) * y, format);
    }
    return 1;
}

int KwDibRows::FromBitmap(HDC context, HBITMAP bitmap)
{
    BITMAP description;
    if (context == nullptr || bitmap == nullptr ||
        GetObjectA(bitmap, sizeof description, &description) != sizeof description ||
        !Allocate(description.bmWidth, description.bmHeight, kFetchBytesPerPixel, 0)) {
        Free();
        return 0;
    }
    int height = description.bmHeight;
    int fetched = GetDIBits(context, bitmap, 0, static_cast<UINT>(height), m_pBits, &m_info,
                            DIB_RGB_COLORS);
    if (fetched != height) {
        Free();
        return 0;
    }
    return 1;
}

int KwDibRows::GetWidth() const
{
    return m_info.bmiHeader.biWidth;
}

int KwDibRows::GetHeight() const
{
    int height = m_info.bmiHeader.biHeight;
    return height < 0 ? -height : height;
}

int KwDibRows::GetBytesPerPixel() const
{
    return m_info.bmiHeader.biBitCount / 8;
}

const unsigned char* KwDibRows::GetRow(int y) const
{
    int height = GetHeight();
    if (m_pBits == nullptr || y < 0 || y >= height) {
        return nullptr;
    }
    int stored = m_bTopDown ? y : height - 1 - y;
    return m_pBits + static_cast<size_t>(m_nStride) * stored;
}

const BITMAPINFO* KwDibRows::GetInfo() const
{
    return &m_info;
}

const void* KwDibRows::GetBits() const
{
    return m_pBits;
}

} // namespace KwSDK
