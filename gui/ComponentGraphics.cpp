// The off-screen buffer of a component, drawn on through IKwGraphics.
#include "ComponentGraphics.h"

#include "KwBuffer.h"
#include "KwDibRows.h"
#include "KwImageFormat.h"

#include <cstring>

namespace KwSDK {

namespace {

void CopyColor(KwColor* target, const KwColor& source)
{
    if (target != nullptr) {
        target->SetARGB(source.GetARGB());
        target->Release();
    }
}

} // namespace

ComponentGraphics::ComponentGraphics() : m_hWindow(nullptr)
{
    AppendTypeName("ComponentGraphics");
}

ComponentGraphics::~ComponentGraphics() = default;

void ComponentGraphics::ClearRect(const KwRect& rect)
{
    if (m_hWindow != nullptr) {
        KwGdiGraphics::ClearRect(rect);
    }
}

void ComponentGraphics::Clear()
{
    if (m_hWindow != nullptr) {
        KwGdiGraphics::Clear();
    }
}

KwSize ComponentGraphics::GetTextExtent(const KwString& text)
{
    return m_hWindow != nullptr ? KwGdiGraphics::GetTextExtent(text) : KwSize();
}

int ComponentGraphics::GetFontHeight()
{
    return m_hWindow != nullptr ? KwGdiGraphics::GetFontHeight() : -1;
}

void ComponentGraphics::Present(int x, int y, int w, int h)
{
    HDC buffer = GetSurfaceContext();
    if (m_hWindow == nullptr || buffer == nullptr || GetSurfaceBitmap() == nullptr) {
        return;
    }
    HDC window = GetDC(m_hWindow);
    if (window != nullptr) {
        BitBlt(window, x, y, w, h, buffer, x, y, SRCCOPY);
        ReleaseDC(m_hWindow, window);
    }
}

int ComponentGraphics::Rebuild(HDC context, int width, int height)
{
    return CreateBuffer(context, width, height);
}

void ComponentGraphics::SetWindow(HWND window)
{
    m_hWindow = window;
}

void ComponentGraphics::SetColor(const KwColor& color)
{
    CopyColor(GetColor(), color);
}

void ComponentGraphics::SetBackColor(const KwColor& color)
{
    CopyColor(GetBackColor(), color);
}

void ComponentGraphics::ApplyFont(KwFont* font)
{
    SetFont(font);
}

void ComponentGraphics::PresentTo(HDC context, const KwRect& rect)
{
    HDC buffer = GetSurfaceContext();
    if (context == nullptr || buffer == nullptr || GetSurfaceBitmap() == nullptr) {
        return;
    }
    BitBlt(context, rect.GetX(), rect.GetY(), rect.GetWidth(), rect.GetHeight(), buffer,
           rect.GetX(), rect.GetY(), SRCCOPY);
}

void ComponentGraphics::DeleteBitmap()
{
    DeleteSurfaceBitmap();
}

void ComponentGraphics::DeleteBuffer()
{
    DeleteSurfaceContext();
}

int ComponentGraphics::CreateBuffer(HDC context, int width, int height)
{
    DeleteBitmap();
    DeleteBuffer();
    HDC memory = CreateCompatibleDC(context);
    if (memory == nullptr) {
        return 0;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(context, width, height);
    if (bitmap == nullptr) {
        DeleteDC(memory);
        return 0;
    }
    AttachSurface(memory, bitmap, width, height);
    return 1;
}

// The bitmap is fetched at 32 bits per pixel whatever the screen's depth,
// so that every pixel's first three bytes are blue, green and red.
int ComponentGraphics::CopyToBuffer(KwBuffer* buffer, int* width, int* height)
{
    KwDibRows rows;
    if (buffer == nullptr || !ReadSurface(&rows)) {
        return 0;
    }
    int columns = rows.GetWidth();
    int lines = rows.GetHeight();
    int bytes = 0;
    if (!KwImageByteCount(columns, lines, 3, &bytes) || !buffer->Alloc(bytes) ||
        buffer->GetPointer(0) == nullptr) {
        return 0;
    }
    if (width != nullptr) {
        *width = columns;
    }
    if (height != nullptr) {
        *height = lines;
    }
    unsigned char* target = buffer->GetPointer(0);
    int step = rows.GetBytesPerPixel();
    for (int y = 0; y < lines; ++y) {
        const unsigned char* source = rows.GetRow(y);
        for (int x = 0; x < columns; ++x, source += step, target += 3) {
            std::memcpy(target, source, 3);
        }
    }
    return 1;
}

} // namespace KwSDK
