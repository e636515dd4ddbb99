// Reads a bzip2 stream that lies inside an open stream (for example the
// launcher's own file), front to back on the calling thread.
#ifndef KWSDK_KWSEQUENTIALBZIP_H
#define KWSDK_KWSEQUENTIALBZIP_H

#include "IKwIOStream.h"

namespace KwSDK {

// Answers exactly as KwBZip does for a file holding the same bytes: input is
// taken in pieces of the size libbzip2's file reader uses, so the request in
// which a damaged stream reports its error is the same one too.
class KwSequentialBZip {
public:
    KwSequentialBZip();
    ~KwSequentialBZip();

    // Starts on the length bytes at offset in the source, which must stay
    // open while this reads. 1 on success, 0 when the source cannot be
    // positioned or libbzip2 has no memory.
    int Open(IKwIOStream* source, unsigned int offset, unsigned int length);
    // As KwBZip::Read: fills the buffer unless the stream ends first;
    // answers the count, 0 once the stream has ended, -1 on any error (and
    // from then on).
    int Read(void* buffer, int length);
    // Reads and discards count bytes; 1 when all of them were there.
    int Skip(unsigned long long count);
    void Close();

private:
    KwSequentialBZip(const KwSequentialBZip&) = delete;
    KwSequentialBZip& operator=(const KwSequentialBZip&) = delete;

    int Refill();

    IKwIOStream* m_pSource;
    // libbzip2's stream state, allocated while open.
    void* m_pStream;
    unsigned int m_nLeft;
    int m_nInputEnded;
    int m_nState;
    unsigned char m_input[5000];
};

} // namespace KwSDK

#endif
