// Turns a KwFont description into a system font for one drawing call.
#ifndef KWSDK_KWFONTMAPPING_H
#define KWSDK_KWFONTMAPPING_H

#include <windows.h>

namespace KwSDK {

class KwFont;

// A new GDI font for the description, which the caller deletes after the
// call that needed it: height and width as the font reports them (positive,
// so the system reads a cell height), escapement and orientation 0, the
// font's weight and flags, the default character set, default precision,
// quality and pitch, and the font's face. Null for a null font or when the
// system cannot make it.
HFONT CreateGdiFont(const KwFont* font);

} // namespace KwSDK

#endif
