// Fuzzes the JPEG 2000 decoders with arbitrary file bytes: input that starts
// like a JP2 file (a box header) goes to the file decoder, anything else to
// the code-stream decoder.
#include "KwJP2Decoder2.h"
#include "KwJPCDecoder2.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= 2 && data[0] == 0xFF && data[1] == 0x4F) {
        FuzzImage::Run<KwSDK::KwJPCDecoder2>(data, size);
    } else {
        FuzzImage::Run<KwSDK::KwJP2Decoder2>(data, size);
    }
    return 0;
}
