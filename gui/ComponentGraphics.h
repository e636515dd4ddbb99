// The off-screen buffer of a component: a memory context and bitmap made
// compatible with the component's window, drawn on through IKwGraphics and
// copied to the window when painted.
#ifndef KWSDK_COMPONENTGRAPHICS_H
#define KWSDK_COMPONENTGRAPHICS_H

#include "KwGdiGraphics.h"

#include <windows.h>

namespace KwSDK {

class KwBuffer;

// One per component, owned by its native side. Made without window or
// buffer; the native side hands it the window, builds the buffer on every
// size change (nothing drawn survives a rebuild) and sets its colours and
// font. Clear, ClearRect, GetTextExtent and GetFontHeight also need the
// window.
class ComponentGraphics : public KwGdiGraphics {
public:
    ComponentGraphics();
    ~ComponentGraphics() override;

    void ClearRect(const KwRect& rect) override;
    void Clear() override;
    KwSize GetTextExtent(const KwString& text) override;
    int GetFontHeight() override;
    void Present(int x, int y, int w, int h) override;

    // The same as CreateBuffer.
    virtual int Rebuild(HDC context, int width, int height);
    virtual void SetWindow(HWND window);
    // Copies the four bytes into the shared drawing colour.
    virtual void SetColor(const KwColor& color);
    // Copies the four bytes into the shared back colour.
    virtual void SetBackColor(const KwColor& color);
    // As SetFont, without an answer.
    virtual void ApplyFont(KwFont* font);
    // Copies the rectangle of the buffer to the same place of the context;
    // nothing without a buffer.
    virtual void PresentTo(HDC context, const KwRect& rect);
    virtual void DeleteBitmap();
    virtual void DeleteBuffer();
    // Replaces the buffer by a new one of width x height compatible with the
    // context; 0 (and no buffer) when the system cannot make it.
    virtual int CreateBuffer(HDC context, int width, int height);
    // Reads the buffer back: reports its size and fills the buffer with
    // width x height pixels of blue, green, red, top row first. 0 without
    // a buffer or when the bitmap cannot be read.
    virtual int CopyToBuffer(KwBuffer* buffer, int* width, int* height);

private:
    ComponentGraphics(const ComponentGraphics&) = delete;
    ComponentGraphics& operator=(const ComponentGraphics&) = delete;

    HWND m_hWindow;
};

} // namespace KwSDK

#endif
