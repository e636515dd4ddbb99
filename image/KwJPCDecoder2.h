// The JPEG 2000 code-stream decoder (a bare code stream, ".jpc"), on the
// JPEG 2000 core: delivers R, G, B (1003).
#ifndef KWSDK_KWJPCDECODER2_H
#define KWSDK_KWJPCDECODER2_H

#include "KwJP2Decoder2.h"

namespace KwSDK {

// Everything but the container is shared with the JP2 file decoder.
class KwJPCDecoder2 : public KwJP2Decoder2 {
public:
    KwJPCDecoder2();
    ~KwJPCDecoder2() override;

private:
    KwJPCDecoder2(const KwJPCDecoder2&) = delete;
    KwJPCDecoder2& operator=(const KwJPCDecoder2&) = delete;
};

} // namespace KwSDK

#endif
