// The stored description of a KwFont: face, size, weight and style flags.
#include "ImplKwFont.h"

#include "KwFont.h"

#include <windows.h>

namespace KwSDK {

namespace {

const int kDefaultPointSize = 9;
const int kPointsPerInch = 72;

int Absolute(int value)
{
    return value < 0 ? -value : value;
}

} // namespace

ImplKwFont::ImplKwFont(KwFont* owner)
    : m_nHeight(0), m_nWidth(0), m_nWeight(0), m_bItalic(0), m_bUnderline(0), m_bStrikeOut(0),
      m_pOwner(owner), m_nPointSize(kDefaultPointSize)
{
    AppendTypeName("ImplKwFont");
}

ImplKwFont::~ImplKwFont() = default;

void ImplKwFont::SetName(const KwString& name)
{
    m_sName = name;
}

KwString ImplKwFont::GetName() const
{
    return m_sName;
}

void ImplKwFont::SetHeight(int height)
{
    m_nHeight = height;
}

int ImplKwFont::GetHeight() const
{
    return Absolute(m_nHeight);
}

void ImplKwFont::SetWidth(int width)
{
    m_nWidth = width;
}

int ImplKwFont::GetWidth() const
{
    return Absolute(m_nWidth);
}

void ImplKwFont::SetWeight(int weight)
{
    m_nWeight = weight;
}

int ImplKwFont::GetWeight() const
{
    return m_nWeight;
}

void ImplKwFont::SetItalic(int italic)
{
    m_bItalic = italic;
}

int ImplKwFont::GetItalic() const
{
    return m_bItalic;
}

void ImplKwFont::SetUnderline(int underline)
{
    m_bUnderline = underline;
}

int ImplKwFont::GetUnderline() const
{
    return m_bUnderline;
}

void ImplKwFont::SetStrikeOut(int strikeOut)
{
    m_bStrikeOut = strikeOut;
}

int ImplKwFont::GetStrikeOut() const
{
    return m_bStrikeOut;
}

int ImplKwFont::Equals(KwFont* other) const
{
    if (other == nullptr) {
        return 0;
    }
    // Compare() of two strings is byte for byte, lengths included.
    return m_sName.Compare(other->GetName()) == 0 && GetHeight() == other->GetHeight() &&
           GetWidth() == other->GetWidth() && m_nWeight == other->GetWeight() &&
           m_bItalic == other->GetItalic() && m_bUnderline == other->GetUnderline() &&
           m_bStrikeOut == other->GetStrikeOut();
}

// The desktop's vertical resolution turns points into pixels; MulDiv rounds
// to the nearest pixel as the system's own font dialogs do.
void ImplKwFont::SetPointSize(int points)
{
    HWND desktop = GetDesktopWindow();
    HDC context = desktop != nullptr ? GetDC(desktop) : nullptr;
    if (context == nullptr) {
        return;
    }
    m_nHeight = -MulDiv(points, GetDeviceCaps(context, LOGPIXELSY), kPointsPerInch);
    m_nPointSize = points;
    ReleaseDC(desktop, context);
}

int ImplKwFont::GetPointSize() const
{
    return m_nPointSize;
}

KwFont* ImplKwFont::GetOwner() const
{
    return m_pOwner;
}

} // namespace KwSDK
