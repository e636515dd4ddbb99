// A window icon description: a type number, an icon file, or custom data.
#include "KwIcon.h"

#include <windows.h>

namespace KwSDK {

namespace {

// The system icon of each system type (types 0 to 8).
const WORD kSystemIcons[] = {
    32512, // 0: application
    32516, // 1: information
    32513, // 2: error
    32515, // 3: warning
    32513, // 4: error
    32516, // 5: information
    32514, // 6: question
    32515, // 7: warning
    32517, // 8: system logo
};

} // namespace

KwIcon::KwIcon() : m_nType(KW_ICON_APPLICATION)
{
    AppendTypeName("KwIcon");
}

KwIcon::~KwIcon() = default;

int KwIcon::GetType() const
{
    return m_nType;
}

void KwIcon::SetType(int type)
{
    m_nType = type;
}

void KwIcon::SetFileName(const KwString& fileName)
{
    m_sFileName = fileName;
    m_nType = KW_ICON_FILE;
}

const char* KwIcon::GetResource() const
{
    if (m_nType == KW_ICON_FILE) {
        return m_sFileName.GetText();
    }
    if (m_nType >= 0 && m_nType < static_cast<int>(sizeof kSystemIcons / sizeof kSystemIcons[0])) {
        return MAKEINTRESOURCEA(kSystemIcons[m_nType]);
    }
    return nullptr;
}

int KwIcon::GetWidth() const { return 0; }
int KwIcon::GetHeight() const { return 0; }
int KwIcon::GetPlanes() const { return 1; }
int KwIcon::GetBitsPerPixel() const { return 24; }
const unsigned char* KwIcon::GetAndBits() const { return nullptr; }
const unsigned char* KwIcon::GetXorBits() const { return nullptr; }

} // namespace KwSDK
