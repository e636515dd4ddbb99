// A colour as red, green, blue and a fourth (alpha) byte, with the packed
// forms the toolkit and the system use.
#include "KwColor.h"

#include <new>

namespace KwSDK {

namespace {

unsigned char LowByte(unsigned int value)
{
    return static_cast<unsigned char>(value & 0xFFu);
}

} // namespace

KwColor::KwColor() : m_nRed(0), m_nGreen(0), m_nBlue(0), m_nAlpha(0)
{
    AppendTypeName("KwColor");
}

KwColor::KwColor(int red, int green, int blue)
    : m_nRed(LowByte(red)), m_nGreen(LowByte(green)), m_nBlue(LowByte(blue)), m_nAlpha(0)
{
    AppendTypeName("KwColor");
}

KwColor::KwColor(int red, int green, int blue, int alpha)
    : m_nRed(LowByte(red)), m_nGreen(LowByte(green)), m_nBlue(LowByte(blue)),
      m_nAlpha(LowByte(alpha))
{
    AppendTypeName("KwColor");
}

KwColor::KwColor(const KwColor& other)
    : KwObject(), m_nRed(other.m_nRed), m_nGreen(other.m_nGreen), m_nBlue(other.m_nBlue),
      m_nAlpha(other.m_nAlpha)
{
    AppendTypeName("KwColor");
}

KwColor& KwColor::operator=(const KwColor& other)
{
    m_nRed = other.m_nRed;
    m_nGreen = other.m_nGreen;
    m_nBlue = other.m_nBlue;
    m_nAlpha = other.m_nAlpha;
    return *this;
}

KwColor* KwColor::Clone() const
{
    return KwCloneOf(*this);
}

int KwColor::GetRed() const
{
    return m_nRed;
}

void KwColor::SetRed(int red)
{
    m_nRed = LowByte(red);
}

int KwColor::GetGreen() const
{
    return m_nGreen;
}

void KwColor::SetGreen(int green)
{
    m_nGreen = LowByte(green);
}

int KwColor::GetBlue() const
{
    return m_nBlue;
}

void KwColor::SetBlue(int blue)
{
    m_nBlue = LowByte(blue);
}

int KwColor::GetAlpha() const
{
    return m_nAlpha;
}

void KwColor::SetAlpha(int alpha)
{
    m_nAlpha = LowByte(alpha);
}

unsigned int KwColor::GetARGB() const
{
    return static_cast<unsigned int>(m_nAlpha) << 24 | static_cast<unsigned int>(m_nRed) << 16 |
           static_cast<unsigned int>(m_nGreen) << 8 | m_nBlue;
}

void KwColor::SetARGB(unsigned int argb)
{
    m_nAlpha = LowByte(argb >> 24);
    m_nRed = LowByte(argb >> 16);
    m_nGreen = LowByte(argb >> 8);
    m_nBlue = LowByte(argb);
}

unsigned int KwColor::GetColorRef() const
{
    return m_nRed | static_cast<unsigned int>(m_nGreen) << 8 |
           static_cast<unsigned int>(m_nBlue) << 16 | static_cast<unsigned int>(m_nAlpha) << 24;
}

void KwColor::SetColorRef(unsigned int colorRef)
{
    m_nRed = LowByte(colorRef);
    m_nGreen = LowByte(colorRef >> 8);
    m_nBlue = LowByte(colorRef >> 16);
    m_nAlpha = LowByte(colorRef >> 24);
}

unsigned int KwColor::GetRGB565() const
{
    return static_cast<unsigned int>(m_nRed >> 3) << 11 |
           static_cast<unsigned int>(m_nGreen >> 2) << 5 | static_cast<unsigned int>(m_nBlue >> 3);
}

void KwColor::SetRGB565(unsigned int value)
{
    m_nRed = LowByte((value >> 8) & 0xF8u);
    m_nGreen = LowByte((value >> 3) & 0xFCu);
    m_nBlue = LowByte(value << 3);
}

unsigned int KwColor::GetRGB555() const
{
    return static_cast<unsigned int>(m_nRed & 0xF8u) << 7 |
           static_cast<unsigned int>(m_nGreen & 0xF8u) << 2 |
           static_cast<unsigned int>(m_nBlue >> 3);
}

void KwColor::SetRGB555(unsigned int value)
{
    m_nRed = LowByte((value >> 7) & 0xF8u);
    m_nGreen = LowByte((value >> 2) & 0xF8u);
    m_nBlue = LowByte(value << 3);
}

} // namespace KwSDK
