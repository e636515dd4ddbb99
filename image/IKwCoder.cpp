// The shared part of every decoder: opening sources, decoding once, building
// images and groups, publishing header values and the pins.
#include "IKwCoder.h"

#include "IKwPin.h"
#include "KwBufferStream.h"
#include "KwFileStream.h"
#include "KwImageParams.h"
#include "KwStreamReader.h"

#include <cstring>
#include <new>

namespace KwSDK {

IKwCoder::IKwCoder()
    : m_pStream(nullptr), m_pDecoded(nullptr), m_pListener(nullptr), m_nError(0), m_bReady(0),
      m_bDecodeFailed(0), m_nWidth(0), m_nHeight(0), m_nFormat(0), m_nComponents(0),
      m_nXPerMeter(0), m_nYPerMeter(0), m_nStreamBase(0), m_nFileBytes(-1), m_nReserved(0)
{
    AppendTypeName("IKwCoder");
}

IKwCoder::~IKwCoder()
{
    if (m_pDecoded != nullptr) {
        m_pDecoded->Release();
    }
    if (m_pStream != nullptr) {
        m_pStream->Release();
    }
    if (m_pListener != nullptr) {
        m_pListener->Release();
    }
}

unsigned int IKwCoder::GetErrorCode() const
{
    return m_nError;
}

const char* IKwCoder::GetErrorMessage(unsigned int code) const
{
    switch (code) {
    case KW_CODER_OPEN_FAIL: return "Open image source fail";
    case KW_CODER_PARAM: return "Paramater is wrong";
    case KW_CODER_BAD_HEADER: return "Image header is invalid";
    case KW_CODER_TOO_LARGE: return "Image is too large";
    case KW_CODER_BAD_DATA: return "Image data is invalid or truncated";
    case KW_CODER_NO_MEMORY: return "Alloc memory fail";
    case KW_CODER_NOT_READY: return "Image header is not read";
    case KW_CODER_UNSUPPORTED: return "Image kind is not supported";
    default: return "Success";
    }
}

KwImage* IKwCoder::GetImage()
{
    KwBuffer* pixels = GetPixels();
    if (pixels == nullptr) {
        return nullptr;
    }
    KwImage* image = new (std::nothrow) KwImage(m_nFormat, pixels, 0, 0, m_nWidth, m_nHeight, 0);
    pixels->Release();
    if (image == nullptr) {
        Fail(KW_CODER_NO_MEMORY);
        return nullptr;
    }
    image->AddRef();
    return image;
}

KwBuffer* IKwCoder::GetPixels()
{
    if (!DecodeOnce()) {
        return nullptr;
    }
    m_pDecoded->AddRef();
    return m_pDecoded;
}

// Decodes into a fresh buffer the first time; a failure discards the partial
// buffer and is remembered, so a broken file is not decoded again.
int IKwCoder::DecodeOnce()
{
    if (!m_bReady) {
        return Fail(KW_CODER_NOT_READY);
    }
    if (m_pDecoded != nullptr) {
        return 1;
    }
    if (m_bDecodeFailed) {
        return 0;
    }
    KwBuffer* pixels = new (std::nothrow) KwBuffer();
    if (pixels == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    pixels->AddRef();
    m_nError = 0;
    ResetReserved();
    if (!DecodePixels(pixels)) {
        pixels->Release();
        m_bDecodeFailed = 1;
        ReportComplete(0);
        return Fail(m_nError != 0 ? m_nError : KW_CODER_BAD_DATA);
    }
    m_pDecoded = pixels;
    ReportComplete(1);
    return 1;
}

int IKwCoder::OpenImage(KwImage* image)
{
    if (image == nullptr) {
        return Fail(KW_CODER_PARAM);
    }
    KwBuffer* bytes = image->GetPixels();
    int result = OpenBuffer(bytes);
    if (bytes != nullptr) {
        bytes->Release();
    }
    return result;
}

int IKwCoder::OpenMemory(const void* bytes, int length)
{
    if (bytes == nullptr || length <= 0) {
        return Fail(KW_CODER_PARAM);
    }
    KwBufferStream* stream = new (std::nothrow) KwBufferStream();
    if (stream == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    stream->AddRef();
    if (!stream->SetData(bytes, length)) {
        stream->Release();
        return Fail(KW_CODER_NO_MEMORY);
    }
    return OpenOwnedStream(stream);
}

int IKwCoder::OpenBuffer(KwBuffer* buffer)
{
    if (buffer == nullptr) {
        return Fail(KW_CODER_PARAM);
    }
    KwBufferStream* stream = new (std::nothrow) KwBufferStream();
    if (stream == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    stream->AddRef();
    if (!stream->Attach(buffer)) {
        stream->Release();
        return Fail(KW_CODER_OPEN_FAIL);
    }
    return OpenOwnedStream(stream);
}

int IKwCoder::OpenFile(const KwString& path)
{
    KwFileStream* stream = new (std::nothrow) KwFileStream();
    if (stream == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    stream->AddRef();
    if (!stream->Open(path, KW_MODE_READ)) {
        stream->Release();
        return Fail(KW_CODER_OPEN_FAIL);
    }
    return OpenOwnedStream(stream);
}

// Memory streams are read-only here: in any other mode a seek past the end
// would grow the buffer instead of failing. The stream arrives with the
// caller's one reference, which OpenStream's own reference replaces.
int IKwCoder::OpenOwnedStream(IKwIOStream* stream)
{
    if (IKwPin::IsKindOf(stream, "KwBufferStream")) {
        stream->SetMode(KW_MODE_READ);
        stream->Seek(0, KW_SEEK_SET);
    }
    int result = OpenStream(stream);
    stream->Release();
    return result;
}

int IKwCoder::OpenStream(IKwIOStream* stream)
{
    if (stream == nullptr) {
        return Fail(KW_CODER_PARAM);
    }
    stream->AddRef();
    if (m_pStream != nullptr) {
        m_pStream->Release();
    }
    m_pStream = stream;
    ResetState();
    int base = stream->GetPosition();
    m_nStreamBase = base > 0 ? base : 0;
    {
        KwStreamReader reader(stream, m_nStreamBase);
        m_nFileBytes = reader.GetSize();
    }
    if (!ReadHeader()) {
        m_bReady = 0;
        return Fail(m_nError != 0 ? m_nError : KW_CODER_BAD_HEADER);
    }
    return 1;
}

int IKwCoder::GetWidth() const { return m_nWidth; }
int IKwCoder::GetHeight() const { return m_nHeight; }
int IKwCoder::GetComponentNumber() const { return m_nComponents; }
int IKwCoder::GetXPerMeter() const { return m_nXPerMeter; }
int IKwCoder::GetYPerMeter() const { return m_nYPerMeter; }

int IKwCoder::GetXPerInch() const
{
    return static_cast<int>(m_nXPerMeter * 0.0254);
}

int IKwCoder::GetYPerInch() const
{
    return static_cast<int>(m_nYPerMeter * 0.0254);
}

int IKwCoder::ExpandRow(const unsigned char* palette, const unsigned char* indices,
                        unsigned char* out, int count, int bitDepth)
{
    if (palette == nullptr || indices == nullptr || out == nullptr || count < 0) {
        return 0;
    }
    if (bitDepth != 1 && bitDepth != 2 && bitDepth != 4 && bitDepth != 8) {
        return 0;
    }
    int perByte = 8 / bitDepth;
    unsigned int mask = (1u << bitDepth) - 1;
    for (int i = 0; i < count; ++i) {
        int shift = 8 - bitDepth * (i % perByte + 1);
        unsigned int index = (indices[i / perByte] >> shift) & mask;
        const unsigned char* entry = palette + index * 4;
        out[i * 3] = entry[0];
        out[i * 3 + 1] = entry[1];
        out[i * 3 + 2] = entry[2];
    }
    return 1;
}

KwImageGroup* IKwCoder::GetImageGroup()
{
    KwImage* image = GetImage();
    if (image == nullptr) {
        return nullptr;
    }
    KwImageGroup* group = new (std::nothrow) KwImageGroup();
    if (group == nullptr) {
        image->Release();
        Fail(KW_CODER_NO_MEMORY);
        return nullptr;
    }
    group->AddRef();
    int added = group->Add(image);
    image->Release();
    if (!added) {
        group->Release();
        Fail(KW_CODER_NO_MEMORY);
        return nullptr;
    }
    return group;
}

int IKwCoder::GetImageCount()
{
    return m_bReady ? 1 : 0;
}

int IKwCoder::GetParams(KwParam* params)
{
    if (params == nullptr || !m_bReady) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_TYPE, KwString(GetParamImageType()));
    params->SetString(KW_PARAM_IMAGE_WIDTH, KwString(m_nWidth));
    params->SetString(KW_PARAM_IMAGE_HEIGHT, KwString(m_nHeight));
    return 1;
}

int IKwCoder::SetProgressListener(IKwProgressListener* listener)
{
    if (listener != nullptr) {
        listener->AddRef();
    }
    if (m_pListener != nullptr) {
        m_pListener->Release();
    }
    m_pListener = listener;
    return 1;
}

int IKwCoder::OpenObject(KwObject* input)
{
    if (IKwPin::IsKindOf(input, "KwString")) {
        KwString* path = dynamic_cast<KwString*>(input);
        return path != nullptr ? OpenFile(*path) : Fail(KW_CODER_PARAM);
    }
    if (IKwPin::IsKindOf(input, "KwBuffer")) {
        return OpenBuffer(dynamic_cast<KwBuffer*>(input));
    }
    if (IKwPin::IsKindOf(input, "IKwIOStream")) {
        return OpenStream(dynamic_cast<IKwIOStream*>(input));
    }
    if (IKwPin::IsKindOf(input, "KwImage")) {
        return OpenImage(dynamic_cast<KwImage*>(input));
    }
    return Fail(KW_CODER_PARAM);
}

// The pixels keep the decoder's own format: labelling 3-byte output as one
// fixed order would swap red and blue for decoders that deliver R, G, B.
// Size and format come from the decoded image, which for multi-image files
// may differ from the header's.
int IKwCoder::DeliverTo(KwObject* target)
{
    int isImage = IKwPin::IsKindOf(target, "KwImage");
    if (!isImage && !IKwPin::IsKindOf(target, "KwBuffer")) {
        return Fail(KW_CODER_PARAM);
    }
    KwImage* decoded = GetImage();
    if (decoded == nullptr) {
        return 0;
    }
    KwBuffer* pixels = decoded->GetPixels();
    int result = 0;
    if (pixels != nullptr && isImage) {
        KwImage* image = dynamic_cast<KwImage*>(target);
        result = image != nullptr && image->AttachPixels(decoded->GetFormat(), pixels) &&
                 image->SetWidth(decoded->GetWidth()) && image->SetHeight(decoded->GetHeight());
    } else if (pixels != nullptr) {
        KwBuffer* copy = dynamic_cast<KwBuffer*>(target);
        int size = pixels->GetSize();
        result = copy != nullptr && copy->Alloc(size) &&
                 copy->WriteAt(0, pixels->GetPointer(0), size) == size;
    }
    if (pixels != nullptr) {
        pixels->Release();
    }
    decoded->Release();
    return result ? 1 : Fail(KW_CODER_NO_MEMORY);
}

int IKwCoder::GetFormat() const { return m_nFormat; }
int IKwCoder::IsReady() const { return m_bReady; }
IKwIOStream* IKwCoder::GetStream() const { return m_pStream; }
int IKwCoder::GetStreamBase() const { return m_nStreamBase; }

int IKwCoder::SetHeaderInfo(int width, int height, int format)
{
    int bytesPerPixel = KwBytesPerPixel(format);
    if (bytesPerPixel == 0) {
        return Fail(KW_CODER_UNSUPPORTED);
    }
    if (!KwImageByteCount(width, height, bytesPerPixel, nullptr)) {
        return Fail(KW_CODER_TOO_LARGE);
    }
    m_nWidth = width;
    m_nHeight = height;
    m_nFormat = format;
    m_bReady = 1;
    return 1;
}

void IKwCoder::SetHeaderExtras(int components, int xPerMeter, int yPerMeter)
{
    m_nComponents = components;
    m_nXPerMeter = xPerMeter;
    m_nYPerMeter = yPerMeter;
}

int IKwCoder::AllocPixels(KwBuffer* pixels, int width, int height, int bytesPerPixel)
{
    if (!AllocPixelsUncleared(pixels, width, height, bytesPerPixel)) {
        return 0;
    }
    // Pixels a broken file leaves unwritten must not show stale memory.
    std::memset(pixels->GetPointer(0), 0, static_cast<size_t>(pixels->GetSize()));
    return 1;
}

int IKwCoder::AllocPixelsUncleared(KwBuffer* pixels, int width, int height, int bytesPerPixel)
{
    int bytes = 0;
    if (pixels == nullptr) {
        return Fail(KW_CODER_PARAM);
    }
    if (!KwImageByteCount(width, height, bytesPerPixel, &bytes) || !ReserveBytes(bytes)) {
        return Fail(KW_CODER_TOO_LARGE);
    }
    if (!pixels->Alloc(bytes) || pixels->GetPointer(0) == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    return 1;
}

int IKwCoder::ReserveBytes(long long bytes)
{
    if (bytes < 0 || bytes > GetBytesLeft()) {
        return Fail(KW_CODER_TOO_LARGE);
    }
    m_nReserved += bytes;
    return 1;
}

long long IKwCoder::GetBytesLeft() const
{
    long long left = KwImageJustifiedBytes(m_nFileBytes) - m_nReserved;
    return left > 0 ? left : 0;
}

void IKwCoder::ResetReserved()
{
    m_nReserved = 0;
}

long long IKwCoder::GetFileBytes() const
{
    return m_nFileBytes;
}

int IKwCoder::Fail(unsigned int code)
{
    m_nError = code;
    return 0;
}

void IKwCoder::ReportProgress(int done, int total)
{
    if (m_pListener != nullptr) {
        m_pListener->OnProgress(done, total);
    }
}

void IKwCoder::ReportComplete(int success)
{
    if (m_pListener != nullptr) {
        m_pListener->OnComplete(success);
    }
}

void IKwCoder::ResetState()
{
    if (m_pDecoded != nullptr) {
        m_pDecoded->Release();
        m_pDecoded = nullptr;
    }
    m_nError = 0;
    m_bReady = 0;
    m_bDecodeFailed = 0;
    m_nReserved = 0;
    m_nWidth = 0;
    m_nHeight = 0;
    m_nFormat = 0;
    SetHeaderExtras(0, 0, 0);
}

int IKwCoder::GetParamImageType() const
{
    return m_nFormat;
}

} // namespace KwSDK
