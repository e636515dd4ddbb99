// PGX decoding: a one-line text header ("PG", byte order, sign, depth,
// width, height) followed by raw samples of one grey component.
#include "KwPGXDecoder.h"

#include "KwImageParams.h"
#include "KwStreamReader.h"

namespace KwSDK {

namespace {

const int kMaxHeaderLength = 256;

int IsBlank(unsigned int c)
{
    return c == ' ' || c == '\t';
}

// Reads a decimal number after optional blanks; 0 when none is there or it
// exceeds 16777215.
int ReadDecimal(KwStreamReader& reader, unsigned int* value, unsigned int* next)
{
    unsigned int c = reader.ReadU8();
    while (reader.Ok() && IsBlank(c)) {
        c = reader.ReadU8();
    }
    if (!reader.Ok() || c < '0' || c > '9') {
        return 0;
    }
    unsigned int number = 0;
    while (reader.Ok() && c >= '0' && c <= '9' && number <= 0xFFFFFF) {
        number = number * 10 + (c - '0');
        c = reader.ReadU8();
    }
    *value = number;
    *next = c;
    return reader.Ok() && number <= 0xFFFFFF;
}

} // namespace

KwPGXDecoder::KwPGXDecoder()
{
    AppendTypeName("KwPGXDecoder");
    ResetState();
}

KwPGXDecoder::~KwPGXDecoder() = default;

void KwPGXDecoder::ResetState()
{
    IKwCoder::ResetState();
    m_nDepth = 0;
    m_bSigned = 0;
    m_bBigEndian = 0;
    m_nDataOffset = 0;
}

// "PG ML + 8 640 480\n": "ML" is big-endian, "LM" little-endian; the sign
// is optional and may touch the depth.
int KwPGXDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned char head[5] = {0};
    if (!reader.ReadBytes(head, 5) || head[0] != 'P' || head[1] != 'G' || !IsBlank(head[2])) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    int big = head[3] == 'M' && head[4] == 'L';
    if (!big && !(head[3] == 'L' && head[4] == 'M')) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    unsigned int c = reader.ReadU8();
    m_bSigned = 0;
    while (reader.Ok() && (IsBlank(c) || c == '+' || c == '-')) {
        m_bSigned = c == '-' ? 1 : (c == '+' ? 0 : m_bSigned);
        c = reader.ReadU8();
    }
    reader.Seek(reader.GetPosition() - 1);
    unsigned int depth = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    if (!ReadDecimal(reader, &depth, &c) || !ReadDecimal(reader, &width, &c) ||
        !ReadDecimal(reader, &height, &c)) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    while (reader.Ok() && c != '\n' && reader.GetPosition() < kMaxHeaderLength) {
        c = reader.ReadU8();
    }
    if (!reader.Ok() || c != '\n' || depth < 1 || depth > 16) {
        return Fail(depth > 16 ? KW_CODER_UNSUPPORTED : KW_CODER_BAD_HEADER);
    }
    m_bBigEndian = big;
    m_nDepth = static_cast<int>(depth);
    m_nDataOffset = static_cast<int>(reader.GetPosition());
    SetHeaderExtras(1, 0, 0);
    return SetHeaderInfo(static_cast<int>(width), static_cast<int>(height), KW_FORMAT_RGB);
}

int KwPGXDecoder::DecodePixels(KwBuffer* pixels)
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    int width = GetWidth();
    int height = GetHeight();
    int sampleBytes = m_nDepth > 8 ? 2 : 1;
    if (!reader.Seek(m_nDataOffset) ||
        !reader.CanHold(static_cast<long long>(width) * height * sampleBytes)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    if (!AllocPixels(pixels, width, height, 3)) {
        return 0;
    }
    // Samples are masked to their depth; signed ones are moved up by half
    // the range so that the most negative value is black.
    long long maxValue = (1LL << m_nDepth) - 1;
    long long offset = m_bSigned ? 1LL << (m_nDepth - 1) : 0;
    unsigned char* out = pixels->GetPointer(0);
    for (int y = 0; y < height && reader.Ok(); ++y) {
        for (int x = 0; x < width; ++x, out += 3) {
            unsigned int raw = sampleBytes == 1 ? reader.ReadU8()
                               : (m_bBigEndian ? reader.ReadU16BE() : reader.ReadU16());
            long long sample = raw & maxValue;
            if (m_bSigned && sample >= offset) {
                sample -= maxValue + 1;
            }
            sample += offset;
            unsigned char level = static_cast<unsigned char>((sample * 255 + maxValue / 2) / maxValue);
            out[0] = out[1] = out[2] = level;
        }
        ReportProgress(y, height);
    }
    return reader.Ok() ? 1 : Fail(KW_CODER_BAD_DATA);
}

int KwPGXDecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nDepth));
    return 1;
}

int KwPGXDecoder::GetDepth() const { return m_nDepth; }
int KwPGXDecoder::IsSigned() const { return m_bSigned; }
int KwPGXDecoder::IsBigEndian() const { return m_bBigEndian; }

} // namespace KwSDK
