// The toolkit's codes for navigation and editing keys. Key handlers receive
// the system's virtual-key code for every other key (letters, digits and the
// space bar keep their character codes).
#ifndef KWSDK_KWKEYCODES_H
#define KWSDK_KWKEYCODES_H

namespace KwSDK {

// These are the X11 key symbol values, so that portable code names keys the
// same way everywhere.
const int KW_KEY_BACKSPACE = 0xFF08;
const int KW_KEY_TAB = 0xFF09;
const int KW_KEY_LINEFEED = 0xFF0A;
const int KW_KEY_RETURN = 0xFF0D;
const int KW_KEY_HOME = 0xFF50;
const int KW_KEY_LEFT = 0xFF51;
const int KW_KEY_UP = 0xFF52;
const int KW_KEY_RIGHT = 0xFF53;
const int KW_KEY_DOWN = 0xFF54;
const int KW_KEY_PAGEUP = 0xFF55;
const int KW_KEY_PAGEDOWN = 0xFF56;
const int KW_KEY_END = 0xFF57;
const int KW_KEY_DELETE = 0xFFFF;
const int KW_KEY_SPACE = 32;

} // namespace KwSDK

#endif
