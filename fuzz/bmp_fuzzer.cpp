// Fuzzes the KwBMPDecoder with arbitrary file bytes.
#include "KwBMPDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwBMPDecoder>(data, size);
    return 0;
}
