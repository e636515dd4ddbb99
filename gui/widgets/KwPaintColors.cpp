// The drawing, fill and background colours of a graphics, changed for one
// painter and put back as they were when it is done.
#include "KwPaintColors.h"

#include "IKwGraphics.h"

namespace KwSDK {

namespace {

unsigned int SavedArgb(const KwColor* color)
{
    return color != nullptr ? color->GetARGB() : 0;
}

} // namespace

KwPaintColors::KwPaintColors(IKwGraphics* graphics)
    : m_pPen(graphics != nullptr ? graphics->GetColor() : nullptr),
      m_pFill(graphics != nullptr ? graphics->GetFillColor() : nullptr),
      m_pBack(graphics != nullptr ? graphics->GetBackColor() : nullptr), m_nPen(SavedArgb(m_pPen)),
      m_nFill(SavedArgb(m_pFill)), m_nBack(SavedArgb(m_pBack))
{
}

KwPaintColors::~KwPaintColors()
{
    Restore(m_pPen, m_nPen);
    Restore(m_pFill, m_nFill);
    Restore(m_pBack, m_nBack);
}

unsigned int KwPaintColors::RgbOf(const KwColor& color)
{
    return static_cast<unsigned int>(color.GetRed()) << 16 |
           static_cast<unsigned int>(color.GetGreen()) << 8 |
           static_cast<unsigned int>(color.GetBlue());
}

void KwPaintColors::Apply(KwColor* color, unsigned int rgb)
{
    if (color != nullptr) {
        color->SetRed(static_cast<int>(rgb >> 16 & 0xFF));
        color->SetGreen(static_cast<int>(rgb >> 8 & 0xFF));
        color->SetBlue(static_cast<int>(rgb & 0xFF));
    }
}

void KwPaintColors::Restore(KwColor* color, unsigned int argb)
{
    if (color != nullptr) {
        color->SetARGB(argb);
        color->Release();
    }
}

void KwPaintColors::SetPen(const KwColor& color)
{
    Apply(m_pPen, RgbOf(color));
}

void KwPaintColors::SetFill(const KwColor& color)
{
    Apply(m_pFill, RgbOf(color));
}

void KwPaintColors::SetPenAndFill(const KwColor& color)
{
    Set(RgbOf(color));
}

void KwPaintColors::SetBack(const KwColor& color)
{
    Apply(m_pBack, RgbOf(color));
}

void KwPaintColors::RestorePen()
{
    if (m_pPen != nullptr) {
        m_pPen->SetARGB(m_nPen);
    }
}

void KwPaintColors::SetPen(unsigned int rgb)
{
    Apply(m_pPen, rgb);
}

void KwPaintColors::SetFill(unsigned int rgb)
{
    Apply(m_pFill, rgb);
}

void KwPaintColors::SetBack(unsigned int rgb)
{
    Apply(m_pBack, rgb);
}

void KwPaintColors::Set(unsigned int rgb)
{
    Apply(m_pPen, rgb);
    Apply(m_pFill, rgb);
}

} // namespace KwSDK
