// Cutting a bzip2 stream into one-block streams at its block markers.
#include "KwBlockScanner.h"

#include <cstdlib>
#include <cstring>

namespace KwSDK {

static const unsigned long long kBlockMarker = 0x314159265359ull;
static const unsigned long long kEndMarker = 0x177245385090ull;
static const unsigned long long kMask48 = 0xFFFFFFFFFFFFull;
// Bytes read from the source at a time.
static const unsigned int kChunk = 65536;
// Header ("BZh" and the level), marker and CRC, in bits.
static const unsigned long long kHeaderBits = 32;
static const unsigned long long kMarkerBits = 48;
static const unsigned long long kCrcBits = 32;
// States besides the final answers.
static const int kStarting = -1;
static const int kScanning = -2;

KwBlockScanner::KwBlockScanner()
    : m_pSource(nullptr), m_nLeft(0), m_pRaw(nullptr), m_nRawSize(0), m_nRawCapacity(0),
      m_nRawBase(0), m_nBlockStart(0), m_nSearchFrom(0), m_nCombinedCrc(0), m_nLevel('9'),
      m_nState(kDoubt)
{
    memset(m_filter, 0, sizeof m_filter);
    for (int t = 0; t < 8; ++t) {
        m_filter[(kBlockMarker >> (8 - t)) & 0xFF] |= static_cast<unsigned short>(1u << t);
        m_filter[(kEndMarker >> (8 - t)) & 0xFF] |= static_cast<unsigned short>(0x100u << t);
    }
}

KwBlockScanner::~KwBlockScanner()
{
    free(m_pRaw);
}

void KwBlockScanner::FreePiece(Piece* piece)
{
    free(piece->data);
    piece->data = nullptr;
    piece->size = 0;
    piece->capacity = 0;
}

void KwBlockScanner::Begin(IKwIOStream* source, unsigned int length)
{
    m_pSource = source;
    m_nLeft = length;
    m_nRawSize = 0;
    m_nRawBase = 0;
    m_nBlockStart = 0;
    m_nSearchFrom = 0;
    m_nCombinedCrc = 0;
    m_nState = source ? kStarting : kDoubt;
}

int KwBlockScanner::Finish(int answer)
{
    m_nState = answer;
    return answer;
}

// Reads until the first bitsNeeded bits of the stream are in the buffer;
// 0 when the stream ends first or memory runs out.
int KwBlockScanner::Load(unsigned long long bitsNeeded)
{
    while ((m_nRawBase + m_nRawSize) * 8 < bitsNeeded) {
        if (m_nLeft == 0)
            return 0;
        unsigned int want = m_nLeft < kChunk ? m_nLeft : kChunk;
        if (m_nRawCapacity - m_nRawSize < want) {
            unsigned int capacity = m_nRawCapacity ? m_nRawCapacity * 2 : 4 * kChunk;
            if (capacity < m_nRawSize + want)
                capacity = m_nRawSize + want;
            unsigned char* grown = static_cast<unsigned char*>(realloc(m_pRaw, capacity));
            if (!grown)
                return 0;
            m_pRaw = grown;
            m_nRawCapacity = capacity;
        }
        int got = m_pSource->Read(m_pRaw + m_nRawSize, static_cast<int>(want));
        if (got <= 0)
            return 0;
        m_nRawSize += static_cast<unsigned int>(got);
        m_nLeft -= static_cast<unsigned int>(got);
    }
    return 1;
}

// count (at most 32) bits from the stream position at, which must be loaded.
unsigned int KwBlockScanner::Bits(unsigned long long at, int count) const
{
    unsigned int value = 0;
    for (int i = 0; i < count; ++i, ++at) {
        unsigned int byte = m_pRaw[at / 8 - m_nRawBase];
        value = (value << 1) | ((byte >> (7 - at % 8)) & 1u);
    }
    return value;
}

// Checks the stream header and what follows it: a block marker, or the end
// marker of a stream without blocks (whose combined CRC is 0).
int KwBlockScanner::Start()
{
    if (!Load(kHeaderBits + kMarkerBits) || memcmp(m_pRaw, "BZh", 3) != 0 || m_pRaw[3] < '1' ||
        m_pRaw[3] > '9')
        return Finish(kDoubt);
    m_nLevel = static_cast<char>(m_pRaw[3]);
    unsigned long long marker = (static_cast<unsigned long long>(Bits(kHeaderBits, 16)) << 32) |
                                Bits(kHeaderBits + 16, 32);
    if (marker == kBlockMarker) {
        m_nBlockStart = kHeaderBits;
        m_nSearchFrom = kHeaderBits + kMarkerBits;
        m_nState = kScanning;
        return kScanning;
    }
    if (marker == kEndMarker && Load(kHeaderBits + kMarkerBits + kCrcBits))
        return Finish(Bits(kHeaderBits + kMarkerBits, 32) == 0 ? kEnd : kDoubt);
    return Finish(kDoubt);
}

// The first marker of either kind that starts at bit from or later within the
// loaded bytes. A byte filter on the byte before a marker's last byte keeps
// the full comparison rare.
int KwBlockScanner::FindMarker(unsigned long long from, unsigned long long* at, int* isEnd)
{
    unsigned long long endBit = (m_nRawBase + m_nRawSize) * 8;
    if (from + kMarkerBits > endBit)
        return 0;
    // e: the byte that holds the marker's last bit; the six before it hold
    // the rest (the scan starts at least one marker past the buffer's start).
    for (unsigned int e = static_cast<unsigned int>((from + 47) / 8 - m_nRawBase); e < m_nRawSize; ++e) {
        unsigned int flags = m_filter[m_pRaw[e - 1]];
        if (!flags)
            continue;
        unsigned long long window = 0;
        for (unsigned int k = 7; k-- > 0;)
            window = (window << 8) | m_pRaw[e - k];
        // The largest shift is the earliest start.
        for (int t = 7; t >= 0; --t) {
            unsigned long long bits = (window >> t) & kMask48;
            unsigned long long start = (m_nRawBase + e + 1) * 8 - static_cast<unsigned int>(t) - kMarkerBits;
            if (((flags >> t) & 0x101u) && start >= from && (bits == kBlockMarker || bits == kEndMarker)) {
                *at = start;
                *isEnd = bits == kEndMarker;
                return 1;
            }
        }
    }
    m_nSearchFrom = endBit - (kMarkerBits - 1);
    return 0;
}

// Sets count bits of value, most significant first, into zeroed bytes at *at.
static void PutBits(unsigned char* out, unsigned long long* at, unsigned long long value, int count)
{
    for (int i = count - 1; i >= 0; --i, ++*at) {
        if ((value >> i) & 1u)
            out[*at / 8] |= static_cast<unsigned char>(0x80u >> (*at % 8));
    }
}

// Builds the one-block stream of the bits [from, to): header, the block
// shifted to a byte boundary, end marker and the block's CRC, zero padding.
int KwBlockScanner::Cut(unsigned long long from, unsigned long long to, Piece* piece)
{
    unsigned long long bits = to - from;
    if (bits < kMarkerBits + kCrcBits || bits > static_cast<unsigned long long>(kMaxBlockBytes) * 8)
        return 0;
    unsigned int blockBytes = static_cast<unsigned int>((bits + 7) / 8);
    unsigned int size = 4 + static_cast<unsigned int>((bits + kMarkerBits + kCrcBits + 7) / 8);
    if (piece->capacity < size) {
        unsigned int capacity = size + size / 8;
        unsigned char* grown = static_cast<unsigned char*>(realloc(piece->data, capacity));
        if (!grown)
            return 0;
        piece->data = grown;
        piece->capacity = capacity;
    }
    piece->crc = Bits(from + kMarkerBits, 32);
    unsigned char* out = piece->data;
    out[0] = 'B';
    out[1] = 'Z';
    out[2] = 'h';
    out[3] = static_cast<unsigned char>(m_nLevel);
    // The marker at to is loaded, so the byte after the block's last one is.
    const unsigned char* in = m_pRaw + (from / 8 - m_nRawBase);
    unsigned int shift = static_cast<unsigned int>(from % 8);
    for (unsigned int j = 0; j < blockBytes; ++j)
        out[4 + j] = static_cast<unsigned char>((in[j] << shift) | (in[j + 1] >> (8 - shift)));
    if (bits % 8)
        out[4 + blockBytes - 1] &= static_cast<unsigned char>(0xFF << (8 - bits % 8));
    memset(out + 4 + blockBytes, 0, size - 4 - blockBytes);
    unsigned long long at = kHeaderBits + bits;
    PutBits(out, &at, kEndMarker, static_cast<int>(kMarkerBits));
    PutBits(out, &at, piece->crc, static_cast<int>(kCrcBits));
    piece->size = size;
    return 1;
}

// Forgets the loaded bytes before the one that holds bit before.
void KwBlockScanner::Drop(unsigned long long before)
{
    unsigned int bytes = static_cast<unsigned int>(before / 8 - m_nRawBase);
    memmove(m_pRaw, m_pRaw + bytes, m_nRawSize - bytes);
    m_nRawSize -= bytes;
    m_nRawBase += bytes;
}

int KwBlockScanner::Next(Piece* piece)
{
    if (m_nState == kStarting)
        Start();
    if (m_nState != kScanning)
        return m_nState;
    unsigned long long at = 0;
    int isEnd = 0;
    for (;;) {
        unsigned long long from = m_nBlockStart + kMarkerBits;
        if (m_nSearchFrom > from)
            from = m_nSearchFrom;
        if (FindMarker(from, &at, &isEnd))
            break;
        unsigned long long loaded = (m_nRawBase + m_nRawSize) * 8;
        if (loaded - m_nBlockStart > static_cast<unsigned long long>(kMaxBlockBytes) * 8 + kMarkerBits ||
            !Load(loaded + 1))
            return Finish(kDoubt);
    }
    if (!Cut(m_nBlockStart, at, piece))
        return Finish(kDoubt);
    m_nCombinedCrc = ((m_nCombinedCrc << 1) | (m_nCombinedCrc >> 31)) ^ piece->crc;
    if (isEnd) {
        // The block is good to hand out; what follows it is decided now.
        int stored = Load(at + kMarkerBits + kCrcBits);
        m_nState = stored && Bits(at + kMarkerBits, 32) == m_nCombinedCrc ? kEnd : kDoubt;
        return kBlock;
    }
    Drop(at);
    m_nBlockStart = at;
    m_nSearchFrom = at + kMarkerBits;
    return kBlock;
}

} // namespace KwSDK
