// PCX decoding: the 128-byte header, run-length coded scan lines of one to
// four planes, and the 16-colour or trailing 256-colour palette.
#include "KwPCXDecoder.h"

#include "KwImageParams.h"

#include <cstdlib>
#include <cstring>

namespace KwSDK {

namespace {

const int kHeaderSize = 128;
const int kPalette256Size = 769;  // marker byte 0x0C and 256 R, G, B entries

// Plane and depth combinations that PCX writers produce.
int IsSupportedLayout(int bitsPerPixel, int planes)
{
    if (planes == 1) {
        return bitsPerPixel == 1 || bitsPerPixel == 2 || bitsPerPixel == 4 || bitsPerPixel == 8;
    }
    if (bitsPerPixel == 1) {
        return planes >= 2 && planes <= 4;
    }
    return bitsPerPixel == 8 && (planes == 3 || planes == 4);
}

} // namespace

KwPCXDecoder::KwPCXDecoder()
{
    AppendTypeName("KwPCXDecoder");
    ResetState();
}

KwPCXDecoder::~KwPCXDecoder() = default;

void KwPCXDecoder::ResetState()
{
    IKwCoder::ResetState();
    m_nBitsPerPixel = 0;
    m_nPlanes = 0;
    m_nBytesPerLine = 0;
    m_bCompressed = 0;
    m_nRunLeft = 0;
    m_nRunByte = 0;
    std::memset(m_palette, 0, sizeof(m_palette));
}

int KwPCXDecoder::ReadHeader()
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    unsigned char header[kHeaderSize];
    if (!reader.ReadBytes(header, kHeaderSize) || header[0] != 0x0A || header[2] > 1) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    m_bCompressed = header[2];
    m_nBitsPerPixel = header[3];
    int xMin = header[4] | header[5] << 8;
    int yMin = header[6] | header[7] << 8;
    int xMax = header[8] | header[9] << 8;
    int yMax = header[10] | header[11] << 8;
    m_nPlanes = header[65];
    m_nBytesPerLine = header[66] | header[67] << 8;
    int width = xMax - xMin + 1;
    int height = yMax - yMin + 1;
    if (width <= 0 || height <= 0 || !IsSupportedLayout(m_nBitsPerPixel, m_nPlanes)) {
        return Fail(KW_CODER_UNSUPPORTED);
    }
    if (m_nBytesPerLine < (width * m_nBitsPerPixel + 7) / 8) {
        return Fail(KW_CODER_BAD_HEADER);
    }
    // The 16-colour palette lives in the header.
    std::memcpy(m_palette, header + 16, 48);
    if (m_nBitsPerPixel == 1 && m_nPlanes == 1) {
        static const unsigned char kMono[6] = {0, 0, 0, 255, 255, 255};
        std::memcpy(m_palette, kMono, sizeof(kMono));
    }
    int dpiX = header[12] | header[13] << 8;
    int dpiY = header[14] | header[15] << 8;
    SetHeaderExtras(m_nPlanes, static_cast<int>(dpiX / 0.0254), static_cast<int>(dpiY / 0.0254));
    return SetHeaderInfo(width, height, KW_FORMAT_RGB);
}

// The 256-colour palette follows the pixel data at the very end of the file.
int KwPCXDecoder::ReadPalette256(KwStreamReader& reader)
{
    long long size = reader.GetSize();
    if (size < kHeaderSize + kPalette256Size || !reader.Seek(size - kPalette256Size)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    if (reader.ReadU8() != 0x0C || !reader.ReadBytes(m_palette, 768)) {
        return Fail(KW_CODER_BAD_DATA);
    }
    return 1;
}

// One scan line: every plane's bytes in turn. Runs may continue into the
// next line, so the run state survives between calls.
int KwPCXDecoder::ReadScanLine(KwStreamReader& reader, unsigned char* line)
{
    int length = m_nBytesPerLine * m_nPlanes;
    if (!m_bCompressed) {
        return reader.ReadBytes(line, length);
    }
    for (int i = 0; i < length; ++i) {
        if (m_nRunLeft == 0) {
            unsigned int byte = reader.ReadU8();
            m_nRunLeft = 1;
            if ((byte & 0xC0) == 0xC0) {
                m_nRunLeft = static_cast<int>(byte & 0x3F);
                byte = reader.ReadU8();
            }
            m_nRunByte = static_cast<int>(byte);
            if (!reader.Ok()) {
                return 0;
            }
            if (m_nRunLeft == 0) {
                --i;
                continue;
            }
        }
        line[i] = static_cast<unsigned char>(m_nRunByte);
        --m_nRunLeft;
    }
    return reader.Ok();
}

void KwPCXDecoder::ConvertLine(const unsigned char* line, unsigned char* out) const
{
    int width = GetWidth();
    int bpl = m_nBytesPerLine;
    for (int x = 0; x < width; ++x, out += 3) {
        if (m_nBitsPerPixel == 8 && m_nPlanes >= 3) {
            out[0] = line[x];
            out[1] = line[bpl + x];
            out[2] = line[2 * bpl + x];
            continue;
        }
        unsigned int index = 0;
        if (m_nPlanes == 1) {
            int bits = m_nBitsPerPixel;
            int shift = 8 - bits * (x % (8 / bits) + 1);
            index = (line[x * bits / 8] >> shift) & ((1u << bits) - 1);
        } else {
            for (int plane = 0; plane < m_nPlanes; ++plane) {
                index |= ((line[plane * bpl + x / 8] >> (7 - x % 8)) & 1u) << plane;
            }
        }
        std::memcpy(out, m_palette + index * 3, 3);
    }
}

int KwPCXDecoder::DecodePixels(KwBuffer* pixels)
{
    KwStreamReader reader(GetStream(), GetStreamBase());
    int width = GetWidth();
    int height = GetHeight();
    int lineBytes = m_nBytesPerLine * m_nPlanes;
    if (m_nBitsPerPixel == 8 && m_nPlanes == 1 && !ReadPalette256(reader)) {
        return 0;
    }
    // A run byte codes at most 63 bytes, so the file must hold a minimum.
    long long least = static_cast<long long>(lineBytes) * height / (m_bCompressed ? 31 : 1);
    if (!reader.Seek(kHeaderSize) || !reader.CanHold(least) || !AllocPixels(pixels, width, height, 3)) {
        return GetErrorCode() != 0 ? 0 : Fail(KW_CODER_BAD_DATA);
    }
    unsigned char* line = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(lineBytes)));
    if (line == nullptr) {
        return Fail(KW_CODER_NO_MEMORY);
    }
    m_nRunLeft = 0;
    int ok = 1;
    for (int y = 0; y < height && ok; ++y) {
        ok = ReadScanLine(reader, line);
        if (ok) {
            ConvertLine(line, pixels->GetPointer(y * width * 3));
        }
        ReportProgress(y, height);
    }
    std::free(line);
    return ok ? 1 : Fail(KW_CODER_BAD_DATA);
}

int KwPCXDecoder::GetParams(KwParam* params)
{
    if (!IKwCoder::GetParams(params)) {
        return 0;
    }
    params->SetString(KW_PARAM_IMAGE_DEPTH, KwString(m_nBitsPerPixel * m_nPlanes));
    return 1;
}

int KwPCXDecoder::GetBitsPerPixel() const { return m_nBitsPerPixel; }
int KwPCXDecoder::GetPlanes() const { return m_nPlanes; }

} // namespace KwSDK
