// A rectangle held as origin and extent.
#include "KwRect.h"

#include <new>

namespace KwSDK {

KwRect::KwRect() : m_nX(0), m_nY(0), m_nWidth(0), m_nHeight(0)
{
    AppendTypeName("KwRect");
}

KwRect::KwRect(int x, int y, int width, int height)
    : m_nX(x), m_nY(y), m_nWidth(width), m_nHeight(height)
{
    AppendTypeName("KwRect");
}

KwRect::KwRect(const KwRect& other)
    : KwObject(), m_nX(other.m_nX), m_nY(other.m_nY), m_nWidth(other.m_nWidth),
      m_nHeight(other.m_nHeight)
{
    AppendTypeName("KwRect");
}

KwRect& KwRect::operator=(const KwRect& other)
{
    m_nX = other.m_nX;
    m_nY = other.m_nY;
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    return *this;
}

KwRect* KwRect::Clone() const
{
    return KwCloneOf(*this);
}

void KwRect::SetX(int x)
{
    m_nX = x;
}

void KwRect::SetY(int y)
{
    m_nY = y;
}

void KwRect::SetWidth(int width)
{
    m_nWidth = width;
}

void KwRect::SetHeight(int height)
{
    m_nHeight = height;
}

// The argument is borrowed for the duration of the call. It is not counted
// up and down: a point that was never counted (one on the stack or inside
// another object) would be deleted by the balancing Release.
void KwRect::SetLocation(const KwPoint* location)
{
    if (location != nullptr) {
        SetLocation(location->GetX(), location->GetY());
    }
}

void KwRect::SetLocation(int x, int y)
{
    m_nX = x;
    m_nY = y;
}

// Borrowed like the point above.
void KwRect::SetSize(const KwSize* size)
{
    if (size != nullptr) {
        SetSize(size->GetWidth(), size->GetHeight());
    }
}

void KwRect::SetSize(int width, int height)
{
    m_nWidth = width;
    m_nHeight = height;
}

int KwRect::GetX() const
{
    return m_nX;
}

int KwRect::GetY() const
{
    return m_nY;
}

int KwRect::GetWidth() const
{
    return m_nWidth;
}

int KwRect::GetHeight() const
{
    return m_nHeight;
}

KwPoint* KwRect::GetLocation() const
{
    KwPoint* location = new (std::nothrow) KwPoint(m_nX, m_nY);
    if (location != nullptr) {
        location->AddRef();
    }
    return location;
}

KwSize* KwRect::GetSize() const
{
    KwSize* size = new (std::nothrow) KwSize(m_nWidth, m_nHeight);
    if (size != nullptr) {
        size->AddRef();
    }
    return size;
}

} // namespace KwSDK
