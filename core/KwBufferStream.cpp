// A stream over a shared KwBuffer, holding the buffer's lock per operation.
#include "KwBufferStream.h"

#include <climits>
#include <new>

namespace KwSDK {

// Holds a buffer's object lock for one stream operation; a null buffer is
// not locked.
class BufferLock {
public:
    explicit BufferLock(KwBuffer* buffer) : m_pBuffer(buffer)
    {
        if (m_pBuffer)
            m_pBuffer->Lock(KW_INFINITE);
    }
    ~BufferLock()
    {
        if (m_pBuffer)
            m_pBuffer->Unlock();
    }
    BufferLock(const BufferLock&) = delete;
    BufferLock& operator=(const BufferLock&) = delete;

private:
    KwBuffer* m_pBuffer;
};

KwBufferStream::KwBufferStream() : m_pBuffer(nullptr), m_nPosition(0), m_bClosed(0)
{
    AppendTypeName("KwBufferStream");
}

KwBufferStream::KwBufferStream(KwBuffer* buffer) : m_pBuffer(nullptr), m_nPosition(0), m_bClosed(0)
{
    AppendTypeName("KwBufferStream");
    Attach(buffer);
}

KwBufferStream::~KwBufferStream()
{
    if (m_pBuffer)
        m_pBuffer->Release();
}

int KwBufferStream::SetMode(int mode)
{
    m_nMode = mode;
    return 1;
}

int KwBufferStream::Available()
{
    if (m_bClosed || !m_pBuffer)
        return -1;
    BufferLock lock(m_pBuffer);
    int size = m_pBuffer->GetSize();
    return m_nPosition < size ? size - m_nPosition : -1;
}

int KwBufferStream::Open()
{
    BufferLock lock(m_pBuffer);
    m_bClosed = 0;
    m_nPosition = 0;
    return 1;
}

int KwBufferStream::Close()
{
    BufferLock lock(m_pBuffer);
    m_bClosed = 1;
    m_nPosition = 0;
    return 1;
}

// Copies what is there between the position and the end: 0 at the end.
int KwBufferStream::Read(void* buffer, int count)
{
    if (m_bClosed || m_nMode == KW_MODE_WRITE || count < 0 || (!buffer && count > 0))
        return -1;
    if (count == 0 || !m_pBuffer)
        return 0;
    BufferLock lock(m_pBuffer);
    int available = m_pBuffer->GetSize() - m_nPosition;
    if (available <= 0)
        return 0;
    int got = m_pBuffer->ReadAt(m_nPosition, buffer, count < available ? count : available);
    if (got <= 0)
        return -1;
    m_nPosition += got;
    return got;
}

// A stream writing without a buffer of its own makes one.
int KwBufferStream::EnsureBuffer()
{
    if (m_pBuffer)
        return 1;
    KwBuffer* buffer = new (std::nothrow) KwBuffer;
    if (!buffer)
        return 0;
    buffer->AddRef();
    m_pBuffer = buffer;
    return 1;
}

int KwBufferStream::WriteLocked(const void* data, int count)
{
    // PutAt grows the block when the bytes reach past its end.
    int put = m_pBuffer->PutAt(m_nPosition, data, count);
    if (put != count)
        return -1;
    m_nPosition += put;
    return put;
}

int KwBufferStream::Write(const void* data, int count)
{
    if (m_bClosed || m_nMode == KW_MODE_READ || count < 0 || (!data && count > 0))
        return -1;
    if (count == 0)
        return 0;
    if (!EnsureBuffer())
        return -1;
    BufferLock lock(m_pBuffer);
    return WriteLocked(data, count);
}

// Moves to a target, growing the buffer (with zero bytes) when the stream may
// write and the target lies behind the end.
int KwBufferStream::SeekLocked(long long target)
{
    if (target < 0 || target > INT_MAX)
        return 0;
    int size = m_pBuffer ? m_pBuffer->GetSize() : 0;
    if (target > size) {
        if (m_nMode == KW_MODE_READ || !EnsureBuffer() || !m_pBuffer->Resize(static_cast<int>(target)))
            return 0;
    }
    m_nPosition = static_cast<int>(target);
    return 1;
}

int KwBufferStream::Seek(int offset, int origin)
{
    if (m_bClosed)
        return 0;
    BufferLock lock(m_pBuffer);
    long long size = m_pBuffer ? m_pBuffer->GetSize() : 0;
    long long target;
    switch (origin) {
    case KW_SEEK_SET: target = offset; break;
    case KW_SEEK_CUR: target = static_cast<long long>(m_nPosition) + offset; break;
    case KW_SEEK_END: target = size + offset; break;
    default: return 1;
    }
    return SeekLocked(target);
}

int KwBufferStream::GetPosition()
{
    return m_nPosition;
}

// Nothing is held back from the buffer, so there is nothing to flush.
int KwBufferStream::Flush()
{
    return m_bClosed ? 0 : 1;
}

int KwBufferStream::Attach(KwBuffer* buffer)
{
    if (!buffer)
        return 0;
    // Taking the new reference first keeps a buffer attached to itself alive.
    buffer->AddRef();
    if (m_pBuffer)
        m_pBuffer->Release();
    m_pBuffer = buffer;
    m_nPosition = 0;
    return 1;
}

int KwBufferStream::SetData(const void* data, int count)
{
    if (count <= 0 || !data)
        return 0;
    if (!EnsureBuffer())
        return 0;
    BufferLock lock(m_pBuffer);
    if (!m_pBuffer->Alloc(count) || m_pBuffer->WriteAt(0, data, count) != count)
        return 0;
    m_nPosition = 0;
    return 1;
}

KwBuffer* KwBufferStream::GetBuffer()
{
    if (m_pBuffer)
        m_pBuffer->AddRef();
    return m_pBuffer;
}

} // namespace KwSDK
