// Bounds-checked reading of the package archive's trailer and table.
#include "KwPackageReader.h"

#include "KwPackageLayout.h"
#include "KwStreamReader.h"

#include <climits>

namespace KwSDK {

static const unsigned int kTrailerBytes = 4;

KwPackageReader::KwPackageReader()
    : m_pReader(nullptr), m_nFileLength(0), m_nArchiveOffset(0), m_nDataOffset(0),
      m_nCompressedLength(0), m_nRemaining(0), m_nError(0)
{
    AppendTypeName("KwPackageReader");
}

KwPackageReader::~KwPackageReader()
{
}

unsigned int KwPackageReader::GetErrorCode() const
{
    return m_nError;
}

const char* KwPackageReader::GetErrorMessage(unsigned int code) const
{
    switch (code) {
    case KW_PACKAGE_NOT_ARCHIVE: return "Not a package archive";
    case KW_PACKAGE_BAD_TABLE: return "Package table is damaged";
    default: return "Success";
    }
}

int KwPackageReader::Fail(unsigned int code)
{
    m_nError = code;
    m_strProgram = "";
    m_table.RemoveAll();
    return 0;
}

int KwPackageReader::ReadHeader(IKwIOStream* source)
{
    m_nError = 0;
    m_strProgram = "";
    m_table.RemoveAll();
    m_nCompressedLength = 0;
    if (!source)
        return Fail(KW_PACKAGE_NOT_ARCHIVE);
    KwStreamReader reader(source, 0);
    m_pReader = &reader;
    int result = !ReadTrailer() ? Fail(KW_PACKAGE_NOT_ARCHIVE)
                 : !ReadTable() ? Fail(KW_PACKAGE_BAD_TABLE)
                                : 1;
    m_pReader = nullptr;
    // The reader reads ahead; the caller goes on from the compressed data.
    if (result && !source->Seek(static_cast<int>(m_nDataOffset), KW_SEEK_SET))
        return Fail(KW_PACKAGE_BAD_TABLE);
    return result;
}

// Finds the archive through the file's last four bytes and checks that the
// smallest possible archive fits between that offset and the end.
int KwPackageReader::ReadTrailer()
{
    long long length = m_pReader->GetSize();
    // The stream's positions are int-sized; a file that reaches the limit is
    // longer than any offset it could report.
    if (length < KwPackageLayout::kMinArchiveBytes || length >= INT_MAX)
        return 0;
    m_nFileLength = static_cast<unsigned int>(length);
    unsigned int space = m_nFileLength - kTrailerBytes;
    if (!m_pReader->Seek(space))
        return 0;
    m_nArchiveOffset = m_pReader->ReadU32();
    if (!m_pReader->Ok() || m_nArchiveOffset > space ||
        space - m_nArchiveOffset < KwPackageLayout::kMinArchiveBytes - kTrailerBytes)
        return 0;
    return m_pReader->Seek(m_nArchiveOffset);
}

int KwPackageReader::ReadTable()
{
    unsigned int count = 0;
    if (!ReadText(&m_strProgram) || !ReadU32(&count))
        return 0;
    // Every entry takes at least kMinEntryBytes and the compressed length
    // follows the table, so a larger count cannot be true.
    if (Remaining() < 4 || count > (Remaining() - 4) / KwPackageLayout::kMinEntryBytes)
        return 0;
    for (unsigned int i = 0; i < count; ++i) {
        if (!ReadEntry())
            return 0;
    }
    if (!ReadU32(&m_nCompressedLength))
        return 0;
    m_nRemaining = Remaining();
    m_nDataOffset = m_nFileLength - kTrailerBytes - m_nRemaining;
    return 1;
}

int KwPackageReader::ReadEntry()
{
    FILENODE node;
    unsigned int type = 0;
    unsigned int size = 0;
    if (!ReadText(&node.name) || !ReadU32(&type) || !ReadU32(&size))
        return 0;
    node.type = static_cast<int>(type);
    node.size = static_cast<int>(size);
    return m_table.AddTail(node);
}

unsigned int KwPackageReader::Remaining() const
{
    return m_nFileLength - kTrailerBytes - static_cast<unsigned int>(m_pReader->GetPosition());
}

int KwPackageReader::ReadU32(unsigned int* value)
{
    if (Remaining() < 4)
        return 0;
    *value = m_pReader->ReadU32();
    return m_pReader->Ok();
}

// Reads up to a zero byte, never past the trailer and never more than the
// longest path any system accepts; collects bytes in chunks so that a long
// text costs no more than a few appends.
int KwPackageReader::ReadText(KwString* text)
{
    char chunk[256];
    int used = 0;
    int total = 0;
    *text = "";
    for (;;) {
        if (Remaining() == 0 || total > KwPackageLayout::kMaxPathLength)
            return 0;
        unsigned int byte = m_pReader->ReadU8();
        if (!m_pReader->Ok())
            return 0;
        if (byte == 0)
            break;
        chunk[used++] = static_cast<char>(byte);
        ++total;
        if (used == static_cast<int>(sizeof chunk) - 1) {
            chunk[used] = 0;
            if (!text->Append(chunk))
                return 0;
            used = 0;
        }
    }
    chunk[used] = 0;
    return text->Append(chunk);
}

KwString KwPackageReader::GetProgramName() const
{
    return m_strProgram;
}

TKwList<FILENODE>* KwPackageReader::GetTable()
{
    return &m_table;
}

unsigned int KwPackageReader::GetCompressedLength() const
{
    return m_nCompressedLength;
}

int KwPackageReader::IsDataComplete() const
{
    return GetSlackBytes() >= 0 ? 1 : 0;
}

long long KwPackageReader::GetSlackBytes() const
{
    return static_cast<long long>(m_nRemaining) - static_cast<long long>(m_nCompressedLength);
}

unsigned int KwPackageReader::GetArchiveOffset() const
{
    return m_nArchiveOffset;
}

unsigned int KwPackageReader::GetDataOffset() const
{
    return m_nDataOffset;
}

unsigned int KwPackageReader::GetFileLength() const
{
    return m_nFileLength;
}

} // namespace KwSDK
