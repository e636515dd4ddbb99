// A stream over a KwBuffer, which several streams may share.
#ifndef KWSDK_KWBUFFERSTREAM_H
#define KWSDK_KWBUFFERSTREAM_H

#include "IKwIOStream.h"
#include "KwBuffer.h"

namespace KwSDK {

// Each operation holds the buffer's object lock while it touches the buffer.
// The stream keeps its own position. A new stream is open; writing or
// SetData without an attached buffer makes a buffer of its own.
class KwBufferStream : public IKwIOStream {
public:
    KwBufferStream();
    // Attaches the buffer (null attaches nothing).
    explicit KwBufferStream(KwBuffer* buffer);
    ~KwBufferStream() override;

    int SetMode(int mode) override;
    int Available() override;
    int Open() override;
    int Close() override;
    int Read(void* buffer, int count) override;
    int Write(const void* data, int count) override;
    int Seek(int offset, int origin) override;
    int GetPosition() override;
    int Flush() override;

    // Holds a reference to the buffer, releasing the previous one; position 0.
    virtual int Attach(KwBuffer* buffer);
    // Replaces the buffer's contents by a copy of the bytes; position 0.
    virtual int SetData(const void* data, int count);
    // The attached buffer with a reference for the caller, or null.
    virtual KwBuffer* GetBuffer();

private:
    KwBufferStream(const KwBufferStream&) = delete;
    KwBufferStream& operator=(const KwBufferStream&) = delete;

    int EnsureBuffer();
    int WriteLocked(const void* data, int count);
    int SeekLocked(long long target);

    KwBuffer* m_pBuffer;
    int m_nPosition;
    int m_bClosed;
};

} // namespace KwSDK

#endif
