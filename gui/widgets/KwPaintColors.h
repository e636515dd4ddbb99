// The drawing and fill colours of a graphics, borrowed by a widget's paint
// code and put back when it is done.
#ifndef KWSDK_KWPAINTCOLORS_H
#define KWSDK_KWPAINTCOLORS_H

#include "IKwGraphics.h"

namespace KwSDK {

// The graphics hands out the very colour objects it draws with, so a
// widget that paints in its own colours changes them and must restore
// them: this does both, restoring in its destructor. Colours are given as
// 0xRRGGBB or as a KwColor; only red, green and blue change.
class KwPaintColors {
public:
    explicit KwPaintColors(IKwGraphics* graphics);
    ~KwPaintColors();

    void SetPen(unsigned int rgb);
    void SetFill(unsigned int rgb);
    void SetPen(const KwColor& color);
    void SetFill(const KwColor& color);
    // The background used by ClearRect and opaque text.
    void SetBack(unsigned int rgb);
    void SetBack(const KwColor& color);
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
