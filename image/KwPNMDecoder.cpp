// Portable anymap decoding: the text header, then ASCII or binary samples of
// bitmaps, grey maps and pixmaps.
#include "KwPNMDecoder.h"

#include "KwImageParams.h"

namespace KwSDK {

namespace {

int IsSpace(unsigned int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Samples per pixel and output format of each kind (P1 .. P6).
int SamplesOf(int kind)
{
    return kind == 3 || kind == 6 ? 3 : 1;
}

int FormatOf(int kind)
{
    switch (kind) {
    case 1: case 4: return KW_FORMAT_BILEVEL;
    case 2: case 5: return KW_FORMAT_GRAY;
    default: return KW_FORMAT_RGB;
    }
}

} // namespace

KwPNMDecoder::KwPNMDecoder()
{
    AppendTypeName("KwPNMDecoder");
    ResetState();
}

KwPNMDecoder::~KwPNMDecoder() = default;

void KwPNMDecoder::ResetState()
{
    IKwCoder::ResetState();
    m_nKind = 0;
    m_nMaxValue = 0;
    m_nDataOffset = 0;
}

// Skips white space and comments ("#" to the end of the line), then reads
// a decimal number. Values above 16777215 are refused.
int KwPNMDecoder::ReadNumber(KwStreamReader& reader, unsigned int* value)
{
    unsigned int c = reader.ReadU8();
    while (reader.Ok() && (IsSpace(c) || c == '#')) {
        if (c == '#') {
            while (reader.Ok() && c != '\n' && c != '\r') {
                c = reader.ReadU8();
            }
        }
        c = reader.ReadU8();
    }
    if (!reader.Ok() || c < '0' || c > '9') {
        return 0;
    }
    unsigned int number = 0;
    while (c >= '0' && c <= '9') {
        number = number * 10 + (c - '0');
        if (number > 0xFFFFFF) {
            return 0;
        }
        c = reader.ReadU8();
        if (!reader.Ok()) {
            // A number may end the file (the last ASCII sample); the reader
            // stays failed, so any further read still fails.
            *value = number;
            return 1;
        }
    }
    // The byte after the number is consumed only when it is white space,
    // which is the single separator before binary data.
    if (!IsSpace(c)) {
        reader.Seek(reader.GetPosition() - 1);
    }
    *value = number;
    return 1;
}

int KwPNMDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned int magic = reader.ReadU8();
    unsigned int digit = reader.ReadU8();
    if (!reader.Ok() || magic != 'P' || digit < '1' || digit > '6') {
        return Fail(KW_CODER_BAD_HEADER);
    }
    m_nKind = static_cast<int>(digit - '0');
    unsigned int width = 0;
    unsigned int height = 0;
    m_nMaxValue = 1;
    if (!ReadNumber(reader, &width) || !ReadNumber(reader, &height)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    if (m_nKind != 1 && m_nKind != 4 &&
        (!ReadNumber(reader, &m_nMaxValue) || m_nMaxValue == 0 || m_nMaxValue > 65535)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    m_nDataOffset = static_cast<int>(reader.GetPosition());
    SetHeaderExtras(SamplesOf(m_nKind), 0, 0);
    return SetHeaderInfo(static_cast<int>(width), static_cast<int>(height), FormatOf(m_nKind));
}

unsigned char KwPNMDecoder::Scale(unsigned int sample) const
{
    if (sample >= m_nMaxValue) {
        return 255;
    }
    if (m_nMaxValue == 255) {
        return static_cast<unsigned char>(sample);
    }
    return static_cast<unsigned char>((sample * 255 + m_nMaxValue / 2) / m_nMaxValue);
}

// ASCII bitmaps write each pixel as one digit, with or without spaces.
int KwPNMDecoder::ReadAsciiSamples(KwStreamReader& reader, unsigned char* out, int count)
{
    for (int i = 0; i < count; ++i) {
        if (m_nKind == 1) {
            unsigned int c = reader.ReadU8();
            while (reader.Ok() && IsSpace(c)) {
                c = reader.ReadU8();
            }
            if (!reader.Ok() || (c != '0' && c != '1')) {
                return 0;
            }
            out[i] = c == '1' ? 0 : 255;
            continue;
        }
        unsigned int sample = 0;
        if (!ReadNumber(reader, &sample)) {
            return 0;
        }
        out[i] = Scale(sample);
    }
    return 1;
}

// Samples above 255 take two bytes, most significant first.
int KwPNMDecoder::ReadBinarySamples(KwStreamReader& reader, unsigned char* out, int count)
{
    int wide = m_nMaxValue > 255;
    for (int i = 0; i < count; ++i) {
        unsigned int sample = wide ? reader.ReadU16BE() : reader.ReadU8();
        out[i] = Scale(sample);
    }
    return reader.Ok();
}

// One packed bitmap row, leftmost pixel in the high bit, 1 meaning black.
int KwPNMDecoder::ReadBinaryBits(KwStreamReader& reader, unsigned char* out)
{
    int width = GetWidth();
    for (int x = 0; x < width; x += 8) {
        unsigned int byte = reader.ReadU8();
        for (int bit = 0; bit < 8 && x + bit < width; ++bit) {
            out[x + bit] = ((byte >> (7 - bit)) & 1) != 0 ? 0 : 255;
        }
    }
    return reader.Ok();
}

int KwPNMDecoder::DecodePixels(KwBuffer* pixels)
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    int width = GetWidth();
    int height = GetHeight();
    int samples = SamplesOf(m_nKind);
    int rowSamples = width * samples;
    // Every sample needs at least one byte in the file (a bitmap bit an
    // eighth), so a short file is refused before allocation.
    long long least = m_nKind == 4 ? (width + 7) / 8 * static_cast<long long>(height)
                                   : static_cast<long long>(rowSamples) * height;
    if (!reader.Seek(m_nDataOffset) || !reader.CanHold(least)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    if (!AllocPixels(pixels, width, height, samples)) {
        return 0;
    }
    int ok = 1;
    for (int y = 0; y < height && ok; ++y) {
        unsigned char* out = pixels->GetPointer(y * rowSamples);
        if (m_nKind <= 3) {
            ok = ReadAsciiSamples(reader, out, rowSamples);
        } else if (m_nKind == 4) {
            ok = ReadBinaryBits(reader, out);
        } else {
            ok = ReadBinarySamples(reader, out, rowSamples);
        }
        ReportProgress(y, height);
    }
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

int KwPNMDecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nMaxValue > 255 ? 16 : 8));
    return 1;
}

int KwPNMDecoder::GetKind() const { return m_nKind; }
int KwPNMDecoder::GetMaxValue() const { return static_cast<int>(m_nMaxValue); }

} // namespace KwSDK
