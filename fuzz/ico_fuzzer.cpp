// Fuzzes the KwICODecoder with arbitrary file bytes.
#include "KwICODecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwICODecoder>(data, size);
    return 0;
}
