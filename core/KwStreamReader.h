// The one bounds-checked reader through which decoders and the package
// reader read file bytes.
#ifndef KWSDK_KWSTREAMREADER_H
#define KWSDK_KWSTREAMREADER_H

#include "IKwIOStream.h"
#include "KwObject.h"

namespace KwSDK {

// Reads little- and big-endian values from a stream through a read-ahead
// window. Failure is sticky: after the first short read, failed seek or
// out-of-range request every later read answers 0 and Ok answers 0, so a
// decoder may read a group of fields and check once. Positions are relative
// to the base given at construction (the start of the file in the stream).
// The stream is not held: it must outlive the reader.
class KwStreamReader : public virtual KwObject {
public:
    KwStreamReader(IKwIOStream* stream, int base);
    ~KwStreamReader() override;

    // 1 while no read has failed.
    int Ok() const;
    // Marks the reader failed (for a value the caller found invalid).
    void SetFailed();
    unsigned int ReadU8();
    unsigned int ReadU16();
    unsigned int ReadU32();
    unsigned int ReadU16BE();
    unsigned int ReadU32BE();
    // Copies exactly count bytes; 0 (and failed) when fewer are left.
    int ReadBytes(void* out, int count);
    // Copies up to count bytes and answers how many; never fails the reader.
    int ReadSome(void* out, int count);
    // Moves to an absolute position from the file start; 0 (and failed)
    // beyond the known end or on a negative position.
    int Seek(long long position);
    int Skip(long long count);
    long long GetPosition() const;
    // Size of the file, or -1 when the stream cannot tell.
    long long GetSize() const;
    // Bytes from the position to the known end, or -1 when unknown.
    long long Remaining() const;
    // 1 when at least count more bytes are known to exist or the size is
    // unknown; lets a decoder refuse a header whose data cannot be there
    // before it allocates for it.
    int CanHold(long long count) const;

private:
    KwStreamReader(const KwStreamReader&) = delete;
    KwStreamReader& operator=(const KwStreamReader&) = delete;

    int Fill();
    void DetectSize();

    IKwIOStream* m_pStream;
    long long m_nBase;
    long long m_nSize;
    long long m_nWindowStart;  // file position of m_pWindow[0]
    int m_nWindowLength;
    int m_nWindowPos;
    int m_bFailed;
    unsigned char* m_pWindow;
};

} // namespace KwSDK

#endif
