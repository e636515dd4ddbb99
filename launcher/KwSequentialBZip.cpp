// Sequential bzip2 reading over a region of a stream, on libbzip2's
// low-level calls, following the steps of its file reader.
#include "KwSequentialBZip.h"

#include <bzlib.h>

#include <new>

namespace KwSDK {

static const int kReadOpen = 0;
static const int kReadEnded = 1;
static const int kReadFailed = 2;

KwSequentialBZip::KwSequentialBZip()
    : m_pSource(nullptr), m_pStream(nullptr), m_nLeft(0), m_nInputEnded(0), m_nState(kReadFailed)
{
}

KwSequentialBZip::~KwSequentialBZip()
{
    Close();
}

int KwSequentialBZip::Open(IKwIOStream* source, unsigned int offset, unsigned int length)
{
    Close();
    if (!source || offset > 0x7FFFFFFFu || !source->Seek(static_cast<int>(offset), KW_SEEK_SET))
        return 0;
    bz_stream* stream = new (std::nothrow) bz_stream();
    if (!stream)
        return 0;
    if (BZ2_bzDecompressInit(stream, 0, 0) != BZ_OK) {
        delete stream;
        return 0;
    }
    m_pStream = stream;
    m_pSource = source;
    m_nLeft = length;
    m_nInputEnded = 0;
    m_nState = kReadOpen;
    return 1;
}

void KwSequentialBZip::Close()
{
    if (!m_pStream)
        return;
    bz_stream* stream = static_cast<bz_stream*>(m_pStream);
    BZ2_bzDecompressEnd(stream);
    delete stream;
    m_pStream = nullptr;
    m_pSource = nullptr;
    m_nState = kReadFailed;
}

// The file reader asks for a full buffer and knows the end has come once a
// read brings fewer bytes; a read error counts as the end here.
int KwSequentialBZip::Refill()
{
    unsigned int want = m_nLeft < sizeof m_input ? m_nLeft : static_cast<unsigned int>(sizeof m_input);
    int got = want ? m_pSource->Read(m_input, static_cast<int>(want)) : 0;
    if (got < 0)
        got = 0;
    m_nLeft -= static_cast<unsigned int>(got);
    if (static_cast<unsigned int>(got) < sizeof m_input)
        m_nInputEnded = 1;
    bz_stream* stream = static_cast<bz_stream*>(m_pStream);
    stream->next_in = reinterpret_cast<char*>(m_input);
    stream->avail_in = static_cast<unsigned int>(got);
    return got;
}

int KwSequentialBZip::Read(void* buffer, int length)
{
    if (!m_pStream || !buffer || length < 0 || m_nState == kReadFailed)
        return -1;
    if (m_nState == kReadEnded || length == 0)
        return 0;
    bz_stream* stream = static_cast<bz_stream*>(m_pStream);
    stream->next_out = static_cast<char*>(buffer);
    stream->avail_out = static_cast<unsigned int>(length);
    for (;;) {
        if (stream->avail_in == 0 && !m_nInputEnded)
            Refill();
        int code = BZ2_bzDecompress(stream);
        if (code == BZ_STREAM_END) {
            m_nState = kReadEnded;
            return length - static_cast<int>(stream->avail_out);
        }
        // A stream that needs input the region no longer has is cut short.
        if (code != BZ_OK || (m_nInputEnded && stream->avail_in == 0 && stream->avail_out > 0)) {
            m_nState = kReadFailed;
            return -1;
        }
        if (stream->avail_out == 0)
            return length;
    }
}

int KwSequentialBZip::Skip(unsigned long long count)
{
    unsigned char discard[4096];
    while (count > 0) {
        int piece = count < sizeof discard ? static_cast<int>(count) : static_cast<int>(sizeof discard);
        int got = Read(discard, piece);
        if (got != piece)
            return 0;
        count -= static_cast<unsigned long long>(got);
    }
    return 1;
}

} // namespace KwSDK
