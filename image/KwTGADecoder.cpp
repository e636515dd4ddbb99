// Targa decoding: the 18-byte header, identification field, colour map,
// then plain or run-length coded pixels in either vertical order.
#include "KwTGADecoder.h"

#include "KwImageParams.h"

#include <cstring>

namespace KwSDK {

namespace {

const int kHeaderSize = 18;
const int kKindMapped = 1;
const int kKindTrueColor = 2;
const int kKindGrey = 3;
const int kRleFlag = 8;

int IsValidDepth(int kind, int depth)
{
    switch (kind & 3) {
    case kKindMapped: return depth == 8 || depth == 16;
    case kKindTrueColor: return depth == 15 || depth == 16 || depth == 24 || depth == 32;
    case kKindGrey: return depth == 8 || depth == 16;
    default: return 0;
    }
}

// 5-bit fields are widened by repeating their top bits, so 31 becomes 255.
unsigned char Widen5(unsigned int value)
{
    value &= 0x1F;
    return static_cast<unsigned char>(value << 3 | value >> 2);
}

} // namespace

KwTGADecoder::KwTGADecoder()
{
    AppendTypeName("KwTGADecoder");
    ResetState();
}

KwTGADecoder::~KwTGADecoder() = default;

void KwTGADecoder::ResetState()
{
    IKwCoder::ResetState();
    m_nKind = 0;
    m_nPixelDepth = 0;
    m_nMapFirst = 0;
    m_nMapLength = 0;
    m_nMapDepth = 0;
    m_bTopDown = 0;
    m_bRightToLeft = 0;
    m_nAlphaBits = 0;
    m_nDataOffset = 0;
    m_nRunCount = 0;
    m_bRunRepeat = 0;
    std::memset(m_runPixel, 0, sizeof(m_runPixel));
    std::memset(m_colorMap, 0, sizeof(m_colorMap));
}

int KwTGADecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned char header[kHeaderSize];
    if (!reader.ReadBytes(header, kHeaderSize)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    int idLength = header[0];
    int mapType = header[1];
    m_nKind = header[2];
    m_nMapFirst = header[3] | header[4] << 8;
    m_nMapLength = header[5] | header[6] << 8;
    m_nMapDepth = header[7];
    int width = header[12] | header[13] << 8;
    int height = header[14] | header[15] << 8;
    m_nPixelDepth = header[16];
    m_nAlphaBits = header[17] & 0x0F;
    m_bRightToLeft = (header[17] >> 4) & 1;
    m_bTopDown = (header[17] >> 5) & 1;
    if (mapType > 1 || (m_nKind & ~kRleFlag) < kKindMapped || (m_nKind & ~kRleFlag) > kKindGrey ||
        !IsValidDepth(m_nKind & ~kRleFlag, m_nPixelDepth)) {
        return Fail(KW_CODER_UNSUPPORTED);
    }
    if ((m_nKind & 3) == kKindMapped && mapType != 1) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    if (!reader.Skip(idLength) || (mapType == 1 && !ReadColorMap(reader))) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    m_nDataOffset = static_cast<int>(reader.GetPosition());
    int format = m_nPixelDepth == 32 ? KW_FORMAT_BGRA : KW_FORMAT_BGR;
    SetHeaderExtras((m_nKind & 3) == kKindGrey ? 1 : 3, 0, 0);
    return SetHeaderInfo(width, height, format);
}

// Map entries of 15, 16, 24 or 32 bits become B, G, R, A; a map that is
// present but not used by the pixels is skipped.
int KwTGADecoder::ReadColorMap(KwStreamReader& reader)
{
    int entryBytes = (m_nMapDepth + 7) / 8;
    if (m_nMapDepth != 15 && m_nMapDepth != 16 && m_nMapDepth != 24 && m_nMapDepth != 32) {
        return (m_nKind & 3) != kKindMapped && reader.Skip(static_cast<long long>(entryBytes) * m_nMapLength);
    }
    for (int i = 0; i < m_nMapLength; ++i) {
        unsigned char raw[4] = {0, 0, 0, 0};
        if (!reader.ReadBytes(raw, entryBytes)) {
            return 0;
        }
        if (i < 256) {
            unsigned int value = raw[0] | static_cast<unsigned int>(raw[1]) << 8 |
                                 static_cast<unsigned int>(raw[2]) << 16 |
                                 static_cast<unsigned int>(raw[3]) << 24;
            DecodeColor(value, m_nMapDepth, m_colorMap + i * 4);
        }
    }
    return 1;
}

// One colour of 15, 16, 24 or 32 bits as B, G, R, A; alpha 255 unless the
// value carries one.
void KwTGADecoder::DecodeColor(unsigned int value, int bits, unsigned char* out) const
{
    if (bits <= 16) {
        out[0] = Widen5(value);
        out[1] = Widen5(value >> 5);
        out[2] = Widen5(value >> 10);
        out[3] = 255;
        return;
    }
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
    out[2] = static_cast<unsigned char>(value >> 16);
    out[3] = bits == 32 ? static_cast<unsigned char>(value >> 24) : 255;
}

// Stores one raw pixel as B, G, R (and A for 32-bit files). Indices outside
// the colour map give black.
void KwTGADecoder::StorePixel(const unsigned char* raw, unsigned char* out) const
{
    unsigned int value = raw[0] | static_cast<unsigned int>(raw[1]) << 8 |
                         static_cast<unsigned int>(raw[2]) << 16 |
                         static_cast<unsigned int>(raw[3]) << 24;
    unsigned char color[4] = {0, 0, 0, 255};
    switch (m_nKind & 3) {
    case kKindMapped: {
        long long index = static_cast<long long>(m_nPixelDepth == 8 ? value & 0xFF : value & 0xFFFF) -
                          m_nMapFirst;
        if (index >= 0 && index < m_nMapLength && index < 256) {
            std::memcpy(color, m_colorMap + index * 4, 4);
        }
        break;
    }
    case kKindGrey:
        // 16-bit grey pixels carry their alpha in the second byte.
        color[0] = color[1] = color[2] = raw[0];
        break;
    default:
        DecodeColor(value, m_nPixelDepth, color);
        break;
    }
    std::memcpy(out, color, m_nPixelDepth == 32 ? 4 : 3);
}

// The next raw pixel of the data, following run-length packets when the
// file is compressed; packets may cross rows.
int KwTGADecoder::ReadPixel(KwStreamReader& reader, unsigned char* pixel)
{
    int bytes = (m_nPixelDepth + 7) / 8;
    if ((m_nKind & kRleFlag) == 0) {
        return reader.ReadBytes(pixel, bytes);
    }
    if (m_nRunCount == 0) {
        unsigned int packet = reader.ReadU8();
        m_nRunCount = static_cast<int>(packet & 0x7F) + 1;
        m_bRunRepeat = (packet & 0x80) != 0;
        if (m_bRunRepeat && !reader.ReadBytes(m_runPixel, bytes)) {
            return 0;
        }
    }
    --m_nRunCount;
    if (m_bRunRepeat) {
        std::memcpy(pixel, m_runPixel, static_cast<size_t>(bytes));
        return reader.Ok();
    }
    return reader.ReadBytes(pixel, bytes);
}

int KwTGADecoder::ReadPacketPixels(KwStreamReader& reader, unsigned char* out, int count)
{
    int outBytes = m_nPixelDepth == 32 ? 4 : 3;
    for (int i = 0; i < count; ++i) {
        unsigned char raw[4] = {0, 0, 0, 0};
        if (!ReadPixel(reader, raw)) {
            return 0;
        }
        int x = m_bRightToLeft ? count - 1 - i : i;
        StorePixel(raw, out + x * outBytes);
    }
    return 1;
}

int KwTGADecoder::DecodePixels(KwBuffer* pixels)
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    int width = GetWidth();
    int height = GetHeight();
    int outBytes = m_nPixelDepth == 32 ? 4 : 3;
    long long rawBytes = static_cast<long long>(width) * height * ((m_nPixelDepth + 7) / 8);
    // A run packet codes at most 128 pixels in 1 + pixel bytes.
    long long least = (m_nKind & kRleFlag) != 0 ? rawBytes / 128 : rawBytes;
    if (!reader.Seek(m_nDataOffset) || !reader.CanHold(least)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    if (!AllocPixels(pixels, width, height, outBytes)) {
        return 0;
    }
    m_nRunCount = 0;
    int ok = 1;
    for (int stored = 0; stored < height && ok; ++stored) {
        int y = m_bTopDown ? stored : height - 1 - stored;
        ok = ReadPacketPixels(reader, pixels->GetPointer(y * width * outBytes), width);
        ReportProgress(stored, height);
    }
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

int KwTGADecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nPixelDepth));
    return 1;
}

int KwTGADecoder::GetImageKind() const { return m_nKind; }
int KwTGADecoder::GetPixelDepth() const { return m_nPixelDepth; }
int KwTGADecoder::IsTopDown() const { return m_bTopDown; }

} // namespace KwSDK
