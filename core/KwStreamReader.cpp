// Bounds-checked, buffered reading of file bytes.
#include "KwStreamReader.h"

#include <cstdlib>
#include <cstring>

namespace KwSDK {

namespace {
const int kWindowSize = 65536;
}

KwStreamReader::KwStreamReader(IKwIOStream* stream, int base)
    : m_pStream(stream), m_nBase(base < 0 ? 0 : base), m_nSize(-1), m_nWindowStart(0),
      m_nWindowLength(0), m_nWindowPos(0), m_bFailed(0),
      m_pWindow(static_cast<unsigned char*>(std::malloc(kWindowSize)))
{
    AppendTypeName("KwStreamReader");
    if (m_pStream == nullptr || m_pWindow == nullptr) {
        m_bFailed = 1;
        return;
    }
    DetectSize();
}

KwStreamReader::~KwStreamReader()
{
    std::free(m_pWindow);
}

// Measures the stream once by seeking to its end, and leaves the stream
// where the file starts.
void KwStreamReader::DetectSize()
{
    if (m_pStream->Seek(0, KW_SEEK_END)) {
        long long end = m_pStream->GetPosition();
        if (end >= m_nBase) {
            m_nSize = end - m_nBase;
        }
    }
    m_pStream->Seek(static_cast<int>(m_nBase), KW_SEEK_SET);
}

int KwStreamReader::Ok() const { return m_bFailed ? 0 : 1; }
void KwStreamReader::SetFailed() { m_bFailed = 1; }
long long KwStreamReader::GetPosition() const { return m_nWindowStart + m_nWindowPos; }
long long KwStreamReader::GetSize() const { return m_nSize; }

long long KwStreamReader::Remaining() const
{
    return m_nSize < 0 ? -1 : m_nSize - GetPosition();
}

int KwStreamReader::CanHold(long long count) const
{
    return m_nSize < 0 || (count >= 0 && count <= Remaining()) ? 1 : 0;
}

// Loads the window at the current position; answers the bytes now in it.
int KwStreamReader::Fill()
{
    m_nWindowStart += m_nWindowPos;
    m_nWindowPos = 0;
    m_nWindowLength = 0;
    if (m_bFailed || m_nWindowStart + m_nBase > 0x7FFFFFFF ||
        !m_pStream->Seek(static_cast<int>(m_nWindowStart + m_nBase), KW_SEEK_SET)) {
        return 0;
    }
    while (m_nWindowLength < kWindowSize) {
        int got = m_pStream->Read(m_pWindow + m_nWindowLength, kWindowSize - m_nWindowLength);
        if (got <= 0) {
            break;
        }
        m_nWindowLength += got;
    }
    return m_nWindowLength;
}

int KwStreamReader::ReadSome(void* out, int count)
{
    unsigned char* target = static_cast<unsigned char*>(out);
    int done = 0;
    while (!m_bFailed && done < count) {
        if (m_nWindowPos >= m_nWindowLength && Fill() == 0) {
            break;
        }
        int take = m_nWindowLength - m_nWindowPos;
        take = take < count - done ? take : count - done;
        std::memcpy(target + done, m_pWindow + m_nWindowPos, static_cast<size_t>(take));
        m_nWindowPos += take;
        done += take;
    }
    return done;
}

int KwStreamReader::ReadBytes(void* out, int count)
{
    if (m_bFailed || count < 0 || out == nullptr) {
        m_bFailed = 1;
        return 0;
    }
    if (ReadSome(out, count) != count) {
        m_bFailed = 1;
        return 0;
    }
    return 1;
}

unsigned int KwStreamReader::ReadU8()
{
    if (m_nWindowPos < m_nWindowLength && !m_bFailed) {
        return m_pWindow[m_nWindowPos++];
    }
    unsigned char byte = 0;
    return ReadBytes(&byte, 1) ? byte : 0;
}

unsigned int KwStreamReader::ReadU16()
{
    unsigned char b[2] = {0, 0};
    return ReadBytes(b, 2) ? (b[0] | static_cast<unsigned int>(b[1]) << 8) : 0;
}

unsigned int KwStreamReader::ReadU32()
{
    unsigned char b[4] = {0, 0, 0, 0};
    if (!ReadBytes(b, 4)) {
        return 0;
    }
    return b[0] | static_cast<unsigned int>(b[1]) << 8 | static_cast<unsigned int>(b[2]) << 16 |
           static_cast<unsigned int>(b[3]) << 24;
}

unsigned int KwStreamReader::ReadU16BE()
{
    unsigned char b[2] = {0, 0};
    return ReadBytes(b, 2) ? (static_cast<unsigned int>(b[0]) << 8 | b[1]) : 0;
}

unsigned int KwStreamReader::ReadU32BE()
{
    unsigned char b[4] = {0, 0, 0, 0};
    if (!ReadBytes(b, 4)) {
        return 0;
    }
    return static_cast<unsigned int>(b[0]) << 24 | static_cast<unsigned int>(b[1]) << 16 |
           static_cast<unsigned int>(b[2]) << 8 | b[3];
}

int KwStreamReader::Seek(long long position)
{
    if (m_bFailed || position < 0 || (m_nSize >= 0 && position > m_nSize)) {
        m_bFailed = 1;
        return 0;
    }
    if (position >= m_nWindowStart && position <= m_nWindowStart + m_nWindowLength) {
        m_nWindowPos = static_cast<int>(position - m_nWindowStart);
        return 1;
    }
    m_nWindowStart = position;
    m_nWindowPos = 0;
    m_nWindowLength = 0;
    return 1;
}

int KwStreamReader::Skip(long long count)
{
    if (count < 0) {
        m_bFailed = 1;
        return 0;
    }
    return Seek(GetPosition() + count);
}

} // namespace KwSDK
