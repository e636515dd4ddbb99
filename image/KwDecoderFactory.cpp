// Maps a detected file type to a new instance of its decoder class.
#include "KwDecoderFactory.h"

#include "KwBMPDecoder.h"
#include "KwEMFDecoder.h"
#include "KwGIFDecoder.h"
#include "KwICODecoder.h"
#include "KwImageFormat.h"
#include "KwJP2Decoder2.h"
#include "KwJPCDecoder2.h"
#include "KwJPEGDecoder.h"
#include "KwPCXDecoder.h"
#include "KwPGXDecoder.h"
#include "KwPNGDecoder.h"
#include "KwPNMDecoder.h"
#include "KwRASDecoder.h"
#include "KwTGADecoder.h"
#include "KwTIFFDecoder.h"
#include "KwWMFDecoder.h"

#include <new>

namespace KwSDK {

namespace {

IKwCoder* NewDecoder(int fileType)
{
    switch (fileType) {
    case KW_FILE_BMP: return new (std::nothrow) KwBMPDecoder();
    case KW_FILE_GIF: return new (std::nothrow) KwGIFDecoder();
    case KW_FILE_ICO:
    case KW_FILE_CUR: return new (std::nothrow) KwICODecoder();
    case KW_FILE_PCX: return new (std::nothrow) KwPCXDecoder();
    case KW_FILE_PGX: return new (std::nothrow) KwPGXDecoder();
    case KW_FILE_PPM:
    case KW_FILE_PGM:
    case KW_FILE_PBM: return new (std::nothrow) KwPNMDecoder();
    case KW_FILE_RAS: return new (std::nothrow) KwRASDecoder();
    case KW_FILE_TGA: return new (std::nothrow) KwTGADecoder();
    case KW_FILE_PNG: return new (std::nothrow) KwPNGDecoder();
    case KW_FILE_JPEG: return new (std::nothrow) KwJPEGDecoder();
    case KW_FILE_TIFF: return new (std::nothrow) KwTIFFDecoder();
    case KW_FILE_JP2: return new (std::nothrow) KwJP2Decoder2();
    case KW_FILE_JPC: return new (std::nothrow) KwJPCDecoder2();
    case KW_FILE_WMF: return new (std::nothrow) KwWMFDecoder();
    case KW_FILE_EMF: return new (std::nothrow) KwEMFDecoder();
    default: return nullptr;
    }
}

} // namespace

IKwCoder* KwCreateDecoder(int fileType)
{
    IKwCoder* decoder = NewDecoder(fileType);
    if (decoder != nullptr) {
        decoder->AddRef();
    }
    return decoder;
}

} // namespace KwSDK
