// Lead bytes of the double-byte ANSI code pages.
#include "KwCodePage.h"

#include "KwPlatform.h"

namespace KwSDK {

int KwCodePage::IsLeadByte(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return 0;
    }
}

int KwCodePage::CharacterLength(int codePage, const char* text, int length, int index)
{
    if (index + 1 < length && text[index + 1] != '\0' &&
        IsLeadByte(codePage, static_cast<unsigned char>(text[index])))
        return 2;
    return 1;
}

int KwCodePage::LastSeparator(int codePage, const char* text, int length)
{
    int last = -1;
    for (int i = 0; text != nullptr && i < length;) {
        int step = CharacterLength(codePage, text, length, i);
        if (step == 1 && text[i] == '\\')
            last = i;
        i += step;
    }
    return last;
}

int KwCodePage::EndsWithSeparator(int codePage, const char* text, int length)
{
    return length > 0 && LastSeparator(codePage, text, length) == length - 1;
}

int KwCodePage::System()
{
    return Platform::AnsiCodePage();
}

} // namespace KwSDK
