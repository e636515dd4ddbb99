// Native cursor and icon handles made from KwCursor and KwIcon descriptions.
#include "KwNativeHandles.h"

#include "KwCursor.h"
#include "KwIcon.h"

namespace KwSDK {

namespace {

struct CURSORTYPE {
    int type;
    WORD resource;
};

// Toolkit cursor types and the system cursors they stand for. Type 78
// names system cursor 12, which does not exist, so it yields no cursor.
const CURSORTYPE kCursorTypes[] = {
    {KW_CURSOR_NOT_ALLOWED, 32648}, {KW_CURSOR_SIZE_NESW, 32643}, {KW_CURSOR_SIZE_NWSE, 32642},
    {KW_CURSOR_SIZE_NS, 32645},     {KW_CURSOR_UP_ARROW, 32516},  {KW_CURSOR_CROSS, 32515},
    {KW_CURSOR_HAND, 32649},        {KW_CURSOR_MOVE, 32646},      {KW_CURSOR_SIZE, 32640},
    {KW_CURSOR_ICON, 32641},        {KW_CURSOR_ARROW, 32512},     {KW_CURSOR_SIZE_WE, 32644},
    {KW_CURSOR_MISSING, 12},        {KW_CURSOR_HELP, 32651},      {KW_CURSOR_WORKING, 32650},
    {KW_CURSOR_TEXT, 32513},
};

const int kFileIconSize = 64;

HCURSOR MakeCustomCursor(const KwCursor* cursor, HINSTANCE instance)
{
    const unsigned char* andPlane = cursor->GetAndPlane();
    const unsigned char* xorPlane = cursor->GetXorPlane();
    if (andPlane == nullptr || xorPlane == nullptr || cursor->GetWidth() <= 0 ||
        cursor->GetHeight() <= 0) {
        return nullptr;
    }
    return CreateCursor(instance, cursor->GetHotX(), cursor->GetHotY(), cursor->GetWidth(),
                        cursor->GetHeight(), andPlane, xorPlane);
}

HICON MakeCustomIcon(const KwIcon* icon, HINSTANCE instance)
{
    const unsigned char* andBits = icon->GetAndBits();
    const unsigned char* xorBits = icon->GetXorBits();
    if (andBits == nullptr || xorBits == nullptr || icon->GetWidth() <= 0 ||
        icon->GetHeight() <= 0) {
        return nullptr;
    }
    return CreateIcon(instance, icon->GetWidth(), icon->GetHeight(),
                      static_cast<BYTE>(icon->GetPlanes()),
                      static_cast<BYTE>(icon->GetBitsPerPixel()), andBits, xorBits);
}

HICON LoadFileIcon(const KwIcon* icon)
{
    const char* file = icon->GetResource();
    if (file == nullptr || file[0] == '\0') {
        return nullptr;
    }
    return static_cast<HICON>(
        LoadImageA(nullptr, file, IMAGE_ICON, kFileIconSize, kFileIconSize, LR_LOADFROMFILE));
}

} // namespace

HCURSOR MakeCursorHandle(const KwCursor* cursor, HINSTANCE instance, int* made)
{
    *made = 0;
    if (cursor == nullptr) {
        return nullptr;
    }
    int type = cursor->GetType();
    if (type == KW_CURSOR_CUSTOM) {
        HCURSOR custom = MakeCustomCursor(cursor, instance);
        *made = custom != nullptr ? 1 : 0;
        return custom;
    }
    for (const CURSORTYPE& entry : kCursorTypes) {
        if (entry.type == type) {
            return LoadCursorA(nullptr, MAKEINTRESOURCEA(entry.resource));
        }
    }
    return nullptr;
}

HICON MakeIconHandle(const KwIcon* icon, HINSTANCE instance, int* made)
{
    *made = 0;
    if (icon == nullptr) {
        return nullptr;
    }
    HICON handle = nullptr;
    if (icon->GetType() == KW_ICON_CUSTOM) {
        handle = MakeCustomIcon(icon, instance);
    } else if (icon->GetType() == KW_ICON_FILE) {
        handle = LoadFileIcon(icon);
    } else {
        const char* resource = icon->GetResource();
        return resource != nullptr ? LoadIconA(nullptr, resource) : nullptr;
    }
    *made = handle != nullptr ? 1 : 0;
    return handle;
}

void DestroyCursorHandle(HCURSOR cursor, int made)
{
    if (cursor != nullptr && made) {
        DestroyCursor(cursor);
    }
}

void DestroyIconHandle(HICON icon, int made)
{
    if (icon != nullptr && made) {
        DestroyIcon(icon);
    }
}

} // namespace KwSDK
