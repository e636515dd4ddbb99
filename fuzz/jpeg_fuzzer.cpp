// Fuzzes the KwJPEGDecoder (through the toolkit's wrapper of the decoding library)
// with arbitrary file bytes.
#include "KwJPEGDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwJPEGDecoder>(data, size);
    return 0;
}
