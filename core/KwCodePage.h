// Characters of the double-byte ANSI code pages in byte strings.
#ifndef KWSDK_KWCODEPAGE_H
#define KWSDK_KWCODEPAGE_H

namespace KwSDK {

// In the East Asian double-byte code pages (932, 936, 949, 950) a lead byte
// and the byte after it form one character, and that second byte may be
// 0x5C, the backslash. Code that looks for separators must step over whole
// characters; a 0x5C that does not follow a lead byte is a separator.
class KwCodePage {
public:
    // The code page packages are made for unless told otherwise (GBK).
    static constexpr int kPackageDefault = 936;

    // 1 when the byte starts a two-byte character in the code page; never
    // for a page that is not double-byte (or unknown).
    static int IsLeadByte(int codePage, unsigned char byte);
    // The number of bytes of the character at text[index]: 2 for a lead
    // byte followed by another byte before length, otherwise 1.
    static int CharacterLength(int codePage, const char* text, int length, int index);
    // The position of the last backslash that is a separator, -1 when none.
    static int LastSeparator(int codePage, const char* text, int length);
    // 1 when the text ends in a backslash that is a separator.
    static int EndsWithSeparator(int codePage, const char* text, int length);
    // The code page the system reads file names in (see Platform::AnsiCodePage).
    static int System();

private:
    KwCodePage() = delete;
};

} // namespace KwSDK

#endif
