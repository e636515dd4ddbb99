// The JPEG 2000 file decoder: checks the picture size on the header alone,
// then lets the JPEG 2000 core decode into the pixel buffer.
#include "KwJP2Decoder2.h"

#include "KwImageParams.h"
#include "KwJ2KDecoder.h"
#include "KwStreamReader.h"

namespace KwSDK {

namespace {

// What the decoding library keeps for each tile and for each component of
// each tile while it reads the main header (coding parameters), rounded up.
const long long kTileStateBytes = 8 * 1024;
const long long kTileComponentStateBytes = 2 * 1024;
// The smallest tile-part a complete code stream holds for every tile
// (start-of-tile and start-of-data markers).
const long long kLeastTileBytes = 14;

// Moves the reader to the code stream of a JP2 file (the contents of its
// first "jp2c" box); 1 when found.
int FindCodestream(KwStreamReader& reader)
{
    long long position = 0;
    while (reader.Seek(position)) {
        long long length = reader.ReadU32BE();
        unsigned int type = reader.ReadU32BE();
        long long header = 8;
        if (length == 1) {
            // A 64-bit length: boxes past 2 GB do not occur in files read here.
            unsigned int high = reader.ReadU32BE();
            length = high != 0 ? -1 : static_cast<long long>(reader.ReadU32BE());
            header = 16;
        } else if (length == 0) {
            length = reader.GetSize() - position;
        }
        if (!reader.Ok() || length < header) {
            return 0;
        }
        if (type == 0x6A703263u) {  // "jp2c"
            return reader.Seek(position + header);
        }
        position += length;
    }
    return 0;
}

// Reads the image and tile size marker, which must follow the start of the
// code stream, and checks that the file can carry the tiles it declares and
// that the library's state for them fits in what the file justifies: a few
// bytes of header must not make the library allocate hundreds of megabytes.
// Answers 0 or the decoder's error code.
unsigned int CheckSizeMarker(IKwIOStream* stream, int base, int container, long long limit)
{
    KwStreamReader reader(stream, base);
    if (container == KW_J2K_FILE && !FindCodestream(reader)) {
        return KW_CODER_BAD_HEADER;
    }
    if (reader.ReadU16BE() != 0xFF4Fu || reader.ReadU16BE() != 0xFF51u) {
        return KW_CODER_BAD_HEADER;
    }
    reader.Skip(4);  // marker length, capabilities
    long long size[2], origin[2], tile[2], tileOrigin[2];
    size[0] = reader.ReadU32BE();
    size[1] = reader.ReadU32BE();
    origin[0] = reader.ReadU32BE();
    origin[1] = reader.ReadU32BE();
    tile[0] = reader.ReadU32BE();
    tile[1] = reader.ReadU32BE();
    tileOrigin[0] = reader.ReadU32BE();
    tileOrigin[1] = reader.ReadU32BE();
    long long components = reader.ReadU16BE();
    if (!reader.Ok() || components == 0) {
        return KW_CODER_BAD_HEADER;
    }
    long long tiles = 1;
    for (int axis = 0; axis < 2; ++axis) {
        if (tile[axis] == 0 || tileOrigin[axis] > origin[axis] || size[axis] <= origin[axis] ||
            tileOrigin[axis] + tile[axis] <= origin[axis]) {
            return KW_CODER_BAD_HEADER;
        }
        tiles *= (size[axis] - tileOrigin[axis] + tile[axis] - 1) / tile[axis];
        if (tiles > 0xFFFFFFFFLL) {
            return KW_CODER_TOO_LARGE;
        }
    }
    long long state = tiles * (kTileStateBytes + components * kTileComponentStateBytes);
    if (tiles * kLeastTileBytes > reader.GetSize() || state > limit) {
        return KW_CODER_TOO_LARGE;
    }
    return 0;
}

// Reads the header with the core from the start of the file; answers the
// decoder's error code for a failure, 0 on success.
unsigned int OpenCore(KwJ2KDecoder* core, IKwIOStream* stream, int base, int container, long long limit)
{
    if (stream == nullptr) {
        return KW_CODER_BAD_HEADER;
    }
    unsigned int refused = CheckSizeMarker(stream, base, container, limit);
    if (refused != 0) {
        return refused;
    }
    if (!stream->Seek(base, KW_SEEK_SET)) {
        return KW_CODER_BAD_HEADER;
    }
    if (!core->ReadHeader(stream, container)) {
        return core->GetErrorCode() == KW_J2K_ALLOC_FAIL ? KW_CODER_NO_MEMORY : KW_CODER_BAD_HEADER;
    }
    if (core->GetWidth() > static_cast<unsigned int>(KW_IMAGE_MAX_SIDE) ||
        core->GetHeight() > static_cast<unsigned int>(KW_IMAGE_MAX_SIDE) ||
        core->GetSampleBytes() > static_cast<unsigned long long>(KW_J2K_MAX_SAMPLE_BYTES)) {
        return KW_CODER_TOO_LARGE;
    }
    return 0;
}

} // namespace

KwJP2Decoder2::KwJP2Decoder2() : m_nContainer(KW_J2K_FILE), m_nPrecision(0)
{
    AppendTypeName("KwJP2Decoder2");
}

KwJP2Decoder2::KwJP2Decoder2(int container) : m_nContainer(container), m_nPrecision(0)
{
    AppendTypeName("KwJP2Decoder2");
}

KwJP2Decoder2::~KwJP2Decoder2()
{
}

void KwJP2Decoder2::ResetState()
{
    m_nPrecision = 0;
    IKwCoder::ResetState();
}

int KwJP2Decoder2::GetPrecision() const
{
    return m_nPrecision;
}

int KwJP2Decoder2::ReadHeader()
{
    KwJ2KDecoder core;
    unsigned int error = OpenCore(&core, GetStream(), GetStreamBase(), m_nContainer,
                                  KwImageJustifiedBytes(GetFileBytes()));
    if (error != 0) {
        return Fail(error);
    }
    m_nPrecision = static_cast<int>(core.GetPrecision());
    SetHeaderExtras(static_cast<int>(core.GetComponents()), 0, 0);
    return SetHeaderInfo(static_cast<int>(core.GetWidth()), static_cast<int>(core.GetHeight()),
                         KW_FORMAT_RGB);
}

// The core keeps no state between the two phases: the header is read again
// and must still describe the picture the first phase saw.
// The library's sample planes count against the file's allowance with the
// pixels, before either is allocated.
int KwJP2Decoder2::DecodePixels(KwBuffer* pixels)
{
    KwJ2KDecoder core;
    unsigned int error = OpenCore(&core, GetStream(), GetStreamBase(), m_nContainer, GetBytesLeft());
    if (error != 0) {
        return Fail(error == KW_CODER_BAD_HEADER ? KW_CODER_BAD_DATA : error);
    }
    if (core.GetWidth() != static_cast<unsigned int>(GetWidth()) ||
        core.GetHeight() != static_cast<unsigned int>(GetHeight())) {
        return Fail(KW_CODER_BAD_DATA);
    }
    if (!ReserveBytes(static_cast<long long>(core.GetSampleBytes())) ||
        !AllocPixels(pixels, GetWidth(), GetHeight(), 3)) {
        return 0;
    }
    if (!core.DecodeRGB(pixels->GetPointer(0), static_cast<unsigned long long>(pixels->GetSize()))) {
        return Fail(core.GetErrorCode() == KW_J2K_ALLOC_FAIL ? KW_CODER_NO_MEMORY : KW_CODER_BAD_DATA);
    }
    ReportProgress(GetHeight(), GetHeight());
    return 1;
}

int KwJP2Decoder2::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nPrecision));
    return 1;
}

} // namespace KwSDK
