// KwBZip on libbzip2's file interface (BZ2_bzopen, BZ2_bzread, BZ2_bzwrite,
// BZ2_bzclose).
#include "KwBZip.h"

#include "KwPlatformFile.h"

#include <bzlib.h>

namespace KwSDK {

// States of the read side: a stream that has ended or failed is not read again.
static const int kReadOpen = 0;
static const int kReadEnded = 1;
static const int kReadFailed = 2;

KwBZip::KwBZip() : m_pWrite(nullptr), m_pRead(nullptr), m_nReadState(kReadOpen)
{
    AppendTypeName("KwBZip");
}

KwBZip::~KwBZip()
{
    CloseWrite();
    CloseRead();
}

// An empty path must never reach BZ2_bzopen: libbzip2 takes it to mean
// standard input or standard output.
void* KwBZip::OpenHandle(const KwString& path, const char* mode)
{
    if (path.GetLength() == 0)
        return nullptr;
    KwString native = Platform::NativePath(path.GetText());
    if (native.GetLength() == 0)
        return nullptr;
    return BZ2_bzopen(native.GetText(), mode);
}

int KwBZip::OpenWrite(const KwString& path)
{
    CloseWrite();
    // Mode "wb" gives block size 9, the default work factor and no messages.
    m_pWrite = OpenHandle(path, "wb");
    return m_pWrite ? 1 : 0;
}

int KwBZip::Write(const void* data, int length)
{
    if (!m_pWrite || !data || length < 0)
        return -1;
    if (length == 0)
        return 0;
    // libbzip2 takes a non-const buffer but only reads from it.
    int written = BZ2_bzwrite(static_cast<BZFILE*>(m_pWrite), const_cast<void*>(data), length);
    return written == length ? length : -1;
}

// BZ2_bzclose abandons a stream whose finish fails and closes the file anyway.
int KwBZip::CloseWrite()
{
    if (!m_pWrite)
        return 0;
    BZ2_bzclose(static_cast<BZFILE*>(m_pWrite));
    m_pWrite = nullptr;
    return 1;
}

int KwBZip::OpenRead(const KwString& path)
{
    CloseRead();
    m_pRead = OpenHandle(path, "rb");
    m_nReadState = kReadOpen;
    return m_pRead ? 1 : 0;
}

int KwBZip::Read(void* buffer, int length)
{
    if (!m_pRead || !buffer || length < 0 || m_nReadState == kReadFailed)
        return -1;
    if (m_nReadState == kReadEnded || length == 0)
        return 0;
    BZFILE* handle = static_cast<BZFILE*>(m_pRead);
    int count = BZ2_bzread(handle, buffer, length);
    int code = BZ_OK;
    BZ2_bzerror(handle, &code);
    // A stream in an error state must not be driven further: libbzip2 makes
    // no promise about what a second call on it does.
    if (count < 0 || (code != BZ_OK && code != BZ_STREAM_END)) {
        m_nReadState = kReadFailed;
        return -1;
    }
    if (code == BZ_STREAM_END)
        m_nReadState = kReadEnded;
    return count;
}

int KwBZip::CloseRead()
{
    if (!m_pRead)
        return 0;
    BZ2_bzclose(static_cast<BZFILE*>(m_pRead));
    m_pRead = nullptr;
    m_nReadState = kReadOpen;
    return 1;
}

} // namespace KwSDK
