// Fuzzes the KwPNMDecoder with arbitrary file bytes.
#include "KwPNMDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwPNMDecoder>(data, size);
    return 0;
}
