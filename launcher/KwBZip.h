// A bzip2 file through libbzip2's high-level calls: one handle for writing a
// compressed file and one for reading one back.
#ifndef KWSDK_KWBZIP_H
#define KWSDK_KWBZIP_H

#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {

// The two handles are independent; either may be absent. Paths use
// backslashes on every platform.
class KwBZip : public virtual KwObject {
public:
    KwBZip();
    // Closes whichever handles are still open, the write handle first.
    ~KwBZip() override;

    // Opens the path for compressing at block size 9 (closing an open write
    // handle first); 1 on success, 0 with the write handle absent.
    virtual int OpenWrite(const KwString& path);
    // Compresses the bytes; answers the length, or -1 without a write handle,
    // for a null pointer, a negative length or any libbzip2 error.
    virtual int Write(const void* data, int length);
    // Finishes the stream and closes the file; 1 if a handle was closed.
    virtual int CloseWrite();
    // Opens the path for decompressing (closing an open read handle first).
    virtual int OpenRead(const KwString& path);
    // Fills the buffer completely unless the stream ends first; answers the
    // count delivered, 0 once the stream has ended, -1 on any error. A
    // stream that failed keeps answering -1.
    virtual int Read(void* buffer, int length);
    // Closes the read handle; 1 if a handle was closed.
    virtual int CloseRead();

private:
    KwBZip(const KwBZip&) = delete;
    KwBZip& operator=(const KwBZip&) = delete;

    void* OpenHandle(const KwString& path, const char* mode);

    void* m_pWrite;
    void* m_pRead;
    int m_nReadState;
};

} // namespace KwSDK

#endif
