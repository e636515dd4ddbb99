// A mouse cursor description: a type number, or the data of a custom cursor.
#ifndef KWSDK_KWCURSOR_H
#define KWSDK_KWCURSOR_H

#include "KwObject.h"

namespace KwSDK {

// Cursor type numbers follow the glyph numbers of the X11 cursor font, so
// portable code names cursors the same way everywhere.
const int KW_CURSOR_NOT_ALLOWED = 0;
const int KW_CURSOR_SIZE_NESW = 12;
const int KW_CURSOR_SIZE_NWSE = 14;
const int KW_CURSOR_SIZE_NS = 16;
const int KW_CURSOR_UP_ARROW = 22;
const int KW_CURSOR_CROSS = 30;
const int KW_CURSOR_HAND = 31;
const int KW_CURSOR_MOVE = 52;
const int KW_CURSOR_SIZE = 53;
const int KW_CURSOR_ICON = 64;
const int KW_CURSOR_ARROW = 68;
const int KW_CURSOR_SIZE_WE = 70;
const int KW_CURSOR_CUSTOM = 77;
const int KW_CURSOR_MISSING = 78;
const int KW_CURSOR_HELP = 92;
const int KW_CURSOR_WORKING = 150;
const int KW_CURSOR_TEXT = 152;

// A fresh cursor is of the custom type 77. A custom cursor is a subclass
// that answers its size, hot spot and the two monochrome bit planes (AND
// mask and XOR mask, one bit per pixel, rows padded to 16 bits); here they
// are empty, so a plain custom cursor yields no native cursor.
class KwCursor : public virtual KwObject {
public:
    KwCursor();
    ~KwCursor() override;

    virtual int GetType() const;
    virtual void SetType(int type);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetHotX() const;
    virtual int GetHotY() const;
    // Two queries that answer 1; nothing reads them.
    virtual int QueryFirst() const;
    virtual int QuerySecond() const;
    virtual const unsigned char* GetAndPlane() const;
    virtual const unsigned char* GetXorPlane() const;

private:
    int m_nType;
};

} // namespace KwSDK

#endif
