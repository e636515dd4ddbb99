// The platform-independent part of the code page checks.
#include "CartonPackCodePage.h"

namespace KwSDK {

// The number of continuation bytes that a UTF-8 lead byte announces, or -1
// for a byte that cannot start a character.
static int Utf8Followers(unsigned char lead)
{
    if (lead < 0x80)
        return 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 1;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 2;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 3;
    return -1;
}

int CartonPackCodePage::LooksLikeUtf8(const char* bytes, int length)
{
    const unsigned char* text = reinterpret_cast<const unsigned char*>(bytes);
    int wide = 0;
    for (int i = 0; i < length;) {
        int followers = Utf8Followers(text[i]);
        if (followers < 0 || followers > length - i - 1)
            return 0;
        for (int k = 1; k <= followers; ++k) {
            if ((text[i + k] & 0xC0) != 0x80)
                return 0;
        }
        if (followers >= 2)
            wide = 1;
        i += followers + 1;
    }
    return wide;
}

} // namespace KwSDK
