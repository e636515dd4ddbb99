// The drawing, fill and background colours of a graphics, changed for one
// painter and put back as they were when it is done.
#ifndef KWSDK_KWPAINTCOLORS_H
#define KWSDK_KWPAINTCOLORS_H

#include "IKwGraphics.h"
#include "KwColor.h"

namespace KwSDK {

// The graphics hands out the very colour objects it draws with, which other
// painters share; widgets change them only through this scope object, which
// restores them in its destructor. Colours are given as a KwColor or as
// 0xRRGGBB; only red, green and blue change. A null graphics (or a graphics
// without colours) makes every call a no-op.
class KwPaintColors {
public:
    explicit KwPaintColors(IKwGraphics* graphics);
    ~KwPaintColors();

    void SetPen(const KwColor& color);
    void SetFill(const KwColor& color);
    // Outline and inside of a filled shape in one colour.
    void SetPenAndFill(const KwColor& color);
    // The background used by ClearRect and opaque text.
    void SetBack(const KwColor& color);
    // The pen colour the painter started with.
    void RestorePen();

    void SetPen(unsigned int rgb);
    void SetFill(unsigned int rgb);
    void SetBack(unsigned int rgb);
    // Pen and fill alike.
    void Set(unsigned int rgb);

private:
    KwPaintColors(const KwPaintColors&) = delete;
    KwPaintColors& operator=(const KwPaintColors&) = delete;

    static unsigned int RgbOf(const KwColor& color);
    static void Apply(KwColor* color, unsigned int rgb);
    static void Restore(KwColor* color, unsigned int argb);

    KwColor* m_pPen;
    KwColor* m_pFill;
    KwColor* m_pBack;
    unsigned int m_nPen;
    unsigned int m_nFill;
    unsigned int m_nBack;
};

} // namespace KwSDK

#endif
