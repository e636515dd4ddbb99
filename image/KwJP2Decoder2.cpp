// The JPEG 2000 file decoder: checks the picture size on the header alone,
// then lets the JPEG 2000 core decode into the pixel buffer.
#include "KwJP2Decoder2.h"

#include "KwImageParams.h"
#include "KwJ2KDecoder.h"

namespace KwSDK {

namespace {

// Reads the header with the core from the start of the file; answers the
// decoder's error code for a failure, 0 on success.
unsigned int OpenCore(KwJ2KDecoder* core, IKwIOStream* stream, int base, int container)
{
    if (stream == nullptr || !stream->Seek(base, KW_SEEK_SET)) {
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
    unsigned int error = OpenCore(&core, GetStream(), GetStreamBase(), m_nContainer);
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
int KwJP2Decoder2::DecodePixels(KwBuffer* pixels)
{
    if (!AllocPixels(pixels, GetWidth(), GetHeight(), 3)) {
        return 0;
    }
    KwJ2KDecoder core;
    unsigned int error = OpenCore(&core, GetStream(), GetStreamBase(), m_nContainer);
    if (error != 0) {
        return Fail(error == KW_CODER_BAD_HEADER ? KW_CODER_BAD_DATA : error);
    }
    if (core.GetWidth() != static_cast<unsigned int>(GetWidth()) ||
        core.GetHeight() != static_cast<unsigned int>(GetHeight())) {
        return Fail(KW_CODER_BAD_DATA);
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
