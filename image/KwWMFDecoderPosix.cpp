// Metafile drawing needs GDI: on the host a placeable metafile is
// recognised and measured but not drawn.
#include "KwWMFDecoder.h"

namespace KwSDK {

int KwWMFDecoder::Render(KwBuffer*, KwBuffer*)
{
    return Fail(KW_CODER_UNSUPPORTED);
}

} // namespace KwSDK
