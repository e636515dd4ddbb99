// Path rules and little-endian helpers of the package archive.
#include "KwPackageLayout.h"

#include "KwCodePage.h"

#include <cstring>

namespace KwSDK {

// Names that Windows maps to devices in every folder, with or without an
// extension ("NUL.txt" is the null device too).
static const char* const kDeviceNames[] = {
    "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$",
    "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9",
    "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

static char UpperAscii(char ch)
{
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

// The base name is the part before the first dot, with trailing spaces
// dropped, because Windows compares that part against the device names.
int KwPackageLayout::IsDeviceName(const char* begin, int length)
{
    int base = 0;
    while (base < length && begin[base] != '.')
        ++base;
    while (base > 0 && begin[base - 1] == ' ')
        --base;
    for (const char* device : kDeviceNames) {
        int deviceLength = static_cast<int>(strlen(device));
        if (deviceLength != base)
            continue;
        int same = 1;
        for (int i = 0; i < base && same; ++i)
            same = UpperAscii(begin[i]) == device[i];
        if (same)
            return 1;
    }
    return 0;
}

// The bytes are examined one by one. That is safe for double-byte code pages
// too: a trail byte is never a dot, colon, slash or control byte.
int KwPackageLayout::IsSafeComponent(const char* begin, int length)
{
    if (length == 0)
        return 0;
    int onlyDots = 1;
    for (int i = 0; i < length; ++i) {
        unsigned char ch = static_cast<unsigned char>(begin[i]);
        if (ch < 0x20 || ch == ':' || ch == '/')
            return 0;
        if (ch != '.' && ch != ' ')
            onlyDots = 0;
    }
    return !onlyDots && !IsDeviceName(begin, length);
}

int KwPackageLayout::IsSafeEntryPath(const KwString& path, int codePage)
{
    const char* text = path.GetText();
    int length = path.GetLength();
    if (!text || length < 2 || length > kMaxPathLength || text[0] != '\\')
        return 0;
    int start = 1;
    for (int i = 1; i <= length;) {
        if (i < length && text[i] != '\\') {
            i += KwCodePage::CharacterLength(codePage, text, length, i);
            continue;
        }
        if (!IsSafeComponent(text + start, i - start))
            return 0;
        start = i + 1;
        ++i;
    }
    return 1;
}

int KwPackageLayout::IsSafeProgramName(const KwString& name, int codePage)
{
    if (name.GetLength() == 0 || name.GetLength() >= kMaxPathLength)
        return 0;
    KwString path("\\");
    if (!path.Append(name.GetText()))
        return 0;
    return IsSafeEntryPath(path, codePage);
}

unsigned int KwPackageLayout::DecodeU32(const unsigned char* bytes)
{
    return static_cast<unsigned int>(bytes[0]) | (static_cast<unsigned int>(bytes[1]) << 8) |
           (static_cast<unsigned int>(bytes[2]) << 16) | (static_cast<unsigned int>(bytes[3]) << 24);
}

void KwPackageLayout::EncodeU32(unsigned int value, unsigned char* bytes)
{
    bytes[0] = static_cast<unsigned char>(value & 0xFF);
    bytes[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
    bytes[2] = static_cast<unsigned char>((value >> 16) & 0xFF);
    bytes[3] = static_cast<unsigned char>((value >> 24) & 0xFF);
}

} // namespace KwSDK
