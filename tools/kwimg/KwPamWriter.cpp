// Conversion of the toolkit's pixel formats to R, G, B, A rows, and the
// PAM file around them.
#include "KwPamWriter.h"

#include "KwFileStream.h"
#include "KwImageFormat.h"

#include <cstdlib>

namespace KwSDK {

int KwPamWriter::ToRGBA(int format, const unsigned char* p, unsigned char* rgba)
{
    unsigned char r, g, b, a = 255;
    switch (format) {
    case KW_FORMAT_RGB:
    case KW_FORMAT_3BYTE:
        r = p[0], g = p[1], b = p[2];
        break;
    case KW_FORMAT_ARGB:
        a = p[0], r = p[1], g = p[2], b = p[3];
        break;
    case KW_FORMAT_BGR:
        b = p[0], g = p[1], r = p[2];
        break;
    case KW_FORMAT_BGRA:
        b = p[0], g = p[1], r = p[2], a = p[3];
        break;
    case KW_FORMAT_SAMPLES4:
        r = p[0], g = p[1], b = p[2], a = p[3];
        break;
    case KW_FORMAT_BYTE:
    case KW_FORMAT_GRAY:
    case KW_FORMAT_BILEVEL:
        r = g = b = p[0];
        break;
    default:
        return 0;
    }
    rgba[0] = r;
    rgba[1] = g;
    rgba[2] = b;
    rgba[3] = a;
    return 1;
}

namespace {

// Converts every pixel into a new block of width x height x 4 bytes (freed
// by the caller), or null.
unsigned char* ConvertPixels(KwImage* image, const char** reason)
{
    int format = image->GetFormat();
    int size = KwBytesPerPixel(format);
    int width = image->GetWidth();
    int height = image->GetHeight();
    int rgbaBytes = 0;
    KwBuffer* pixels = image->GetPixels();
    unsigned char* rgba = nullptr;
    if (size == 0 || !KwImageByteCount(width, height, 4, &rgbaBytes)) {
        *reason = "unsupported pixel format or size";
    } else if (pixels == nullptr || pixels->GetSize() < rgbaBytes / 4 * size) {
        *reason = "the picture has fewer pixels than its size";
    } else if ((rgba = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(rgbaBytes)))) == nullptr) {
        *reason = "out of memory";
    } else {
        const unsigned char* source = pixels->GetPointer(0);
        for (int i = 0; i < rgbaBytes / 4; ++i) {
            KwPamWriter::ToRGBA(format, source + static_cast<size_t>(i) * size, rgba + static_cast<size_t>(i) * 4);
        }
    }
    if (pixels != nullptr) {
        pixels->Release();
    }
    return rgba;
}

} // namespace

int KwPamWriter::Write(KwImage* image, const KwString& path, const char** reason)
{
    unsigned char* rgba = ConvertPixels(image, reason);
    if (rgba == nullptr) {
        return 0;
    }
    KwString header;
    header.Format("P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
                  image->GetWidth(), image->GetHeight());
    int bytes = image->GetWidth() * image->GetHeight() * 4;
    KwFileStream file;
    int ok = file.Open(path, KW_MODE_WRITE) &&
             file.Write(header.GetText(), header.GetLength()) == header.GetLength() &&
             file.Write(rgba, bytes) == bytes;
    ok = file.IsOpen() && file.Close() && ok;
    std::free(rgba);
    if (!ok) {
        *reason = "cannot write the output file";
    }
    return ok ? 1 : 0;
}

} // namespace KwSDK
