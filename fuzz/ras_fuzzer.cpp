// Fuzzes the KwRASDecoder with arbitrary file bytes.
#include "KwRASDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwRASDecoder>(data, size);
    return 0;
}
