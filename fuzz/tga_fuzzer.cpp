// Fuzzes the KwTGADecoder with arbitrary file bytes.
#include "KwTGADecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwTGADecoder>(data, size);
    return 0;
}
