// Sun raster decoding: the big-endian header, an optional colour map and
// plain or run-length coded rows padded to 16 bits.
#include "KwRASDecoder.h"

#include "KwImageParams.h"

#include <cstdlib>
#include <cstring>

namespace KwSDK {

namespace {

const unsigned int kMagic = 0x59A66A95u;
const int kHeaderSize = 32;
const int kTypeOld = 0;
const int kTypeEncoded = 2;
const int kTypeRgb = 3;
const int kMapNone = 0;
const int kMapRgb = 1;
const int kMapRaw = 2;

} // namespace

KwRASDecoder::KwRASDecoder()
{
    AppendTypeName("KwRASDecoder");
    ResetState();
}

KwRASDecoder::~KwRASDecoder() = default;

void KwRASDecoder::ResetState()
{
    IKwCoder::ResetState();
    m_nDepth = 0;
    m_nType = 0;
    m_nMapType = 0;
    m_nMapLength = 0;
    m_nStride = 0;
    m_nRunByte = 0;
    m_nRunLeft = 0;
    std::memset(m_palette, 0, sizeof(m_palette));
}

int KwRASDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned int magic = reader.ReadU32BE();
    unsigned int width = reader.ReadU32BE();
    unsigned int height = reader.ReadU32BE();
    m_nDepth = static_cast<int>(reader.ReadU32BE());
    reader.ReadU32BE();
    m_nType = static_cast<int>(reader.ReadU32BE());
    m_nMapType = static_cast<int>(reader.ReadU32BE());
    unsigned int mapLength = reader.ReadU32BE();
    if (!reader.Ok() || magic != kMagic) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    if ((m_nDepth != 1 && m_nDepth != 8 && m_nDepth != 24 && m_nDepth != 32) ||
        m_nType < kTypeOld || m_nType > kTypeRgb || m_nMapType < kMapNone || m_nMapType > kMapRaw) {
        return Fail(KW_CODER_UNSUPPORTED);
    }
    if (width > KW_IMAGE_MAX_SIDE || height > KW_IMAGE_MAX_SIDE || mapLength > 0x100000 ||
        (m_nMapType == kMapRgb && (mapLength % 3 != 0 || mapLength > 768))) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    m_nMapLength = static_cast<int>(mapLength);
    if (m_nMapType == kMapRgb) {
        // The map stores all reds, then all greens, then all blues.
        int entries = m_nMapLength / 3;
        unsigned char map[768];
        if (!reader.ReadBytes(map, m_nMapLength)) {
            return Fail(KW_CODER_BAD_HEADER);
        }
        for (int i = 0; i < entries; ++i) {
            m_palette[i * 3] = map[2 * entries + i];
            m_palette[i * 3 + 1] = map[entries + i];
            m_palette[i * 3 + 2] = map[i];
        }
    } else if (m_nDepth == 8) {
        for (int i = 0; i < 256; ++i) {
            std::memset(m_palette + i * 3, i, 3);
        }
    }
    m_nStride = static_cast<int>((static_cast<long long>(width) * m_nDepth + 15) / 16 * 2);
    SetHeaderExtras(m_nDepth >= 24 ? 3 : 1, 0, 0);
    return SetHeaderInfo(static_cast<int>(width), static_cast<int>(height), KW_FORMAT_BGR);
}

// Encoded data: 0x80 0x00 is one 0x80 byte, 0x80 n v is n + 1 bytes v,
// any other byte stands for itself. Runs may cross rows.
int KwRASDecoder::ReadRow(KwStreamReader& reader, unsigned char* row, int length)
{
    if (m_nType != kTypeEncoded) {
        return reader.ReadBytes(row, length);
    }
    for (int i = 0; i < length; ++i) {
        if (m_nRunLeft == 0) {
            unsigned int byte = reader.ReadU8();
            m_nRunLeft = 1;
            if (byte == 0x80) {
                unsigned int count = reader.ReadU8();
                if (count != 0) {
                    m_nRunLeft = static_cast<int>(count) + 1;
                    byte = reader.ReadU8();
                }
            }
            m_nRunByte = static_cast<int>(byte);
            if (!reader.Ok()) {
                return 0;
            }
        }
        row[i] = static_cast<unsigned char>(m_nRunByte);
        --m_nRunLeft;
    }
    return 1;
}

void KwRASDecoder::ConvertRow(const unsigned char* row, unsigned char* out) const
{
    int width = GetWidth();
    for (int x = 0; x < width; ++x, out += 3) {
        if (m_nDepth == 1) {
            // A set bit is black.
            unsigned char level = ((row[x / 8] >> (7 - x % 8)) & 1) != 0 ? 0 : 255;
            out[0] = out[1] = out[2] = level;
        } else if (m_nDepth == 8) {
            std::memcpy(out, m_palette + row[x] * 3, 3);
        } else {
            // 32-bit pixels lead with a padding byte; the RGB type stores
            // red first, the others blue first.
            const unsigned char* p = row + x * (m_nDepth / 8) + (m_nDepth == 32 ? 1 : 0);
            int rgb = m_nType == kTypeRgb;
            out[0] = rgb ? p[2] : p[0];
            out[1] = p[1];
            out[2] = rgb ? p[0] : p[2];
        }
    }
}

int KwRASDecoder::DecodePixels(KwBuffer* pixels)
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    int width = GetWidth();
    int height = GetHeight();
    // Encoded data packs at most 256 bytes into 3.
    long long least = static_cast<long long>(m_nStride) * height / (m_nType == kTypeEncoded ? 86 : 1);
    if (!reader.Seek(kHeaderSize + static_cast<long long>(m_nMapLength)) || !reader.CanHold(least)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    if (!AllocPixels(pixels, width, height, 3)) {
        return 0;
    }
    unsigned char* row = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(m_nStride)));
    if (row == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    m_nRunLeft = 0;
    int ok = 1;
    for (int y = 0; y < height && ok; ++y) {
        ok = ReadRow(reader, row, m_nStride);
        if (ok) {
            ConvertRow(row, pixels->GetPointer(y * width * 3));
        }
        ReportProgress(y, height);
    }
    std::free(row);
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

int KwRASDecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nDepth));
    return 1;
}

int KwRASDecoder::GetDepth() const { return m_nDepth; }
int KwRASDecoder::GetRasterType() const { return m_nType; }

} // namespace KwSDK
