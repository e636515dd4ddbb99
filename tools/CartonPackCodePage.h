// Whether bytes are text of a Windows code page: the wizard shows every name
// and text of a package as bytes of the system's ANSI code page.
#ifndef CARTON_PACK_CODEPAGE_H
#define CARTON_PACK_CODEPAGE_H

namespace KwSDK {

class CartonPackCodePage {
public:
    // 1 when this system can convert from the code page, else 0.
    static int IsKnown(unsigned int codePage);
    // 1 when every byte sequence is a character of the code page, 0 when one
    // is not, -1 when the code page is unknown here.
    static int Fits(unsigned int codePage, const char* bytes, int length);
    // 1 when the bytes are valid UTF-8 holding at least one character of
    // three or more bytes (the form that Chinese text takes in UTF-8).
    static int LooksLikeUtf8(const char* bytes, int length);
};

} // namespace KwSDK

#endif
