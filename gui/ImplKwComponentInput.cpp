// Mouse capture, the component timer, focus and key state, the clipboard,
// window shapes, child windows and text measuring.
#include "ImplKwComponent.h"
#include "ImplKwComponentShared.h"

#include "KwBuffer.h"
#include "KwComponent.h"
#include "KwFont.h"
#include "KwFontMapping.h"
#include "KwImage.h"
#include "KwReferenceGuard.h"

#include <cstring>

namespace KwSDK {

using ImplShared::TextOf;
using ImplShared::kChildStyle;

namespace {

// The process-wide count of SetCapture calls not yet released.
int g_nCaptureCount = 0;

int CopyTextToClipboard(HWND window, const KwString& text)
{
    if (!OpenClipboard(window)) {
        return 0;
    }
    int length = text.GetLength();
    HGLOBAL memory = nullptr;
    if (EmptyClipboard()) {
        memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(length) + 1);
    }
    char* bytes = memory != nullptr ? static_cast<char*>(GlobalLock(memory)) : nullptr;
    if (bytes == nullptr) {
        if (memory != nullptr) {
            GlobalFree(memory);
        }
        CloseClipboard();
        return 0;
    }
    if (length > 0) {
        std::memcpy(bytes, text.GetText(), static_cast<size_t>(length));
    }
    bytes[length] = '\0';
    GlobalUnlock(memory);
    // The clipboard owns the memory only when it took it.
    int handed = SetClipboardData(CF_TEXT, memory) != nullptr ? 1 : 0;
    if (!handed) {
        GlobalFree(memory);
    }
    CloseClipboard();
    return handed;
}

int PasteTextFromClipboard(HWND window, KwString& text)
{
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(window)) {
        return 0;
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes == nullptr) {
        CloseClipboard();
        return 0;
    }
    // The clipboard's block may lack its terminator: read at most its size.
    SIZE_T size = GlobalSize(data);
    SIZE_T length = 0;
    while (length < size && bytes[length] != '\0') {
        ++length;
    }
    text.Assign(bytes, static_cast<int>(length));
    GlobalUnlock(data);
    CloseClipboard();
    return 1;
}

// Cuts the runs of key-coloured pixels of one row out of the region. The
// runs are disjoint, so one exclusive-or per run equals one per pixel.
void CutKeyRow(HRGN region, const unsigned char* row, int width, int y, unsigned int key)
{
    int x = 0;
    while (x < width) {
        const unsigned char* pixel = row + 3 * x;
        unsigned int rgb = static_cast<unsigned int>(pixel[0]) << 16 | pixel[1] << 8 | pixel[2];
        if (rgb != key) {
            ++x;
            continue;
        }
        int start = x;
        while (x < width) {
            pixel = row + 3 * x;
            rgb = static_cast<unsigned int>(pixel[0]) << 16 | pixel[1] << 8 | pixel[2];
            if (rgb != key) {
                break;
            }
            ++x;
        }
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        if (run != nullptr) {
            CombineRgn(region, region, run, RGN_XOR);
            DeleteObject(run);
        }
    }
}

// Reads the image's pixels as red, green, blue rows; rows the pixel buffer
// does not hold in full are left alone.
void CutKeyPixels(HRGN region, KwImage* image, const KwColor& key)
{
    KwBuffer* pixels = image->GetPixels();
    if (pixels == nullptr) {
        return;
    }
    int width = image->GetWidth();
    int height = image->GetHeight();
    long long rowBytes = 3LL * (width > 0 ? width : 0);
    long long available = pixels->GetSize();
    for (int y = 0; y < height && rowBytes > 0 && (y + 1) * rowBytes <= available; ++y) {
        const unsigned char* row = pixels->GetPointer(static_cast<int>(y * rowBytes));
        if (row == nullptr) {
            break;
        }
        CutKeyRow(region, row, width, y, key.GetARGB());
    }
    pixels->Release();
}

} // namespace

