// Code page checks on Windows, through the system's own conversion tables.
#include "CartonPackCodePage.h"

#include <windows.h>

namespace KwSDK {

int CartonPackCodePage::IsKnown(unsigned int codePage)
{
    CPINFO info;
    return GetCPInfo(codePage, &info) ? 1 : 0;
}

int CartonPackCodePage::Fits(unsigned int codePage, const char* bytes, int length)
{
    if (!IsKnown(codePage))
        return -1;
    if (length <= 0)
        return 1;
    // With MB_ERR_INVALID_CHARS the conversion fails on any byte sequence that
    // is not a character of the code page, including a lead byte at the end.
    int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
    return wide > 0 ? 1 : 0;
}

} // namespace KwSDK
