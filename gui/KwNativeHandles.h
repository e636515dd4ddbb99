// Native cursor and icon handles made from KwCursor and KwIcon descriptions.
#ifndef KWSDK_KWNATIVEHANDLES_H
#define KWSDK_KWNATIVEHANDLES_H

#include <windows.h>

namespace KwSDK {

class KwCursor;
class KwIcon;

// The cursor for the description: custom type 77 is created for the
// instance from the object's hot spot, size and bit planes; every other
// known type is the system's shared cursor. *made is set to 1 only for a
// created cursor, which the caller destroys; shared cursors must never be
// destroyed. Null (and *made 0) for an unknown type, a null description or
// a custom cursor without data.
HCURSOR MakeCursorHandle(const KwCursor* cursor, HINSTANCE instance, int* made);

// The icon for the description: custom type 10 is created for the instance
// from the object's size, planes, bits per pixel and masks; type 9 is the
// icon file loaded at 64 x 64; every other known type is the system's
// shared icon. *made is set to 1 for a created or loaded icon, which the
// caller destroys. Null (and *made 0) for an unknown type, a missing file or
// a custom icon without data.
HICON MakeIconHandle(const KwIcon* icon, HINSTANCE instance, int* made);

// Destroys a handle made above when it was made for the caller; null or a
// shared handle is left alone.
void DestroyCursorHandle(HCURSOR cursor, int made);
void DestroyIconHandle(HICON icon, int made);

} // namespace KwSDK

#endif
