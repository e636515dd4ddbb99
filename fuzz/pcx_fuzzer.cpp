// Fuzzes the KwPCXDecoder with arbitrary file bytes.
#include "KwPCXDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwPCXDecoder>(data, size);
    return 0;
}
