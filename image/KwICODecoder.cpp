// Icon and cursor decoding: the directory, then each image as a headerless
// bitmap with its mask, or as an embedded PNG file.
#include "KwICODecoder.h"

#include "KwBMPDecoder.h"
#include "KwDecoderFactory.h"
#include "KwImageParams.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace KwSDK {

namespace {

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
const int kDirectoryEntrySize = 16;

int IsPngEntry(KwStreamReader& reader, const KWICONENTRY& entry)
{
    unsigned char head[8] = {0};
    return reader.Seek(entry.nOffset) && reader.ReadSome(head, 8) == 8 &&
                   std::memcmp(head, kPngSignature, 8) == 0
               ? 1
               : 0;
}

int AlphaIsEmpty(const unsigned char* pixels, int count)
{
    for (int i = 0; i < count; ++i) {
        if (pixels[i * 4 + 3] != 0) {
            return 0;
        }
    }
    return 1;
}

} // namespace

KwICODecoder::KwICODecoder() : m_pEntries(nullptr), m_pMainImage(nullptr)
{
    AppendTypeName("KwICODecoder");
    ResetState();
}

KwICODecoder::~KwICODecoder()
{
    ResetState();
}

void KwICODecoder::ResetState()
{
    IKwCoder::ResetState();
    std::free(m_pEntries);
    m_pEntries = nullptr;
    if (m_pMainImage != nullptr) {
        m_pMainImage->Release();
        m_pMainImage = nullptr;
    }
    m_nCount = 0;
    m_nType = 0;
    m_nMain = 0;
}

int KwICODecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned int reserved = reader.ReadU16();
    unsigned int type = reader.ReadU16();
    unsigned int count = reader.ReadU16();
    if (!reader.Ok() || reserved != 0 || (type != 1 && type != 2) || count == 0 ||
        !reader.CanHold(static_cast<long long>(count) * kDirectoryEntrySize)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    m_pEntries = static_cast<KWICONENTRY*>(std::calloc(count, sizeof(KWICONENTRY)));
    if (m_pEntries == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    int widest = 0;
    int tallest = 0;
    for (unsigned int i = 0; i < count; ++i) {
        KWICONENTRY& entry = m_pEntries[i];
        unsigned int width = reader.ReadU8();
        unsigned int height = reader.ReadU8();
        reader.Skip(4);
        entry.nWidth = width == 0 ? 256 : static_cast<int>(width);
        entry.nHeight = height == 0 ? 256 : static_cast<int>(height);
        entry.nBitCount = static_cast<int>(reader.ReadU16());
        entry.nSize = reader.ReadU32();
        entry.nOffset = reader.ReadU32();
        widest = entry.nWidth > widest ? entry.nWidth : widest;
        tallest = entry.nHeight > tallest ? entry.nHeight : tallest;
    }
    if (!reader.Ok()) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    m_nCount = static_cast<int>(count);
    m_nType = static_cast<int>(type);
    m_nMain = ChooseMainEntry();
    int format = 0;
    if (!PeekEntryFormat(reader, m_pEntries[m_nMain], &format)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    return SetHeaderInfo(widest, tallest, format);
}

// The largest picture, the deepest among equally large ones, the first
// among equals.
int KwICODecoder::ChooseMainEntry() const
{
    int best = 0;
    for (int i = 1; i < m_nCount; ++i) {
        long long area = static_cast<long long>(m_pEntries[i].nWidth) * m_pEntries[i].nHeight;
        long long bestArea = static_cast<long long>(m_pEntries[best].nWidth) * m_pEntries[best].nHeight;
        if (area > bestArea || (area == bestArea && m_pEntries[i].nBitCount > m_pEntries[best].nBitCount)) {
            best = i;
        }
    }
    return best;
}

int KwICODecoder::PeekEntryFormat(KwStreamReader& reader, const KWICONENTRY& entry, int* format)
{
    if (IsPngEntry(reader, entry)) {
        // An embedded PNG may or may not carry alpha; its header says. Only
        // the header is read here: the pixels wait for decoding.
        IKwCoder* png = OpenPngEntry(reader, entry);
        *format = png != nullptr ? png->GetFormat() : 0;
        if (png != nullptr) {
            png->Release();
        }
        return *format != 0;
    }
    KWBMPINFO info;
    if (!reader.Seek(entry.nOffset) || !KwBMPDecoder::ReadInfo(reader, &info)) {
        return 0;
    }
    *format = info.nBitCount > 24 ? KW_FORMAT_BGRA : KW_FORMAT_BGR;
    return 1;
}

KwImage* KwICODecoder::DecodeEntry(int index)
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    const KWICONENTRY& entry = m_pEntries[index];
    if (IsPngEntry(reader, entry)) {
        return DecodePngEntry(reader, entry);
    }
    if (!reader.Seek(entry.nOffset)) {
        Fail(KW_CODER_BAD_DATA);
        return nullptr;
    }
    return DecodeBitmapEntry(reader);
}

IKwCoder* KwICODecoder::OpenPngEntry(KwStreamReader& reader, const KWICONENTRY& entry)
{
    int size = static_cast<int>(entry.nSize);
    if (size <= 0 || entry.nSize > 0x7FFFFFFFu || !reader.Seek(entry.nOffset) || !reader.CanHold(size)) {
        return nullptr;
    }
    unsigned char* bytes = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    IKwCoder* png = bytes != nullptr ? KwCreateDecoder(KW_FILE_PNG) : nullptr;
    if (png != nullptr && !(reader.ReadBytes(bytes, size) && png->OpenMemory(bytes, size))) {
        png->Release();
        png = nullptr;
    }
    std::free(bytes);
    return png;
}

// The embedded file is as large as the icon file allows; its decoder's
// pixels count against this decoding too.
KwImage* KwICODecoder::DecodePngEntry(KwStreamReader& reader, const KWICONENTRY& entry)
{
    IKwCoder* png = OpenPngEntry(reader, entry);
    KwImage* image = nullptr;
    int bytesPerPixel = png != nullptr ? KwBytesPerPixel(png->GetFormat()) : 0;
    int allowed = png != nullptr &&
                  ReserveBytes(static_cast<long long>(png->GetWidth()) * png->GetHeight() * bytesPerPixel);
    if (allowed) {
        image = png->GetImage();
    }
    if (png != nullptr) {
        png->Release();
    }
    if (image == nullptr) {
        Fail(png != nullptr && !allowed ? KW_CODER_TOO_LARGE : KW_CODER_BAD_DATA);
    }
    return image;
}

// Colour rows are stored bottom-up at twice the picture's height, the mask
// rows following; both are padded to 4 bytes.
KwImage* KwICODecoder::DecodeBitmapEntry(KwStreamReader& reader)
{
    KWBMPINFO info;
    unsigned char palette[KW_BMP_PALETTE_BYTES];
    KWBMPROWFORMAT format;
    if (!KwBMPDecoder::ReadInfo(reader, &info) || info.nHeight < 2 ||
        !KwBMPDecoder::ReadPalette(reader, info, palette)) {
        Fail(KW_CODER_BAD_DATA);
        return nullptr;
    }
    KwBMPDecoder::MakeRowFormat(info, 0, &format);
    int width = info.nWidth;
    int height = info.nHeight / 2;
    int outBytes = format.nBitDepth >= 25 ? 4 : 3;
    int stride = KwBMPDecoder::RowStride(format.nBitDepth, width);
    if (!KwImageByteCount(width, height, outBytes, nullptr) ||
        !reader.CanHold(static_cast<long long>(stride) * height)) {
        Fail(KW_CODER_BAD_DATA);
        return nullptr;
    }
    KwBuffer* pixels = new (std::nothrow) KwBuffer();
    unsigned char* row = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(stride)));
    int ok = pixels != nullptr && row != nullptr;
    if (pixels != nullptr) {
        pixels->AddRef();
    }
    ok = ok && AllocPixels(pixels, width, height, outBytes);
    for (int stored = 0; stored < height && ok; ++stored) {
        unsigned char* out = pixels->GetPointer((height - 1 - stored) * width * outBytes);
        ok = reader.ReadBytes(row, stride) && KwBMPDecoder::ConvertRow(format, palette, row, out, width);
    }
    std::free(row);
    ok = ok && ReadMask(reader, width, height, outBytes == 4 ? pixels : nullptr);
    KwImage* image = nullptr;
    if (ok) {
        int code = outBytes == 4 ? KW_FORMAT_BGRA : KW_FORMAT_BGR;
        image = new (std::nothrow) KwImage(code, pixels, 0, 0, width, height, 0);
    }
    if (pixels != nullptr) {
        pixels->Release();
    }
    if (image == nullptr) {
        Fail(ok ? KW_CODER_NO_MEMORY : KW_CODER_BAD_DATA);
        return nullptr;
    }
    image->AddRef();
    return image;
}

