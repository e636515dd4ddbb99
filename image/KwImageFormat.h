// Pixel-format codes of a KwImage and file-type codes of the image files the
// toolkit recognises, with the size limits every decoder shares.
#ifndef KWSDK_KWIMAGEFORMAT_H
#define KWSDK_KWIMAGEFORMAT_H

namespace KwSDK {

// Pixel formats. Rows run top to bottom, each exactly width x bytes per pixel
// bytes long with no padding.
const int KW_FORMAT_NONE = 0;
const int KW_FORMAT_RGB = 1003;       // 3 bytes: R, G, B
const int KW_FORMAT_ARGB = 1004;      // 4 bytes: A, R, G, B
const int KW_FORMAT_BGR = 1005;       // 3 bytes: B, G, R
const int KW_FORMAT_BYTE = 1006;      // 1 byte per pixel
const int KW_FORMAT_BGRA = 1007;      // 4 bytes: B, G, R, A
const int KW_FORMAT_3BYTE = 1008;     // 3 bytes per pixel, order unspecified
const int KW_FORMAT_GRAY = 1011;      // 1 byte: grey level, 0 black to 255 white
const int KW_FORMAT_SAMPLES4 = 1027;  // 4 samples as the decoder delivered them
const int KW_FORMAT_BILEVEL = 1028;   // 1 byte: 0 black or 255 white

// GetRegion accepts the codes in this range (those with a known pixel size).
const int KW_FORMAT_REGION_FIRST = 1001;
const int KW_FORMAT_REGION_LAST = 1011;

// File types, as KwImgFileSrc detects them.
const int KW_FILE_UNKNOWN = 1000;
const int KW_FILE_JPEG = 1012;
const int KW_FILE_BMP = 1013;
const int KW_FILE_PNG = 1014;
const int KW_FILE_GIF = 1015;
const int KW_FILE_PCX = 1017;
const int KW_FILE_TIFF = 1018;
const int KW_FILE_JP2 = 1019;
const int KW_FILE_JPC = 1020;
const int KW_FILE_PGX = 1021;
const int KW_FILE_PPM = 1022;
const int KW_FILE_PGM = 1023;
const int KW_FILE_PBM = 1024;
const int KW_FILE_RAS = 1025;
const int KW_FILE_TGA = 1026;
const int KW_FILE_ICO = 1030;
const int KW_FILE_CUR = 1031;
const int KW_FILE_WMF = 1032;
const int KW_FILE_EMF = 1033;

// The largest picture any decoder accepts: each side at most 65535 pixels
// and the decoded pixels at most 512 MiB (for example 11585 x 11585 at 4
// bytes per pixel). Anything larger is refused before memory is allocated.
const int KW_IMAGE_MAX_SIDE = 65535;
const int KW_IMAGE_MAX_BYTES = 0x20000000;

// What a file can justify: any file may decode to KW_IMAGE_FREE_BYTES (for
// example 2048 x 2048 at 4 bytes per pixel); beyond that every byte of the
// file may stand for at most KW_IMAGE_MAX_EXPANSION decoded bytes. A small
// file that claims a huge picture is refused before memory is taken for it.
const int KW_IMAGE_FREE_BYTES = 16 * 1024 * 1024;
const int KW_IMAGE_MAX_EXPANSION = 512;

// Bytes per pixel of a format: 1, 3 or 4; 0 for a code without a defined
// pixel size.
int KwBytesPerPixel(int format);

// The one place where picture sizes are multiplied. Stores width x height x
// bytesPerPixel in *bytes and answers 1 when both sides lie in
// 1..KW_IMAGE_MAX_SIDE, bytesPerPixel in 1..16 and the product does not
// exceed KW_IMAGE_MAX_BYTES; otherwise answers 0 and stores 0.
int KwImageByteCount(long long width, long long height, int bytesPerPixel, int* bytes);

// The decoded bytes a file of fileBytes bytes can justify, never more than
// KW_IMAGE_MAX_BYTES; a negative size (unknown) justifies the maximum.
long long KwImageJustifiedBytes(long long fileBytes);

} // namespace KwSDK

#endif
