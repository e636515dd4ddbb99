// Fuzzes the KwGIFDecoder with arbitrary file bytes.
#include "KwGIFDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage::Run<KwSDK::KwGIFDecoder>(data, size);
    return 0;
}
