// The drawing and fill colours of a graphics, changed for one painter and
// put back as they were when it is done.
#include "KwPaintColors.h"

#include "IKwGraphics.h"

namespace KwSDK {

KwPaintColors::KwPaintColors(IKwGraphics* graphics)
    : m_pPen(graphics != nullptr ? graphics->GetColor() : nullptr),
      m_pFill(graphics != nullptr ? graphics->GetFillColor() : nullptr),
      m_nPen(m_pPen != nullptr ? m_pPen->GetARGB() : 0),
      m_nFill(m_pFill != nullptr ? m_pFill->GetARGB() : 0)
{
}

KwPaintColors::~KwPaintColors()
{
    if (m_pPen != nullptr) {
        m_pPen->SetARGB(m_nPen);
        m_pPen->Release();
    }
    if (m_pFill != nullptr) {
        m_pFill->SetARGB(m_nFill);
        m_pFill->Release();
    }
}

void KwPaintColors::SetPen(const KwColor& color)
{
    if (m_pPen != nullptr) {
        m_pPen->SetARGB(color.GetARGB());
    }
}

void KwPaintColors::SetFill(const KwColor& color)
{
    if (m_pFill != nullptr) {
        m_pFill->SetARGB(color.GetARGB());
    }
}

void KwPaintColors::SetPenAndFill(const KwColor& color)
{
    SetPen(color);
    SetFill(color);
}

void KwPaintColors::RestorePen()
{
    if (m_pPen != nullptr) {
        m_pPen->SetARGB(m_nPen);
    }
}

} // namespace KwSDK
