// A mouse cursor description: a type number, or the data of a custom cursor.
#include "KwCursor.h"

namespace KwSDK {

KwCursor::KwCursor() : m_nType(KW_CURSOR_CUSTOM)
{
    AppendTypeName("KwCursor");
}

KwCursor::~KwCursor() = default;

int KwCursor::GetType() const
{
    return m_nType;
}

void KwCursor::SetType(int type)
{
    m_nType = type;
}

int KwCursor::GetWidth() const { return 0; }
int KwCursor::GetHeight() const { return 0; }
int KwCursor::GetHotX() const { return 0; }
int KwCursor::GetHotY() const { return 0; }
int KwCursor::QueryFirst() const { return 1; }
int KwCursor::QuerySecond() const { return 1; }
const unsigned char* KwCursor::GetAndPlane() const { return nullptr; }
const unsigned char* KwCursor::GetXorPlane() const { return nullptr; }

} // namespace KwSDK
