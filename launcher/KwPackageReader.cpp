// Bounds-checked reading of the package archive's trailer and table.
#include "KwPackageReader.h"

#include "KwPackageLayout.h"
#include "KwStreamReader.h"

#include <climits>

namespace KwSDK {

static const unsigned int kTrailerBytes = 4;

// The fields of a program image that locate its certificate table.
static const unsigned int kDosMagic = 0x5A4D;               // "MZ"
static const long long kNewHeaderPointer = 0x3C;
static const unsigned int kPeMagic = 0x00004550;            // "PE\0\0"
static const long long kOptionalHeaderStart = 24;           // after signature and file header
static const unsigned int kPe32Magic = 0x10B;
static const unsigned int kPe32PlusMagic = 0x20B;
// Offsets of NumberOfRvaAndSizes within the optional header.
static const long long kPe32DirectoryCount = 92;
static const long long kPe32PlusDirectoryCount = 108;
static const unsigned int kSecurityDirectory = 4;

KwPackageReader::KwPackageReader()
    : m_pReader(nullptr), m_nFileLength(0), m_nArchiveEnd(0), m_nArchiveOffset(0), m_nDataOffset(0),
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
    int result = !ReadTrailer(source) ? Fail(KW_PACKAGE_NOT_ARCHIVE)
                 : !ReadTable() ? Fail(KW_PACKAGE_BAD_TABLE)
                                : 1;
    m_pReader = nullptr;
    // The reader reads ahead; the caller goes on from the compressed data.
    if (result && !source->Seek(static_cast<int>(m_nDataOffset), KW_SEEK_SET))
        return Fail(KW_PACKAGE_BAD_TABLE);
    return result;
}

// The start of the certificate table when the program image's security
// directory names one that lies inside the file, else the file's length. A
// signing tool appends the signature behind the archive and records it
// there, so the archive then ends where the signature begins.
unsigned int KwPackageReader::FindArchiveEnd(IKwIOStream* source)
{
    // A reader of its own: a failed read here must not stick to the reader
    // of the archive.
    KwStreamReader in(source, 0);
    if (!in.Seek(0) || in.ReadU16() != kDosMagic || !in.Seek(kNewHeaderPointer))
        return m_nFileLength;
    unsigned int header = in.ReadU32();
    if (!in.Ok() || header > m_nFileLength || !in.Seek(header) || in.ReadU32() != kPeMagic ||
        !in.Skip(kOptionalHeaderStart - 4))
        return m_nFileLength;
    unsigned int magic = in.ReadU16();
    // Position of NumberOfRvaAndSizes; the data directories follow it.
    long long count = magic == kPe32Magic ? kPe32DirectoryCount
                      : magic == kPe32PlusMagic ? kPe32PlusDirectoryCount : 0;
    if (count == 0 || !in.Skip(count - 2) || in.ReadU32() <= kSecurityDirectory ||
        !in.Skip(kSecurityDirectory * 8))
        return m_nFileLength;
    unsigned int start = in.ReadU32();
    unsigned int size = in.ReadU32();
    if (!in.Ok() || start == 0 || size == 0 || start > m_nFileLength ||
        size > m_nFileLength - start)
        return m_nFileLength;
    return start;
}

// Finds the archive through the last four bytes before its end and checks
// that the smallest possible archive fits between that offset and the end.
int KwPackageReader::ReadTrailer(IKwIOStream* source)
{
    long long length = m_pReader->GetSize();
    // The stream's positions are int-sized; a file that reaches the limit is
    // longer than any offset it could report.
    if (length < KwPackageLayout::kMinArchiveBytes || length >= INT_MAX)
        return 0;
    m_nFileLength = static_cast<unsigned int>(length);
    m_nArchiveEnd = FindArchiveEnd(source);
    if (m_nArchiveEnd < static_cast<unsigned int>(KwPackageLayout::kMinArchiveBytes))
        return 0;
    unsigned int space = m_nArchiveEnd - kTrailerBytes;
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
    m_nDataOffset = m_nArchiveEnd - kTrailerBytes - m_nRemaining;
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
    return m_nArchiveEnd - kTrailerBytes - static_cast<unsigned int>(m_pReader->GetPosition());
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

unsigned int KwPackageReader::GetArchiveEnd() const
{
    return m_nArchiveEnd;
}

} // namespace KwSDK
