// A stream on a file, through the run-time library's buffered file calls.
#ifndef KWSDK_KWFILESTREAM_H
#define KWSDK_KWFILESTREAM_H

#include "IKwIOStream.h"
#include "KwString.h"

#include <cstdio>

namespace KwSDK {

// Error codes of a file stream.
const unsigned int KW_FS_OPEN_FAIL = 0xF0000001u;
const unsigned int KW_FS_NOT_OPEN = 0xF0000002u;
const unsigned int KW_FS_LENGTH_FAIL = 0xF0000003u;
const unsigned int KW_FS_READ_FAIL = 0xF0000004u;
const unsigned int KW_FS_WRITE_FAIL = 0xF0000005u;
const unsigned int KW_FS_SEEK_FAIL = 0xF0000006u;

// A new stream is closed, has an empty path and mode KW_MODE_UPDATE ("rb+").
// Paths use backslashes on every platform.
class KwFileStream : public IKwIOStream {
public:
    KwFileStream();
    explicit KwFileStream(const KwString& path);
    ~KwFileStream() override;

    unsigned int GetErrorCode() const override;
    const char* GetErrorMessage(unsigned int code) const override;
    // A new, closed stream on the same path and mode, carrying one reference.
    KwFileStream* Clone() const override;

    int SetMode(int mode) override;
    int Available() override;
    int Open() override;
    int Close() override;
    int Read(void* buffer, int count) override;
    int Write(const void* data, int count) override;
    int Seek(int offset, int origin) override;
    int GetPosition() override;
    int Flush() override;

    virtual int SetFileName(const char* path);
    virtual int SetFileName(const KwString& path);
    // Store the path, set the mode, then open.
    virtual int Open(const char* path, int mode);
    virtual int Open(const KwString& path, int mode);
    // Sets the mode, then opens the stored path.
    virtual int Open(int mode);

    const KwString& GetFileName() const;
    const KwString& GetModeString() const;
    int IsOpen() const;

private:
    KwFileStream(const KwFileStream&) = delete;
    KwFileStream& operator=(const KwFileStream&) = delete;

    int Fail(unsigned int code, int result);
    int PrepareFor(int direction);

    FILE* m_pFile;
    KwString m_strPath;
    KwString m_strMode;
    unsigned int m_nError;
    int m_nLastDirection;
};

} // namespace KwSDK

#endif
