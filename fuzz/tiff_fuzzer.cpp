// Fuzzes the KwTIFFDecoder (through the toolkit's wrapper of the decoding library)
// with arbitrary file bytes.
#include "KwTIFFDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwTIFFDecoder>(data, size);
    return 0;
}