// Reads the 1-bit mask; for B, G, R, A pixels whose alpha is all 0 the
// mask becomes the alpha.
int KwICODecoder::ReadMask(KwStreamReader& reader, int width, int height, KwBuffer* pixels)
{
    int stride = KwBMPDecoder::RowStride(1, width);
    unsigned char* mask = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(stride)));
    if (mask == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    int useMask = pixels != nullptr && AlphaIsEmpty(pixels->GetPointer(0), width * height);
    int ok = 1;
    for (int stored = 0; stored < height && ok; ++stored) {
        ok = reader.ReadBytes(mask, stride);
        unsigned char* out = useMask ? pixels->GetPointer((height - 1 - stored) * width * 4) : nullptr;
        for (int x = 0; ok && out != nullptr && x < width; ++x) {
            int masked = (mask[x / 8] >> (7 - x % 8)) & 1;
            out[x * 4 + 3] = masked ? 0 : 255;
        }
    }
    std::free(mask);
    return ok;
}

int KwICODecoder::DecodePixels(KwBuffer* pixels)
{
    if (m_pMainImage == nullptr) {
        m_pMainImage = DecodeEntry(m_nMain);
    }
    if (m_pMainImage == nullptr) {
        return 0;
    }
    KwBuffer* source = m_pMainImage->GetPixels();
    int size = source->GetSize();
    if (!ReserveBytes(size)) {
        source->Release();
        return 0;
    }
    int ok = pixels->Alloc(size) && pixels->WriteAt(0, source->GetPointer(0), size) == size;
    source->Release();
    return ok ? 1 : Fail(KW_CODER_NO_MEMORY);
}

KwImage* KwICODecoder::GetImage()
{
    KwBuffer* pixels = GetPixels();
    if (pixels == nullptr) {
        return nullptr;
    }
    pixels->Release();
    m_pMainImage->AddRef();
    return m_pMainImage;
}

KwImageGroup* KwICODecoder::GetImageGroup()
{
    if (!IsReady()) {
        Fail(KW_CODER_NOT_READY);
        return nullptr;
    }
    KwImageGroup* group = new (std::nothrow) KwImageGroup();
    if (group == nullptr) {
        Fail(KW_CODER_NO_MEMORY);
        return nullptr;
    }
    group->AddRef();
    ResetReserved();
    for (int i = 0; i < m_nCount; ++i) {
        KwImage* image = DecodeEntry(i);
        int added = image != nullptr && group->Add(image);
        if (image != nullptr) {
            image->Release();
        }
        ReportProgress(i, m_nCount);
        if (!added) {
            group->Release();
            ReportComplete(0);
            return nullptr;
        }
    }
    ReportComplete(1);
    return group;
}

int KwICODecoder::GetImageCount()
{
    return IsReady() ? m_nCount : 0;
}

int KwICODecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_COUNT, KwString(m_nCount));
    return 1;
}

int KwICODecoder::GetResourceType() const
{
    return m_nType;
}

} // namespace KwSDK
