// The fixed numbers and the small shared rules of the package archive's byte
// layout, used by both the reading and the writing side.
#ifndef KWSDK_KWPACKAGELAYOUT_H
#define KWSDK_KWPACKAGELAYOUT_H

#include "KwString.h"

namespace KwSDK {

// Layout of an archive appended to the launcher (all integers u32 LE):
// program name (zero-terminated), entry count N, N times (path, type, size),
// compressed length L, L bytes of one bzip2 stream, archive offset.
class KwPackageLayout {
public:
    // Bytes moved per piece when copying or decompressing.
    static constexpr int kPieceSize = 10240;
    // Longest program name or entry path accepted, in bytes. No system can
    // create a longer path, so a longer string is a damaged table.
    static constexpr int kMaxPathLength = 32767;
    // The smallest entry record: an empty path's zero byte, type and size.
    static constexpr int kMinEntryBytes = 9;
    // The smallest archive: empty name, count, length, trailing offset.
    static constexpr int kMinArchiveBytes = 13;

    // 1 when an entry path stays inside the extraction folder on every
    // platform: it starts with a backslash and each component between
    // backslashes is non-empty, is not made of dots and spaces only (".",
    // ".."), holds no colon (drive, stream), no forward slash (a second
    // separator) and no control byte, and is no reserved device name.
    // The path is read in characters of the code page (see KwCodePage): a
    // 0x5C byte that ends a double-byte character is no separator. The
    // archive does not record a code page: the packer checks with the one
    // it is told, the extractor with the one the system reads names in.
    static int IsSafeEntryPath(const KwString& path, int codePage);
    // 1 when the program name, a path relative to the extraction folder
    // without the leading backslash, stays inside it as IsSafeEntryPath says.
    static int IsSafeProgramName(const KwString& name, int codePage);

    static unsigned int DecodeU32(const unsigned char* bytes);
    static void EncodeU32(unsigned int value, unsigned char* bytes);

private:
    static int IsSafeComponent(const char* begin, int length);
    static int IsDeviceName(const char* begin, int length);
};

} // namespace KwSDK

#endif
