// A decoded raster picture and its pixel, palette and surface buffers.
#include "KwImage.h"

#include <cstring>
#include <new>

namespace KwSDK {

namespace {

const KWIMAGEGRAPHICSHOOKS* g_pGraphicsHooks = nullptr;

// A new buffer with one reference holding a copy of length bytes, or null.
KwBuffer* CopyToNewBuffer(const void* bytes, int length)
{
    if (bytes == nullptr || length <= 0) {
        return nullptr;
    }
    KwBuffer* buffer = new (std::nothrow) KwBuffer();
    if (buffer == nullptr) {
        return nullptr;
    }
    buffer->AddRef();
    if (!buffer->Alloc(length) || buffer->GetPointer(0) == nullptr) {
        buffer->Release();
        return nullptr;
    }
    std::memcpy(buffer->GetPointer(0), bytes, static_cast<size_t>(length));
    return buffer;
}

void Replace(KwBuffer** slot, KwBuffer* fresh)
{
    if (fresh != nullptr) {
        fresh->AddRef();
    }
    if (*slot != nullptr) {
        (*slot)->Release();
    }
    *slot = fresh;
}

} // namespace

KwImage::KwImage()
    : m_pPixels(nullptr), m_pPalette(nullptr), m_pGraphics(nullptr), m_pHooks(nullptr), m_bInHook(0)
{
    AppendTypeName("KwImage");
    Init(KW_FORMAT_NONE, 0, 0, 0, 0, 0);
}

KwImage::KwImage(int format, const void* bytes, int length, int x, int y, int width, int height,
                 int delay)
    : m_pPixels(nullptr), m_pPalette(nullptr), m_pGraphics(nullptr), m_pHooks(nullptr), m_bInHook(0)
{
    AppendTypeName("KwImage");
    Init(format, x, y, width, height, delay);
    m_pPixels = CopyToNewBuffer(bytes, length);
}

KwImage::KwImage(int format, KwBuffer* pixels, int x, int y, int width, int height, int delay)
    : m_pPixels(nullptr), m_pPalette(nullptr), m_pGraphics(nullptr), m_pHooks(nullptr), m_bInHook(0)
{
    AppendTypeName("KwImage");
    Init(format, x, y, width, height, delay);
    Replace(&m_pPixels, pixels);
}

KwImage::~KwImage()
{
    if (m_pGraphics != nullptr && m_pHooks != nullptr) {
        m_pHooks->pfnRelease(m_pGraphics);
    }
    Replace(&m_pPixels, nullptr);
    Replace(&m_pPalette, nullptr);
}

void KwImage::Init(int format, int x, int y, int width, int height, int delay)
{
    m_nFormat = format;
    m_nX = x;
    m_nY = y;
    m_nWidth = width;
    m_nHeight = height;
    m_nDelay = delay;
    m_nResolution[0] = 0;
    m_nResolution[1] = 0;
    m_nTransparent = 0;
    m_bTransparent = 0;
}

void KwImage::Reserved(void* argument)
{
    (void)argument;
}

IKwGraphics* KwImage::GetGraphics()
{
    if (m_pGraphics == nullptr && g_pGraphicsHooks != nullptr && !m_bInHook) {
        m_pHooks = g_pGraphicsHooks;
        m_bInHook = 1;
        m_pGraphics = m_pHooks->pfnCreate(this);
        m_bInHook = 0;
    }
    return m_pGraphics;
}

int KwImage::GetX() const { return m_nX; }
int KwImage::SetX(int x) { m_nX = x; return 1; }
int KwImage::GetY() const { return m_nY; }
int KwImage::SetY(int y) { m_nY = y; return 1; }
int KwImage::GetWidth() const { return m_nWidth; }
int KwImage::SetWidth(int width) { m_nWidth = width; return 1; }
int KwImage::GetHeight() const { return m_nHeight; }
int KwImage::SetHeight(int height) { m_nHeight = height; return 1; }

// The pixel buffer must hold every row in full before rows are cut from it.
int KwImage::CoversPicture(int bytesPerPixel) const
{
    int needed = 0;
    if (m_pPixels == nullptr || !KwImageByteCount(m_nWidth, m_nHeight, bytesPerPixel, &needed)) {
        return 0;
    }
    return m_pPixels->GetSize() >= needed ? 1 : 0;
}

KwBuffer* KwImage::GetRegion(int left, int top, int right, int bottom)
{
    if (m_nFormat < KW_FORMAT_REGION_FIRST || m_nFormat > KW_FORMAT_REGION_LAST) {
        return nullptr;
    }
    int bytesPerPixel = KwBytesPerPixel(m_nFormat);
    left = left < 0 ? 0 : left;
    top = top < 0 ? 0 : top;
    right = right > m_nWidth ? m_nWidth : right;
    bottom = bottom > m_nHeight ? m_nHeight : bottom;
    if (bytesPerPixel == 0 || right <= left || bottom <= top) {
        return nullptr;
    }
    SyncFromGraphics();
    if (!CoversPicture(bytesPerPixel)) {
        return nullptr;
    }
    int rowBytes = (right - left) * bytesPerPixel;
    int sourceStride = m_nWidth * bytesPerPixel;
    KwBuffer* region = new (std::nothrow) KwBuffer();
    if (region == nullptr) {
        return nullptr;
    }
    region->AddRef();
    if (!region->Alloc(rowBytes * (bottom - top)) || region->GetPointer(0) == nullptr) {
        region->Release();
        return nullptr;
    }
    const unsigned char* source = m_pPixels->GetPointer(0);
    unsigned char* target = region->GetPointer(0);
    for (int row = top; row < bottom; ++row) {
        std::memcpy(target + static_cast<size_t>(row - top) * rowBytes,
                    source + static_cast<size_t>(row) * sourceStride + left * bytesPerPixel,
                    static_cast<size_t>(rowBytes));
    }
    return region;
}

KwBuffer* KwImage::GetPixels()
{
    SyncFromGraphics();
    if (m_pPixels != nullptr) {
        m_pPixels->AddRef();
    }
    return m_pPixels;
}

int KwImage::SetPixels(int format, const void* bytes, int length)
{
    KwBuffer* copy = CopyToNewBuffer(bytes, length);
    if (copy == nullptr) {
        return 0;
    }
    Replace(&m_pPixels, copy);
    copy->Release();
    m_nFormat = format;
    ReloadGraphics();
    return 1;
}

int KwImage::AttachPixels(int format, KwBuffer* pixels)
{
    Replace(&m_pPixels, pixels);
    m_nFormat = format;
    ReloadGraphics();
    return 1;
}

KwBuffer* KwImage::GetPalette()
{
    if (m_pPalette != nullptr) {
        m_pPalette->AddRef();
    }
    return m_pPalette;
}

int KwImage::SetPalette(const void* bytes, int length)
{
    KwBuffer* copy = CopyToNewBuffer(bytes, length);
    if (copy == nullptr) {
        return 0;
    }
    Replace(&m_pPalette, copy);
    copy->Release();
    return 1;
}

int KwImage::AttachPalette(KwBuffer* palette)
{
    Replace(&m_pPalette, palette);
    return 1;
}

int KwImage::GetFormat() const { return m_nFormat; }
int KwImage::GetDelay() const { return m_nDelay; }
int KwImage::SetDelay(int delay) { m_nDelay = delay; return 1; }

int KwImage::GetTransparentColor(unsigned int* argb) const
{
    if (!m_bTransparent || argb == nullptr) {
        return 0;
    }
    *argb = m_nTransparent;
    return 1;
}

int KwImage::SetTransparentColor(unsigned int argb)
{
    m_nTransparent = argb;
    m_bTransparent = 1;
    return 1;
}

unsigned long long KwImage::GetResolution() const
{
    return static_cast<unsigned long long>(m_nResolution[1]) << 32 | m_nResolution[0];
}

unsigned long long KwImage::SetResolution(unsigned int first, unsigned int second)
{
    m_nResolution[0] = first;
    m_nResolution[1] = second;
    return GetResolution();
}

void KwImage::SetGraphicsHooks(const KWIMAGEGRAPHICSHOOKS* hooks)
{
    g_pGraphicsHooks = hooks;
}

int KwImage::HasTransparentColor() const
{
    return m_bTransparent;
}

// Drawing on the surface changes only its off-screen copy; the pixel buffer
// is brought up to date before anyone reads it.
void KwImage::SyncFromGraphics()
{
    if (m_pGraphics != nullptr && m_pHooks != nullptr && !m_bInHook) {
        m_bInHook = 1;
        m_pHooks->pfnWriteBack(m_pGraphics, this);
        m_bInHook = 0;
    }
}

void KwImage::ReloadGraphics()
{
    if (m_pGraphics != nullptr && m_pHooks != nullptr && !m_bInHook) {
        m_bInHook = 1;
        m_pHooks->pfnReload(m_pGraphics, this);
        m_bInHook = 0;
    }
}

} // namespace KwSDK
