// Finds the blocks of a bzip2 stream by their 48-bit markers and turns each
// into a stream of its own, so that blocks can be decoded independently.
#ifndef KWSDK_KWBLOCKSCANNER_H
#define KWSDK_KWBLOCKSCANNER_H

#include "IKwIOStream.h"

namespace KwSDK {

// A bzip2 stream is "BZh" and a level digit, then blocks that each start
// with the marker 0x314159265359 at any bit position followed by the block's
// CRC, then the end marker 0x177245385090 and the combined CRC. The scanner
// reads the stream once, front to back, and cuts it at every marker it
// finds. A marker pattern may also occur by chance inside a block's coded
// data; the piece cut there then fails to decode, which the caller takes as
// a reason to read the stream sequentially instead.
class KwBlockScanner {
public:
    // One block as a stream of its own: the stream's header, the block shifted
    // to a byte boundary, the end marker and the block's CRC as the stream's
    // CRC (the combined CRC of a one-block stream is the block's CRC).
    struct Piece {
        unsigned char* data;
        unsigned int size;
        unsigned int capacity;
        // The CRC stored in the block.
        unsigned int crc;
    };

    // Answers of Next.
    static const int kDoubt = 0;
    static const int kBlock = 1;
    static const int kEnd = 2;

    // A block's coded data cannot be longer: at most 18002 groups of 50
    // symbols of at most 20 bits each, plus its tables.
    static const unsigned int kMaxBlockBytes = 2400000;

    KwBlockScanner();
    ~KwBlockScanner();

    // Starts on the length bytes at the source's current position; the
    // source must stay open while the scanner is used.
    void Begin(IKwIOStream* source, unsigned int length);
    // kBlock with the next block in *piece; kEnd when the end marker follows
    // and its CRC agrees with the blocks' CRCs; kDoubt for anything else (no
    // header, a block too long, no end marker, a CRC that does not agree, no
    // memory). After kEnd or kDoubt it keeps answering the same.
    int Next(Piece* piece);

    static void FreePiece(Piece* piece);

private:
    KwBlockScanner(const KwBlockScanner&) = delete;
    KwBlockScanner& operator=(const KwBlockScanner&) = delete;

    int Finish(int answer);
    int Start();
    int Load(unsigned long long bitsNeeded);
    int FindMarker(unsigned long long from, unsigned long long* at, int* isEnd);
    unsigned int Bits(unsigned long long at, int count) const;
    int Cut(unsigned long long from, unsigned long long to, Piece* piece);
    void Drop(unsigned long long before);

    IKwIOStream* m_pSource;
    unsigned int m_nLeft;
    unsigned char* m_pRaw;
    unsigned int m_nRawSize;
    unsigned int m_nRawCapacity;
    // Stream offset of m_pRaw[0]; all bit positions count from the stream's
    // first byte.
    unsigned long long m_nRawBase;
    unsigned long long m_nBlockStart;
    // Where the next search for a marker resumes.
    unsigned long long m_nSearchFrom;
    unsigned int m_nCombinedCrc;
    char m_nLevel;
    int m_nState;
    // For every byte value: bit t (0-7) set when the byte can stand just
    // before the last byte of a block marker that ends t bits before that
    // byte's end; bits 8-15 the same for the end marker.
    unsigned short m_filter[256];
};

} // namespace KwSDK

#endif
