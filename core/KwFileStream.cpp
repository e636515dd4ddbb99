// A stream on a file through the run-time library's buffered file calls.
#include "KwFileStream.h"

#include "KwPlatformFile.h"

#include <climits>
#include <new>

namespace KwSDK {

// The direction of the last transfer; the run-time library needs a seek
// between a write and a read (either way round) on a stream open for both.
static const int kNoDirection = 0;
static const int kReading = 1;
static const int kWriting = 2;

KwFileStream::KwFileStream()
    : m_pFile(nullptr), m_strMode("rb+"), m_nError(0), m_nLastDirection(kNoDirection)
{
    AppendTypeName("KwFileStream");
}

KwFileStream::KwFileStream(const KwString& path)
    : m_pFile(nullptr), m_strPath(path), m_strMode("rb+"), m_nError(0),
      m_nLastDirection(kNoDirection)
{
    AppendTypeName("KwFileStream");
}

KwFileStream::~KwFileStream()
{
    if (m_pFile)
        fclose(m_pFile);
}

unsigned int KwFileStream::GetErrorCode() const
{
    return m_nError;
}

const char* KwFileStream::GetErrorMessage(unsigned int code) const
{
    switch (code) {
    case KW_FS_OPEN_FAIL: return "Open file fail";
    case KW_FS_NOT_OPEN: return "File is not openned";
    case KW_FS_LENGTH_FAIL: return "Can not get file length";
    case KW_FS_READ_FAIL: return "Read file data fail";
    case KW_FS_WRITE_FAIL: return "Write file data fail";
    case KW_FS_SEEK_FAIL: return "File seek fail";
    default: return "Success";
    }
}

KwFileStream* KwFileStream::Clone() const
{
    KwFileStream* copy = new (std::nothrow) KwFileStream(m_strPath);
    if (!copy)
        return nullptr;
    copy->SetMode(m_nMode);
    copy->AddRef();
    return copy;
}

int KwFileStream::Fail(unsigned int code, int result)
{
    m_nError = code;
    return result;
}

// Inserts the seek that the run-time library requires when a stream turns
// from writing to reading or back; without it the transfer is undefined.
int KwFileStream::PrepareFor(int direction)
{
    if (m_nLastDirection != kNoDirection && m_nLastDirection != direction &&
        fseek(m_pFile, 0, SEEK_CUR) != 0)
        return 0;
    m_nLastDirection = direction;
    return 1;
}

int KwFileStream::SetMode(int mode)
{
    m_nError = 0;
    m_nMode = mode;
    switch (mode) {
    case KW_MODE_READ: m_strMode = "rb"; break;
    case KW_MODE_WRITE: m_strMode = "wb"; break;
    case KW_MODE_APPEND: m_strMode = "ab+"; break;
    default: m_strMode = "rb+"; break;
    }
    return 1;
}

int KwFileStream::Available()
{
    m_nError = 0;
    if (!m_pFile)
        return Fail(KW_FS_NOT_OPEN, -1);
    // Bytes still in the run-time buffer are not in the file's size yet.
    if (m_nLastDirection == kWriting)
        fflush(m_pFile);
    Platform::FileStatus status;
    if (!Platform::FileStat(m_strPath.GetText(), &status))
        return Fail(KW_FS_LENGTH_FAIL, -1);
    long position = ftell(m_pFile);
    if (position < 0)
        return Fail(KW_FS_LENGTH_FAIL, -1);
    unsigned long long here = static_cast<unsigned long long>(position);
    if (status.size <= here)
        return -1;
    unsigned long long rest = status.size - here;
    return rest > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int>(rest);
}

int KwFileStream::Open()
{
    m_nError = 0;
    if (m_pFile)
        Close();
    m_nError = 0;
    m_nLastDirection = kNoDirection;
    if (m_strPath.GetLength() == 0)
        return Fail(KW_FS_OPEN_FAIL, 0);
    m_pFile = Platform::FileOpen(m_strPath.GetText(), m_strMode.GetText());
    return m_pFile ? 1 : Fail(KW_FS_OPEN_FAIL, 0);
}

// A close that fails could not write the buffered bytes: that is reported,
// and the handle is gone either way.
int KwFileStream::Close()
{
    m_nError = 0;
    if (!m_pFile)
        return Fail(KW_FS_NOT_OPEN, 0);
    int closed = fclose(m_pFile) == 0;
    m_pFile = nullptr;
    m_nLastDirection = kNoDirection;
    return closed ? 1 : Fail(KW_FS_WRITE_FAIL, 0);
}

int KwFileStream::Read(void* buffer, int count)
{
    m_nError = 0;
    if (!m_pFile)
        return Fail(KW_FS_NOT_OPEN, -1);
    if (count < 0 || (!buffer && count > 0))
        return Fail(KW_FS_READ_FAIL, -1);
    if (count == 0)
        return 0;
    if (!PrepareFor(kReading))
        return Fail(KW_FS_READ_FAIL, -1);
    size_t got = fread(buffer, 1, static_cast<size_t>(count), m_pFile);
    if (got == 0 && ferror(m_pFile)) {
        clearerr(m_pFile);
        return Fail(KW_FS_READ_FAIL, -1);
    }
    return static_cast<int>(got);
}

int KwFileStream::Write(const void* data, int count)
{
    m_nError = 0;
    if (!m_pFile)
        return Fail(KW_FS_NOT_OPEN, -1);
    if (count < 0 || (!data && count > 0))
        return Fail(KW_FS_WRITE_FAIL, -1);
    if (count == 0)
        return 0;
    if (!PrepareFor(kWriting))
        return Fail(KW_FS_WRITE_FAIL, -1);
    size_t put = fwrite(data, 1, static_cast<size_t>(count), m_pFile);
    if (put < static_cast<size_t>(count)) {
        clearerr(m_pFile);
        m_nError = KW_FS_WRITE_FAIL;
        return put > 0 ? static_cast<int>(put) : -1;
    }
    return static_cast<int>(put);
}

int KwFileStream::Seek(int offset, int origin)
{
    m_nError = 0;
    if (!m_pFile)
        return Fail(KW_FS_NOT_OPEN, 0);
    int whence = origin == KW_SEEK_SET ? SEEK_SET : (origin == KW_SEEK_END ? SEEK_END : SEEK_CUR);
    if (fseek(m_pFile, offset, whence) != 0)
        return Fail(KW_FS_SEEK_FAIL, 0);
    // A seek is the switch point between reading and writing.
    m_nLastDirection = kNoDirection;
    return 1;
}

int KwFileStream::GetPosition()
{
    m_nError = 0;
    if (!m_pFile)
        return Fail(KW_FS_NOT_OPEN, -1);
    long position = ftell(m_pFile);
    if (position > INT_MAX)
        return INT_MAX;
    return static_cast<int>(position);
}

int KwFileStream::Flush()
{
    m_nError = 0;
    if (!m_pFile)
        return Fail(KW_FS_NOT_OPEN, 0);
    return fflush(m_pFile) == 0 ? 1 : Fail(KW_FS_WRITE_FAIL, 0);
}

int KwFileStream::SetFileName(const char* path)
{
    m_nError = 0;
    m_strPath = path;
    return 1;
}

int KwFileStream::SetFileName(const KwString& path)
{
    m_nError = 0;
    m_strPath = path;
    return 1;
}

int KwFileStream::Open(const char* path, int mode)
{
    SetFileName(path);
    SetMode(mode);
    return Open();
}

int KwFileStream::Open(const KwString& path, int mode)
{
    SetFileName(path);
    SetMode(mode);
    return Open();
}

int KwFileStream::Open(int mode)
{
    SetMode(mode);
    return Open();
}

const KwString& KwFileStream::GetFileName() const
{
    return m_strPath;
}

const KwString& KwFileStream::GetModeString() const
{
    return m_strMode;
}

int KwFileStream::IsOpen() const
{
    return m_pFile ? 1 : 0;
}

} // namespace KwSDK
