// Fuzzes the KwPGXDecoder with arbitrary file bytes.
#include "KwPGXDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwPGXDecoder>(data, size);
    return 0;
}
