// Pixel sizes of the formats and the one overflow-checked picture size.
#include "KwImageFormat.h"

namespace KwSDK {

int KwBytesPerPixel(int format)
{
    switch (format) {
    case KW_FORMAT_BYTE:
    case KW_FORMAT_GRAY:
    case KW_FORMAT_BILEVEL:
        return 1;
    case KW_FORMAT_RGB:
    case KW_FORMAT_BGR:
    case KW_FORMAT_3BYTE:
        return 3;
    case KW_FORMAT_ARGB:
    case KW_FORMAT_BGRA:
    case KW_FORMAT_SAMPLES4:
        return 4;
    default:
        return 0;
    }
}

int KwImageByteCount(long long width, long long height, int bytesPerPixel, int* bytes)
{
    if (bytes != nullptr) {
        *bytes = 0;
    }
    if (width < 1 || width > KW_IMAGE_MAX_SIDE || height < 1 || height > KW_IMAGE_MAX_SIDE) {
        return 0;
    }
    if (bytesPerPixel < 1 || bytesPerPixel > 16) {
        return 0;
    }
    // Both sides are below 2^16 and the pixel size below 2^5, so the product
    // stays below 2^37 and cannot overflow a 64-bit value.
    long long total = width * height * bytesPerPixel;
    if (total > KW_IMAGE_MAX_BYTES) {
        return 0;
    }
    if (bytes != nullptr) {
        *bytes = static_cast<int>(total);
    }
    return 1;
}

long long KwImageJustifiedBytes(long long fileBytes)
{
    if (fileBytes < 0 || fileBytes >= KW_IMAGE_MAX_BYTES / KW_IMAGE_MAX_EXPANSION) {
        return KW_IMAGE_MAX_BYTES;
    }
    long long justified = fileBytes * KW_IMAGE_MAX_EXPANSION;
    return justified < KW_IMAGE_FREE_BYTES ? KW_IMAGE_FREE_BYTES : justified;
}

} // namespace KwSDK
