// The JPEG 2000 code-stream decoder: the JP2 decoder without the boxes.
#include "KwJPCDecoder2.h"

#include "KwJ2KDecoder.h"

namespace KwSDK {

KwJPCDecoder2::KwJPCDecoder2() : KwJP2Decoder2(KW_J2K_CODESTREAM)
{
    AppendTypeName("KwJPCDecoder2");
}

KwJPCDecoder2::~KwJPCDecoder2()
{
}

} // namespace KwSDK
