// The drawing and fill colours of a graphics, changed for one painter and
// put back as they were when it is done.
#ifndef KWSDK_KWPAINTCOLORS_H
#define KWSDK_KWPAINTCOLORS_H

#include "KwColor.h"

namespace KwSDK {

class IKwGraphics;

// The graphics hands out the very colour objects it draws with, which other
// painters share; widgets change them only through this scope object. A
// null graphics (or a graphics without colours) makes every call a no-op.
class KwPaintColors {
public:
    explicit KwPaintColors(IKwGraphics* graphics);
    ~KwPaintColors();

    void SetPen(const KwColor& color);
    void SetFill(const KwColor& color);
    // Outline and inside of a filled shape in one colour.
    void SetPenAndFill(const KwColor& color);
    // The pen colour the painter started with.
    void RestorePen();

private:
    KwPaintColors(const KwPaintColors&) = delete;
    KwPaintColors& operator=(const KwPaintColors&) = delete;

    KwColor* m_pPen;
    KwColor* m_pFill;
    unsigned int m_nPen;
    unsigned int m_nFill;
};

} // namespace KwSDK

#endif
