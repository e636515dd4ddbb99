// A growable memory block with a current position.
#include "KwBuffer.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace KwSDK {

KwBuffer::KwBuffer() : m_pData(nullptr), m_nSize(0), m_nPosition(0), m_nError(0)
{
    AppendTypeName("KwBuffer");
}

KwBuffer::KwBuffer(int size) : m_pData(nullptr), m_nSize(0), m_nPosition(0), m_nError(0)
{
    AppendTypeName("KwBuffer");
    if (size > 0)
        Alloc(size);
}

KwBuffer::KwBuffer(const KwBuffer& other)
    : KwObject(other), m_pData(nullptr), m_nSize(0), m_nPosition(0), m_nError(0)
{
    AppendTypeName("KwBuffer");
    CopyFrom(other);
}

KwBuffer& KwBuffer::operator=(const KwBuffer& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

KwBuffer::~KwBuffer()
{
    free(m_pData);
}

// Replaces the block by a copy of the other's; on failure this one stays empty.
int KwBuffer::CopyFrom(const KwBuffer& other)
{
    Free();
    if (!other.m_pData)
        return 1;
    if (!Alloc(other.m_nSize))
        return 0;
    memcpy(m_pData, other.m_pData, static_cast<size_t>(other.m_nSize));
    m_nPosition = other.m_nPosition;
    return 1;
}

unsigned int KwBuffer::GetErrorCode() const
{
    return m_nError;
}

const char* KwBuffer::GetErrorMessage(unsigned int code) const
{
    switch (code) {
    case KW_BUF_ALLOC_FAIL: return "Alloc memory fail";
    case KW_BUF_PARAM: return "Paramater is wrong";
    case KW_BUF_NO_BLOCK: return "No buffer alloc";
    default: return "Success";
    }
}

KwBuffer* KwBuffer::Clone() const
{
    KwBuffer* copy = new (std::nothrow) KwBuffer;
    if (!copy)
        return nullptr;
    if (!copy->CopyFrom(*this)) {
        delete copy;
        return nullptr;
    }
    copy->AddRef();
    return copy;
}

int KwBuffer::SetError(unsigned int code, int result)
{
    m_nError = code;
    return result;
}

// Changes the block to size bytes keeping what fits; new bytes are zero so a
// gap left by a write behind the end never shows old heap contents.
int KwBuffer::Grow(int size)
{
    unsigned char* data = static_cast<unsigned char*>(realloc(m_pData, static_cast<size_t>(size)));
    if (!data)
        return 0;
    if (size > m_nSize)
        memset(data + m_nSize, 0, static_cast<size_t>(size - m_nSize));
    m_pData = data;
    m_nSize = size;
    if (m_nPosition > size)
        m_nPosition = size;
    return 1;
}

// Whether base + count fits the int sizes the buffer keeps.
static int FitsAfter(int base, int count)
{
    return count <= INT_MAX - base;
}

int KwBuffer::Alloc(int size)
{
    m_nError = 0;
    if (size <= 0)
        return SetError(KW_BUF_PARAM, 0);
    unsigned char* data = static_cast<unsigned char*>(malloc(static_cast<size_t>(size)));
    if (!data)
        return SetError(KW_BUF_ALLOC_FAIL, 0);
    free(m_pData);
    m_pData = data;
    m_nSize = size;
    m_nPosition = 0;
    return 1;
}

int KwBuffer::Resize(int size)
{
    m_nError = 0;
    if (size <= 0)
        return SetError(KW_BUF_PARAM, 0);
    return Grow(size) ? 1 : SetError(KW_BUF_ALLOC_FAIL, 0);
}

int KwBuffer::Free()
{
    m_nError = 0;
    free(m_pData);
    m_pData = nullptr;
    m_nSize = 0;
    m_nPosition = 0;
    return 1;
}

int KwBuffer::Delete(int start, int end)
{
    m_nError = 0;
    if (!m_pData)
        return SetError(KW_BUF_NO_BLOCK, 1);
    if (start < 0 || start > end || end >= m_nSize)
        return SetError(KW_BUF_PARAM, 0);
    if (start == 0 && end == m_nSize - 1)
        return Free();
    memmove(m_pData + start, m_pData + end, static_cast<size_t>(m_nSize - end));
    int size = m_nSize - (end - start);
    // Shrinking cannot fail in practice; if it does, the old block is still valid.
    unsigned char* data = static_cast<unsigned char*>(realloc(m_pData, static_cast<size_t>(size)));
    if (data)
        m_pData = data;
    m_nSize = size;
    m_nPosition = 0;
    return 1;
}

int KwBuffer::WriteAt(int position, const void* data, int count)
{
    m_nError = 0;
    if (count == 0)
        return 0;
    if (count < 0 || position < 0 || !data)
        return SetError(KW_BUF_PARAM, -1);
    if (!m_pData)
        return SetError(KW_BUF_NO_BLOCK, -1);
    if (position > m_nSize)
        return SetError(KW_BUF_PARAM, -1);
    int copied = count < m_nSize - position ? count : m_nSize - position;
    memcpy(m_pData + position, data, static_cast<size_t>(copied));
    m_nPosition = position + copied;
    return copied;
}

int KwBuffer::Write(const void* data, int count)
{
    return WriteAt(m_nPosition, data, count);
}

int KwBuffer::PutAt(int position, const void* data, int count)
{
    m_nError = 0;
    if (count <= 0 || !data || position < 0 || !FitsAfter(position, count))
        return SetError(KW_BUF_PARAM, 0);
    if (position + count > m_nSize && !Grow(position + count))
        return SetError(KW_BUF_ALLOC_FAIL, 0);
    memcpy(m_pData + position, data, static_cast<size_t>(count));
    m_nPosition = position + count;
    return count;
}

int KwBuffer::Put(const void* data, int count)
{
    return PutAt(m_nPosition, data, count);
}

int KwBuffer::ReadAt(int position, void* buffer, int count)
{
    m_nError = 0;
    if (count <= 0 || position < 0 || !buffer)
        return SetError(KW_BUF_PARAM, 0);
    if (!m_pData)
        return SetError(KW_BUF_NO_BLOCK, 0);
    if (position == m_nSize)
        return -1;
    if (position > m_nSize)
        return SetError(KW_BUF_PARAM, 0);
    int copied = count < m_nSize - position ? count : m_nSize - position;
    memcpy(buffer, m_pData + position, static_cast<size_t>(copied));
    m_nPosition = position + copied;
    return copied;
}

int KwBuffer::Read(void* buffer, int count)
{
    return ReadAt(m_nPosition, buffer, count);
}

int KwBuffer::GetSize() const
{
    return m_nSize;
}

int KwBuffer::Seek(int origin, int offset)
{
    m_nError = 0;
    if (!m_pData)
        return SetError(KW_BUF_NO_BLOCK, -1);
    long long target;
    switch (origin) {
    case 0: target = offset; break;
    case 1: target = static_cast<long long>(m_nPosition) + offset; break;
    case 2:
        if (offset < -m_nSize || offset > 0)
            return SetError(KW_BUF_PARAM, -1);
        target = static_cast<long long>(m_nSize) + offset;
        break;
    default: return SetError(KW_BUF_PARAM, -1);
    }
    if (target < 0 || target > m_nSize)
        return SetError(KW_BUF_PARAM, -1);
    m_nPosition = static_cast<int>(target);
    return m_nPosition;
}

int KwBuffer::Append(const void* data, int count)
{
    m_nError = 0;
    if (count <= 0 || !data || !FitsAfter(m_nSize, count))
        return SetError(KW_BUF_PARAM, 0);
    int end = m_nSize;
    if (!Grow(m_nSize + count))
        return SetError(KW_BUF_ALLOC_FAIL, 0);
    memcpy(m_pData + end, data, static_cast<size_t>(count));
    m_nPosition = m_nSize;
    return count;
}

int KwBuffer::GetPosition()
{
    m_nError = 0;
    if (!m_pData)
        return SetError(KW_BUF_NO_BLOCK, -1);
    return m_nPosition;
}

int KwBuffer::Insert(const void* data, int count)
{
    return InsertAt(m_nPosition, data, count);
}

int KwBuffer::InsertAt(int position, const void* data, int count)
{
    m_nError = 0;
    if (count <= 0 || !data || position < 0 || position > m_nSize || !FitsAfter(m_nSize, count))
        return SetError(KW_BUF_PARAM, 0);
    int size = m_nSize + count;
    unsigned char* block = static_cast<unsigned char*>(malloc(static_cast<size_t>(size)));
    if (!block)
        return SetError(KW_BUF_ALLOC_FAIL, 0);
    if (position > 0)
        memcpy(block, m_pData, static_cast<size_t>(position));
    memcpy(block + position, data, static_cast<size_t>(count));
    if (m_nSize > position)
        memcpy(block + position + count, m_pData + position, static_cast<size_t>(m_nSize - position));
    free(m_pData);
    m_pData = block;
    m_nSize = size;
    m_nPosition = position + count;
    return count;
}

unsigned char* KwBuffer::GetPointer(int offset)
{
    m_nError = 0;
    if (!m_pData || offset < 0 || offset >= m_nSize)
        return nullptr;
    return m_pData + offset;
}

} // namespace KwSDK
