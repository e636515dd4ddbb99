// Windows bitmap decoding: file header, information header of any version,
// palette or bit fields, then rows converted to B, G, R(, A).
#include "KwBMPDecoder.h"

#include "KwImageParams.h"

#include <cstdlib>
#include <cstring>

namespace KwSDK {

namespace {

const unsigned int kCompressionNone = 0;
const unsigned int kCompressionBitFields = 3;
const unsigned int kCompressionAlphaBitFields = 6;

// Position and width of a contiguous bit field, for scaling to 8 bits.
struct FIELD {
    unsigned int nMask;
    int nShift;
    int nBits;
};

FIELD MakeField(unsigned int mask)
{
    FIELD field = {mask, 0, 0};
    if (mask == 0) {
        return field;
    }
    while (((mask >> field.nShift) & 1u) == 0) {
        ++field.nShift;
    }
    while (field.nShift + field.nBits < 32 && ((mask >> (field.nShift + field.nBits)) & 1u) != 0) {
        ++field.nBits;
    }
    return field;
}

// A field moved to the top of a byte: narrow fields keep zero low bits,
// wide ones lose their lowest bits.
unsigned char FieldByte(const FIELD& field, unsigned int value)
{
    if (field.nBits == 0) {
        return 0;
    }
    unsigned int bits = (value & field.nMask) >> field.nShift;
    if (field.nBits >= 8) {
        return static_cast<unsigned char>(bits >> (field.nBits - 8));
    }
    return static_cast<unsigned char>(bits << (8 - field.nBits));
}

int RowBitDepth(int bitCount)
{
    if (bitCount == 1 || bitCount == 2) {
        return bitCount;
    }
    if (bitCount >= 3 && bitCount <= 4) {
        return 4;
    }
    if (bitCount >= 5 && bitCount <= 8) {
        return 8;
    }
    return bitCount;
}

void ExpandIndices(const unsigned char* palette, const unsigned char* row, unsigned char* out,
                   int width, int bitDepth)
{
    int perByte = 8 / bitDepth;
    unsigned int mask = (1u << bitDepth) - 1;
    for (int i = 0; i < width; ++i) {
        int shift = 8 - bitDepth * (i % perByte + 1);
        const unsigned char* entry = palette + ((row[i / perByte] >> shift) & mask) * 4;
        out[0] = entry[0];
        out[1] = entry[1];
        out[2] = entry[2];
        out += 3;
    }
}

void Expand16(const KWBMPROWFORMAT& format, const unsigned char* row, unsigned char* out, int width)
{
    FIELD red = MakeField(format.nMask[0]);
    FIELD green = MakeField(format.nMask[1]);
    FIELD blue = MakeField(format.nMask[2]);
    for (int i = 0; i < width; ++i) {
        unsigned int value = row[i * 2] | static_cast<unsigned int>(row[i * 2 + 1]) << 8;
        out[0] = FieldByte(blue, value);
        out[1] = FieldByte(green, value);
        out[2] = FieldByte(red, value);
        out += 3;
    }
}

void Expand32(const KWBMPROWFORMAT& format, const unsigned char* row, unsigned char* out, int width)
{
    FIELD red = MakeField(format.nMask[0]);
    FIELD green = MakeField(format.nMask[1]);
    FIELD blue = MakeField(format.nMask[2]);
    FIELD alpha = MakeField(format.nAlphaMask);
    for (int i = 0; i < width; ++i) {
        const unsigned char* p = row + i * 4;
        unsigned int value = p[0] | static_cast<unsigned int>(p[1]) << 8 |
                             static_cast<unsigned int>(p[2]) << 16 |
                             static_cast<unsigned int>(p[3]) << 24;
        out[0] = FieldByte(blue, value);
        out[1] = FieldByte(green, value);
        out[2] = FieldByte(red, value);
        unsigned char a = alpha.nBits != 0 ? FieldByte(alpha, value) : 0;
        // Without an alpha field nothing is stored, so the pixel is opaque
        // in both rules.
        out[3] = format.bInvertAlpha || alpha.nBits == 0 ? static_cast<unsigned char>(255 - a) : a;
        out += 4;
    }
}

// Core (12-byte) headers hold 16-bit sizes; later versions 32-bit ones.
int ReadSizes(KwStreamReader& reader, KWBMPINFO* info)
{
    if (info->nHeaderSize == 12) {
        info->nWidth = static_cast<int>(reader.ReadU16());
        info->nHeight = static_cast<short>(reader.ReadU16());
        reader.ReadU16();
        info->nBitCount = static_cast<int>(reader.ReadU16());
        info->nPaletteEntrySize = 3;
        return reader.Ok();
    }
    info->nWidth = static_cast<int>(reader.ReadU32());
    info->nHeight = static_cast<int>(reader.ReadU32());
    reader.ReadU16();
    info->nBitCount = static_cast<int>(reader.ReadU16());
    info->nCompression = reader.ReadU32();
    reader.ReadU32();
    info->nXPerMeter = static_cast<int>(reader.ReadU32());
    info->nYPerMeter = static_cast<int>(reader.ReadU32());
    info->nColorsUsed = reader.ReadU32();
    reader.ReadU32();
    info->nPaletteEntrySize = 4;
    return reader.Ok();
}

// Masks sit inside headers of 52 bytes and more, and right behind a
// 40-byte header.
int ReadMasks(KwStreamReader& reader, KWBMPINFO* info)
{
    int bitFields = info->nCompression == kCompressionBitFields ||
                    info->nCompression == kCompressionAlphaBitFields;
    int inHeader = info->nHeaderSize >= 52;
    if (bitFields || inHeader) {
        unsigned int masks[4] = {0, 0, 0, 0};
        int count = info->nCompression == kCompressionAlphaBitFields || info->nHeaderSize >= 56 ? 4 : 3;
        for (int i = 0; i < count; ++i) {
            masks[i] = reader.ReadU32();
        }
        if (bitFields) {
            info->nMask[0] = masks[0];
            info->nMask[1] = masks[1];
            info->nMask[2] = masks[2];
        }
        info->nAlphaMask = masks[3];
    }
    return reader.Ok();
}

void SetDefaultMasks(KWBMPINFO* info)
{
    if (info->nBitCount == 16) {
        info->nMask[0] = 0x7C00;
        info->nMask[1] = 0x03E0;
        info->nMask[2] = 0x001F;
    } else {
        info->nMask[0] = 0x00FF0000;
        info->nMask[1] = 0x0000FF00;
        info->nMask[2] = 0x000000FF;
    }
}

int IsSupportedDepth(const KWBMPINFO& info)
{
    int bitFields = info.nCompression == kCompressionBitFields ||
                    info.nCompression == kCompressionAlphaBitFields;
    if (info.nBitCount >= 1 && info.nBitCount <= 8) {
        return info.nCompression == kCompressionNone;
    }
    if (info.nBitCount == 24) {
        return info.nCompression == kCompressionNone;
    }
    if (info.nBitCount == 16 || info.nBitCount == 32) {
        return info.nCompression == kCompressionNone || bitFields;
    }
    return 0;
}

} // namespace

KwBMPDecoder::KwBMPDecoder()
{
    AppendTypeName("KwBMPDecoder");
    ResetState();
}

KwBMPDecoder::~KwBMPDecoder() = default;

void KwBMPDecoder::ResetState()
{
    IKwCoder::ResetState();
    std::memset(&m_info, 0, sizeof(m_info));
    std::memset(&m_rowFormat, 0, sizeof(m_rowFormat));
    std::memset(m_palette, 0, sizeof(m_palette));
    m_bTopDown = 0;
    m_nPixelOffset = 0;
    m_nStride = 0;
}

int KwBMPDecoder::ReadInfo(KwStreamReader& reader, KWBMPINFO* info)
{
    std::memset(info, 0, sizeof(*info));
    long long start = reader.GetPosition();
    info->nHeaderSize = static_cast<int>(reader.ReadU32());
    if (info->nHeaderSize != 12 && (info->nHeaderSize < 40 || info->nHeaderSize > 1024)) {
        reader.SetFailed();
        return 0;
    }
    if (!ReadSizes(reader, info)) {
        return 0;
    }
    SetDefaultMasks(info);
    if (info->nHeaderSize >= 40 && !ReadMasks(reader, info)) {
        return 0;
    }
    // Palette or pixel data follow the full header, whatever fields it
    // holds beyond those read here; masks behind a 40-byte header are
    // already behind it.
    if (info->nHeaderSize > 40 && !reader.Seek(start + info->nHeaderSize)) {
        return 0;
    }
    if (info->nWidth <= 0 || info->nHeight == 0) {
        reader.SetFailed();
        return 0;
    }
    // A depth or compression this decoder does not read leaves the reader
    // intact, so callers can tell it from a broken header.
    return IsSupportedDepth(*info);
}

int KwBMPDecoder::ReadPalette(KwStreamReader& reader, const KWBMPINFO& info,
                              unsigned char* palette)
{
    std::memset(palette, 0, KW_BMP_PALETTE_BYTES);
    if (info.nBitCount > 8) {
        return 1;
    }
    // The colours-used field may shorten the table; a full table for a
    // small picture would run into (or past) the pixel data.
    unsigned int entries = 1u << info.nBitCount;
    if (info.nColorsUsed > 0 && info.nColorsUsed < entries) {
        entries = info.nColorsUsed;
    }
    for (unsigned int i = 0; i < entries; ++i) {
        unsigned char entry[4] = {0, 0, 0, 0};
        if (!reader.ReadBytes(entry, info.nPaletteEntrySize)) {
            return 0;
        }
        std::memcpy(palette + i * 4, entry, 3);
    }
    return 1;
}

void KwBMPDecoder::MakeRowFormat(const KWBMPINFO& info, int invertAlpha, KWBMPROWFORMAT* format)
{
    format->nBitDepth = RowBitDepth(info.nBitCount);
    std::memcpy(format->nMask, info.nMask, sizeof(format->nMask));
    format->nAlphaMask = info.nAlphaMask;
    format->bInvertAlpha = 0;
    if (info.nBitCount == 32 && info.nAlphaMask == 0) {
        // The byte the colour fields leave free is the fourth byte.
        format->nAlphaMask = ~(info.nMask[0] | info.nMask[1] | info.nMask[2]);
        format->bInvertAlpha = invertAlpha;
    }
}

int KwBMPDecoder::RowStride(int bitDepth, int width)
{
    long long bits = static_cast<long long>(bitDepth) * width;
    long long stride = ((bits + 7) / 8 + 3) / 4 * 4;
    return bitDepth <= 0 || width <= 0 || stride > 0x7FFFFFFF ? 0 : static_cast<int>(stride);
}

int KwBMPDecoder::ConvertRow(const KWBMPROWFORMAT& format, const unsigned char* palette,
                             const unsigned char* row, unsigned char* out, int width)
{
    switch (format.nBitDepth) {
    case 1:
    case 2:
    case 4:
    case 8:
        ExpandIndices(palette, row, out, width, format.nBitDepth);
        return 1;
    case 16:
        Expand16(format, row, out, width);
        return 1;
    case 24:
        std::memcpy(out, row, static_cast<size_t>(width) * 3);
        return 1;
    case 32:
        Expand32(format, row, out, width);
        return 1;
    default:
        return 0;
    }
}

int KwBMPDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned char magic[2] = {0, 0};
    reader.ReadBytes(magic, 2);
    reader.ReadU32();
    reader.ReadU32();
    m_nPixelOffset = static_cast<int>(reader.ReadU32());
    if (!reader.Ok() || magic[0] != 'B' || magic[1] != 'M' || m_nPixelOffset < 0) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    if (!ReadInfo(reader, &m_info)) {
        return Fail(reader.Ok() ? KW_CODER_UNSUPPORTED : KW_CODER_BAD_HEADER);
    }
    if (!ReadPalette(reader, m_info, m_palette)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    MakeRowFormat(m_info, 1, &m_rowFormat);
    m_bTopDown = m_info.nHeight < 0 ? 1 : 0;
    long long height = m_info.nHeight < 0 ? -static_cast<long long>(m_info.nHeight) : m_info.nHeight;
    int format = m_rowFormat.nBitDepth >= 25 ? KW_FORMAT_BGRA : KW_FORMAT_BGR;
    if (height > KW_IMAGE_MAX_SIDE) {
        return Fail(KW_CODER_TOO_LARGE);
    }
    if (!SetHeaderInfo(m_info.nWidth, static_cast<int>(height), format)) {
        return 0;
    }
    m_nStride = RowStride(m_rowFormat.nBitDepth, m_info.nWidth);
    SetHeaderExtras(m_info.nBitCount <= 8 ? 1 : 3, m_info.nXPerMeter, m_info.nYPerMeter);
    return 1;
}

// Rows are read in file order, whatever their orientation, so the reader's
// window moves forward through the file.
int KwBMPDecoder::DecodePixels(KwBuffer* pixels)
{
    int width = GetWidth();
    int height = GetHeight();
    int outBytes = m_rowFormat.nBitDepth >= 25 ? 4 : 3;
    KwStreamReader reader(GetStream(), GetStreamBase());
    if (width == 0 || height == 0 || m_nStride == 0) {
        return Fail(KW_CODER_NOT_READY);
    }
    if (!reader.CanHold(m_nPixelOffset + static_cast<long long>(m_nStride) * height) ||
        !reader.Seek(m_nPixelOffset)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    if (!AllocPixels(pixels, width, height, outBytes)) {
        return 0;
    }
    unsigned char* row = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(m_nStride)));
    if (row == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    int ok = 1;
    for (int stored = 0; stored < height && ok; ++stored) {
        int target = m_bTopDown ? stored : height - 1 - stored;
        ok = reader.ReadBytes(row, m_nStride) &&
             ConvertRow(m_rowFormat, m_palette, row,
                        pixels->GetPointer(target * width * outBytes), width);
        ReportProgress(stored, height);
    }
    std::free(row);
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

int KwBMPDecoder::ExpandRow(const unsigned char* palette, const unsigned char* indices,
                            unsigned char* out, int count, int bitDepth)
{
    if (bitDepth <= 0 || bitDepth > 32 || palette == nullptr || indices == nullptr ||
        out == nullptr || count < 0) {
        return 0;
    }
    KWBMPROWFORMAT format = m_rowFormat;
    format.nBitDepth = bitDepth;
    if (m_info.nBitCount != bitDepth && (bitDepth == 16 || bitDepth == 32)) {
        KWBMPINFO info = m_info;
        info.nBitCount = bitDepth;
        info.nCompression = kCompressionNone;
        info.nAlphaMask = 0;
        SetDefaultMasks(&info);
        MakeRowFormat(info, 1, &format);
    }
    return ConvertRow(format, palette, indices, out, count);
}

int KwBMPDecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_BMP_COMPONENTS, KwString(GetComponentNumber()));
    params->SetString(KW_PARAM_BMP_X_PER_METER, KwString(GetXPerMeter()));
    params->SetString(KW_PARAM_BMP_Y_PER_METER, KwString(GetYPerMeter()));
    params->SetString(KW_PARAM_BMP_X_PER_INCH, KwString(GetXPerInch()));
    params->SetString(KW_PARAM_BMP_Y_PER_INCH, KwString(GetYPerInch()));
    return 1;
}

int KwBMPDecoder::GetParamImageType() const
{
    return m_info.nBitCount == 32 ? KW_FORMAT_ARGB : KW_FORMAT_RGB;
}

int KwBMPDecoder::IsTopDown() const { return m_bTopDown; }
int KwBMPDecoder::GetBitCount() const { return m_info.nBitCount; }
int KwBMPDecoder::GetStride() const { return m_nStride; }

int KwBMPDecoder::Is565() const
{
    return m_info.nBitCount == 16 && m_info.nMask[0] == 0xF800 ? 1 : 0;
}

} // namespace KwSDK
