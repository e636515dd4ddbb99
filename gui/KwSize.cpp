// The extent of a rectangle, a window or a piece of text.
#include "KwSize.h"

#include <new>

namespace KwSDK {

KwSize::KwSize() : m_nWidth(0), m_nHeight(0)
{
    AppendTypeName("KwSize");
}

KwSize::KwSize(int width, int height) : m_nWidth(width), m_nHeight(height)
{
    AppendTypeName("KwSize");
}

KwSize::KwSize(const KwSize& other) : KwObject(), m_nWidth(other.m_nWidth), m_nHeight(other.m_nHeight)
{
    AppendTypeName("KwSize");
}

KwSize& KwSize::operator=(const KwSize& other)
{
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    return *this;
}

KwSize* KwSize::Clone() const
{
    return KwCloneOf(*this);
}

int KwSize::GetWidth() const
{
    return m_nWidth;
}

int KwSize::GetHeight() const
{
    return m_nHeight;
}

void KwSize::Set(int width, int height)
{
    m_nWidth = width;
    m_nHeight = height;
}

} // namespace KwSDK
