// Blending pictures with an alpha channel over a background colour.
#include "KwDisplayableCopy.h"

#include "KwBuffer.h"
#include "KwImageFormat.h"

#include <new>

namespace KwSDK {

namespace {

// Offsets of blue, green, red and alpha inside a 4-byte pixel.
struct CHANNELS {
    int nBlue;
    int nGreen;
    int nRed;
    int nAlpha;
};

const CHANNELS kArgb = {3, 2, 1, 0};
const CHANNELS kBgra = {0, 1, 2, 3};

unsigned char Blend(int color, int background, int alpha)
{
    return static_cast<unsigned char>((color * alpha + background * (255 - alpha) + 127) / 255);
}

void BlendPixels(const unsigned char* source, unsigned char* target, int count,
                 const CHANNELS& channels, unsigned int background)
{
    int red = static_cast<int>(background >> 16 & 0xFF);
    int green = static_cast<int>(background >> 8 & 0xFF);
    int blue = static_cast<int>(background & 0xFF);
    for (int i = 0; i < count; ++i, source += 4, target += 3) {
        int alpha = source[channels.nAlpha];
        target[0] = Blend(source[channels.nBlue], blue, alpha);
        target[1] = Blend(source[channels.nGreen], green, alpha);
        target[2] = Blend(source[channels.nRed], red, alpha);
    }
}

} // namespace

int KwNeedsDisplayableCopy(int format)
{
    return format == KW_FORMAT_ARGB || format == KW_FORMAT_BGRA ? 1 : 0;
}

KwImage* KwDisplayableCopy(KwImage* image, unsigned int background)
{
    if (image == nullptr || !KwNeedsDisplayableCopy(image->GetFormat())) {
        return nullptr;
    }
    int width = image->GetWidth();
    int height = image->GetHeight();
    int sourceBytes = 0;
    int targetBytes = 0;
    if (!KwImageByteCount(width, height, 4, &sourceBytes) ||
        !KwImageByteCount(width, height, 3, &targetBytes)) {
        return nullptr;
    }
    KwBuffer* pixels = image->GetPixels();
    if (pixels == nullptr || pixels->GetSize() < sourceBytes) {
        if (pixels != nullptr) {
            pixels->Release();
        }
        return nullptr;
    }
    KwBuffer* blended = new (std::nothrow) KwBuffer(targetBytes);
    KwImage* copy = nullptr;
    if (blended != nullptr) {
        blended->AddRef();
        if (blended->GetSize() == targetBytes) {
            const CHANNELS& channels = image->GetFormat() == KW_FORMAT_ARGB ? kArgb : kBgra;
            BlendPixels(pixels->GetPointer(0), blended->GetPointer(0), width * height, channels,
                        background);
            copy = new (std::nothrow) KwImage(KW_FORMAT_BGR, blended, image->GetX(), image->GetY(),
                                              width, height, image->GetDelay());
        }
        blended->Release();
    }
    pixels->Release();
    if (copy != nullptr) {
        copy->AddRef();
        unsigned long long resolution = image->GetResolution();
        copy->SetResolution(static_cast<unsigned int>(resolution),
                            static_cast<unsigned int>(resolution >> 32));
    }
    return copy;
}

} // namespace KwSDK
