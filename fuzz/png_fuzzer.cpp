// Fuzzes the KwPNGDecoder (through the toolkit's wrapper of the decoding library)
// with arbitrary file bytes.
#include "KwPNGDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwPNGDecoder>(data, size);
    return 0;
}
