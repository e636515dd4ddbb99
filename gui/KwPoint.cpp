// A point of the toolkit's integer coordinate plane.
#include "KwPoint.h"

#include <new>

namespace KwSDK {

KwPoint::KwPoint() : m_nX(0), m_nY(0)
{
    AppendTypeName("KwPoint");
}

KwPoint::KwPoint(int x, int y) : m_nX(x), m_nY(y)
{
    AppendTypeName("KwPoint");
}

KwPoint::KwPoint(const KwPoint& other) : KwObject(), m_nX(other.m_nX), m_nY(other.m_nY)
{
    AppendTypeName("KwPoint");
}

KwPoint& KwPoint::operator=(const KwPoint& other)
{
    m_nX = other.m_nX;
    m_nY = other.m_nY;
    return *this;
}

KwPoint* KwPoint::Clone() const
{
    return KwCloneOf(*this);
}

int KwPoint::GetX() const
{
    return m_nX;
}

int KwPoint::GetY() const
{
    return m_nY;
}

void KwPoint::Translate(int dx, int dy)
{
    m_nX += dx;
    m_nY += dy;
}

void KwPoint::Set(int x, int y)
{
    m_nX = x;
    m_nY = y;
}

} // namespace KwSDK
