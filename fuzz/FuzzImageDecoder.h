// Runs one decoder over fuzzer input: opens the bytes and asks for every
// result the decoder offers; the sanitizers judge what happens.
#ifndef CARTON_FUZZ_IMAGE_DECODER_H
#define CARTON_FUZZ_IMAGE_DECODER_H

#include "IKwCoder.h"
#include "KwParam.h"

#include <cstddef>
#include <cstdint>

namespace FuzzImage {

// Touches every pixel byte, so reads of uninitialised or freed memory show.
inline unsigned int Checksum(KwSDK::KwImage* image)
{
    unsigned int sum = 0;
    KwSDK::KwBuffer* pixels = image->GetPixels();
    if (pixels != nullptr) {
        const unsigned char* bytes = pixels->GetPointer(0);
        for (int i = 0; bytes != nullptr && i < pixels->GetSize(); ++i) {
            sum = sum * 31 + bytes[i];
        }
        pixels->Release();
    }
    KwSDK::KwBuffer* region = image->GetRegion(1, 1, image->GetWidth() - 1, image->GetHeight() - 1);
    if (region != nullptr) {
        sum += static_cast<unsigned int>(region->GetSize());
        region->Release();
    }
    return sum;
}

inline void Exercise(KwSDK::IKwCoder* decoder, const uint8_t* data, size_t size)
{
    if (size == 0 || size > 0x1000000 || !decoder->OpenMemory(data, static_cast<int>(size))) {
        return;
    }
    KwSDK::KwParam params;
    decoder->GetParams(&params);
    volatile unsigned int sink = 0;
    KwSDK::KwImage* image = decoder->GetImage();
    if (image != nullptr) {
        sink = sink + Checksum(image);
        image->Release();
    }
    KwSDK::KwImageGroup* group = decoder->GetImageGroup();
    for (int i = 0; group != nullptr && i < group->GetCount(); ++i) {
        KwSDK::KwImage* frame = group->GetAt(i);
        sink = sink + Checksum(frame);
        frame->Release();
    }
    if (group != nullptr) {
        group->Release();
    }
}

template <class T>
void Run(const uint8_t* data, size_t size)
{
    T* decoder = new T();
    decoder->AddRef();
    Exercise(decoder, data, size);
    decoder->Release();
}

} // namespace FuzzImage

#endif
