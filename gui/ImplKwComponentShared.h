// What the source files of ImplKwComponent share: the child window style and
// the text of a string as the system wants it.
#ifndef KWSDK_IMPLKWCOMPONENTSHARED_H
#define KWSDK_IMPLKWCOMPONENTSHARED_H

#include "KwString.h"

#include <windows.h>

namespace KwSDK {
namespace ImplShared {

const DWORD kChildStyle = 0x40000000;

// Never null, so that a string that was never set reads as empty.
inline const char* TextOf(const KwString& text)
{
    return text.GetText() != nullptr ? text.GetText() : "";
}

} // namespace ImplShared
} // namespace KwSDK

#endif
