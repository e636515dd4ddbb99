// Metafile drawing needs GDI: on the host an enhanced metafile is
// recognised and measured but not drawn.
#include "KwEMFDecoder.h"

namespace KwSDK {

int KwEMFDecoder::Render(KwBuffer*, KwBuffer*)
{
    return Fail(KW_CODER_UNSUPPORTED);
}

} // namespace KwSDK
