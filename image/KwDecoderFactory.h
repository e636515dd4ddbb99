// The choice of decoder class for a detected file type.
#ifndef KWSDK_KWDECODERFACTORY_H
#define KWSDK_KWDECODERFACTORY_H

#include "IKwCoder.h"

namespace KwSDK {

// A new decoder for a file-type code of KwImageFormat.h, carrying one
// reference; null for an unknown code or when memory runs out.
IKwCoder* KwCreateDecoder(int fileType);

} // namespace KwSDK

#endif
