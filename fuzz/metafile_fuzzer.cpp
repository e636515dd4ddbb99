// Fuzzes the metafile decoders' portable part: the headers, the natural
// size, the memory allowance and the record walk. Input with the placeable
// key goes to the WMF decoder, anything else to the EMF decoder; both record
// walks also see the raw bytes.
#include "KwEMFDecoder.h"
#include "KwWMFDecoder.h"

#include "FuzzImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0x1000000) {
        return 0;
    }
    KwSDK::KwWMFDecoder::CheckRecords(data, static_cast<int>(size));
    KwSDK::KwEMFDecoder::CheckRecords(data, static_cast<int>(size));
    if (size >= 4 && data[0] == 0xD7 && data[1] == 0xCD && data[2] == 0xC6 && data[3] == 0x9A) {
        FuzzImage::Run<KwSDK::KwWMFDecoder>(data, size);
    } else {
        FuzzImage::Run<KwSDK::KwEMFDecoder>(data, size);
    }
    return 0;
}