int ImplKwComponent::CopyToClipboard(const KwString& text)
{
    return m_hWindow != nullptr ? CopyTextToClipboard(m_hWindow, text) : 0;
}

int ImplKwComponent::PasteFromClipboard(KwString& text)
{
    return m_hWindow != nullptr ? PasteTextFromClipboard(m_hWindow, text) : 0;
}

int ImplKwComponent::IsKeyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0 ? 1 : 0;
}

int ImplKwComponent::HasFocus()
{
    return m_hWindow != nullptr && GetFocus() == m_hWindow ? 1 : 0;
}

// Only a capture that was taken is counted, so that releases stay balanced.
void ImplKwComponent::SetCapture()
{
    if (m_hWindow != nullptr) {
        ::SetCapture(m_hWindow);
        ++g_nCaptureCount;
    }
}

int ImplKwComponent::HasCapture()
{
    return m_hWindow != nullptr && GetCapture() == m_hWindow ? 1 : 0;
}

void ImplKwComponent::ReleaseCapture(int force)
{
    if (force) {
        g_nCaptureCount = 0;
        ::ReleaseCapture();
    } else if (g_nCaptureCount > 0 && --g_nCaptureCount == 0) {
        ::ReleaseCapture();
    }
}

int ImplKwComponent::StartTimer(int milliseconds)
{
    if (m_hWindow == nullptr) {
        return 0;
    }
    UINT_PTR id = SetTimer(m_hWindow, KW_TIMER_ID, static_cast<UINT>(milliseconds), nullptr);
    if (id == 0) {
        return 0;
    }
    m_nTimerId = id;
    return static_cast<int>(id);
}

void ImplKwComponent::StopTimer()
{
    if (m_nTimerId != 0 && m_hWindow != nullptr) {
        KillTimer(m_hWindow, m_nTimerId);
    }
    m_nTimerId = 0;
}

// Once the system has taken the region it owns it: only a region it
// refused is deleted here.
void ImplKwComponent::SetShape(KwImage* image, const KwColor& key)
{
    if (image == nullptr) {
        return;
    }
    HRGN region = CreateRectRgn(0, 0, m_szSize.GetWidth(), m_szSize.GetHeight());
    if (region == nullptr) {
        return;
    }
    CutKeyPixels(region, image, key);
    if (m_hWindow != nullptr && SetWindowRgn(m_hWindow, region, FALSE)) {
        return;
    }
    DeleteObject(region);
}

int ImplKwComponent::AttachChild(KwComponent* child)
{
    if (child == nullptr) {
        return 1;
    }
    KwReferenceGuard guard(child);
    child->Create(m_hInstance, this);
    return 1;
}

void ImplKwComponent::RequestFocus()
{
    if (m_hWindow != nullptr) {
        SetFocus(m_hWindow);
    }
}

KwSize ImplKwComponent::GetTextExtent(const KwString& text)
{
    HDC context = m_hWindow != nullptr ? GetDC(m_hWindow) : nullptr;
    if (context == nullptr) {
        return KwSize(0, 0);
    }
    HFONT font = CreateGdiFont(m_pFont);
    int saved = SaveDC(context);
    if (font != nullptr) {
        SelectObject(context, font);
    }
    SIZE extent = {0, 0};
    BOOL measured = GetTextExtentPoint32A(context, TextOf(text), text.GetLength(), &extent);
    RestoreDC(context, saved);
    if (font != nullptr) {
        DeleteObject(font);
    }
    ReleaseDC(m_hWindow, context);
    return measured ? KwSize(extent.cx, extent.cy) : KwSize(0, 0);
}

int ImplKwComponent::GetFontHeight()
{
    HDC context = m_hWindow != nullptr ? GetDC(m_hWindow) : nullptr;
    if (context == nullptr) {
        return -1;
    }
    TEXTMETRICA metrics;
    BOOL measured = GetTextMetricsA(context, &metrics);
    ReleaseDC(m_hWindow, context);
    return measured ? metrics.tmHeight : -1;
}

} // namespace KwSDK
