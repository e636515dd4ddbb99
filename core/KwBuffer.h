// A growable memory block with a current position.
#ifndef KWSDK_KWBUFFER_H
#define KWSDK_KWBUFFER_H

#include "KwObject.h"

namespace KwSDK {

// Error codes of a buffer.
const unsigned int KW_BUF_ALLOC_FAIL = 0xF0000001u;
const unsigned int KW_BUF_PARAM = 0xF0000002u;
const unsigned int KW_BUF_NO_BLOCK = 0xF0000003u;

// Every operation first clears the error code. The Write forms never grow the
// block; the Put, Append and Insert forms do.
class KwBuffer : public virtual KwObject {
public:
    KwBuffer();
    // A buffer with a block of the given size (none when size is not positive).
    explicit KwBuffer(int size);
    KwBuffer(const KwBuffer& other);
    KwBuffer& operator=(const KwBuffer& other);
    ~KwBuffer() override;

    unsigned int GetErrorCode() const override;
    const char* GetErrorMessage(unsigned int code) const override;
    // A new buffer with a copy of the block and the position, one reference.
    KwBuffer* Clone() const override;

    // Replaces the block by a new one of size bytes (contents undefined).
    virtual int Alloc(int size);
    virtual int Resize(int size);
    virtual int Free();
    // Removes the bytes from start up to but excluding end; (0, size - 1)
    // frees the whole block.
    virtual int Delete(int start, int end);
    // Copies what fits between position and the end; answers the count copied.
    virtual int WriteAt(int position, const void* data, int count);
    virtual int Write(const void* data, int count);
    // Copies the bytes, growing the block when they reach past its end.
    virtual int PutAt(int position, const void* data, int count);
    virtual int Put(const void* data, int count);
    // Answers the count copied, -1 when position is at the end, 0 on error.
    virtual int ReadAt(int position, void* buffer, int count);
    virtual int Read(void* buffer, int count);
    virtual int GetSize() const;
    // origin 0 from the start, 1 from the position, 2 from the end; answers
    // the new position or -1.
    virtual int Seek(int origin, int offset);
    virtual int Append(const void* data, int count);
    virtual int GetPosition();
    virtual int Insert(const void* data, int count);
    virtual int InsertAt(int position, const void* data, int count);
    // The byte at an offset inside the block, or null.
    virtual unsigned char* GetPointer(int offset);

private:
    int SetError(unsigned int code, int result);
    int Grow(int size);
    int CopyFrom(const KwBuffer& other);

    unsigned char* m_pData;
    int m_nSize;
    int m_nPosition;
    unsigned int m_nError;
};

} // namespace KwSDK

#endif
