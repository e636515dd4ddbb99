// Reads the trailing offset and the table of a package archive through one
// bounds-checked path, so a damaged or hostile archive cannot make it
// allocate or loop beyond the size of the file.
#ifndef KWSDK_KWPACKAGEREADER_H
#define KWSDK_KWPACKAGEREADER_H

#include "FILENODE.h"
#include "IKwIOStream.h"
#include "KwObject.h"
#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

// Error codes of the reader.
const unsigned int KW_PACKAGE_NOT_ARCHIVE = 0xF0000001u;
const unsigned int KW_PACKAGE_BAD_TABLE = 0xF0000002u;

class KwStreamReader;

class KwPackageReader : public virtual KwObject {
public:
    KwPackageReader();
    ~KwPackageReader() override;

    unsigned int GetErrorCode() const override;
    const char* GetErrorMessage(unsigned int code) const override;

    // Reads the archive from a stream open for reading on the whole launcher
    // file: the trailing offset, the program name, the table and the
    // compressed length. On success (1) the stream stands at the first byte of
    // the compressed data. On failure (0) the table is empty and the error is
    // KW_PACKAGE_NOT_ARCHIVE (no archive at the trailing offset) or
    // KW_PACKAGE_BAD_TABLE (a count or string runs past the file, or the
    // file ends inside the table).
    virtual int ReadHeader(IKwIOStream* source);
    // Copy of the program name; empty before a successful ReadHeader.
    virtual KwString GetProgramName() const;
    // The table in archive order, owned by the reader.
    virtual TKwList<FILENODE>* GetTable();
    // Field 4 as stored.
    virtual unsigned int GetCompressedLength() const;
    // 1 when the file holds the full compressed length before the trailer.
    virtual int IsDataComplete() const;
    // Bytes between the end of the compressed data and the trailing offset;
    // 0 in a well-formed archive, negative when the data is cut short.
    virtual long long GetSlackBytes() const;
    // Absolute offsets: the program name (the trailing value), the
    // compressed data, and the length of the whole file.
    virtual unsigned int GetArchiveOffset() const;
    virtual unsigned int GetDataOffset() const;
    virtual unsigned int GetFileLength() const;
    // Where the archive ends (its trailing offset's last byte + 1): the start
    // of the certificate table of a signed program, else the file length.
    virtual unsigned int GetArchiveEnd() const;

private:
    KwPackageReader(const KwPackageReader&) = delete;
    KwPackageReader& operator=(const KwPackageReader&) = delete;

    int Fail(unsigned int code);
    unsigned int FindArchiveEnd(IKwIOStream* source);
    int ReadTrailer(IKwIOStream* source);
    int ReadTable();
    int ReadEntry();
    int ReadU32(unsigned int* value);
    int ReadText(KwString* text);
    // Bytes of the file not yet read, up to the trailing offset.
    unsigned int Remaining() const;

    // The checked reader over the source while ReadHeader runs.
    KwStreamReader* m_pReader;
    KwString m_strProgram;
    TKwList<FILENODE> m_table;
    unsigned int m_nFileLength;
    unsigned int m_nArchiveEnd;
    unsigned int m_nArchiveOffset;
    unsigned int m_nDataOffset;
    unsigned int m_nCompressedLength;
    // Bytes between the end of the table and the trailing offset.
    unsigned int m_nRemaining;
    unsigned int m_nError;
};

} // namespace KwSDK

#endif
