// The writing side of the package archive: the table of a source folder, the
// compressed contents, and the launcher copy with the archive appended.
#ifndef KWSDK_KWPACKAGEWRITER_H
#define KWSDK_KWPACKAGEWRITER_H

#include "FILENODE.h"
#include "KwObject.h"
#include "KwPackageLayout.h"
#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

class KwBZip;
class KwFileStream;

// Error codes of the writer; GetErrorPath names the path concerned.
const unsigned int KW_PACK_NO_SOURCE = 0xF0000001u;
const unsigned int KW_PACK_LIST_FAIL = 0xF0000002u;
const unsigned int KW_PACK_READ_FAIL = 0xF0000003u;
const unsigned int KW_PACK_CHANGED = 0xF0000004u;
const unsigned int KW_PACK_BAD_NAME = 0xF0000005u;
const unsigned int KW_PACK_CASE_CLASH = 0xF0000006u;
const unsigned int KW_PACK_FILE_TOO_LARGE = 0xF0000007u;
const unsigned int KW_PACK_COMPRESS_FAIL = 0xF0000008u;
const unsigned int KW_PACK_STUB_FAIL = 0xF0000009u;
const unsigned int KW_PACK_WRITE_FAIL = 0xF000000Au;
const unsigned int KW_PACK_TOO_LARGE = 0xF000000Bu;
const unsigned int KW_PACK_NO_PROGRAM = 0xF000000Cu;
const unsigned int KW_PACK_NOT_ENTRY = 0xF000000Du;

// Told the bytes compressed so far and the bytes to compress in all.
typedef void (*KwPackProgress)(void* context, unsigned long long done, unsigned long long total);

class KwPackageWriter : public virtual KwObject {
public:
    KwPackageWriter();
    ~KwPackageWriter() override;

    unsigned int GetErrorCode() const override;
    const char* GetErrorMessage(unsigned int code) const override;

    // Empties the table and fills it with a depth-first walk of the folder:
    // within each folder names follow in case-insensitive order and a folder
    // entry is immediately followed by its own contents. Fails on a name that
    // the extractor would refuse, on two names that differ only in case (one
    // would overwrite the other on Windows) and on a file of 4 GiB or more.
    virtual int BuildTable(const KwString& sourceFolder, TKwList<FILENODE>* table);
    // Finds the program to run among the file entries, case-insensitively;
    // forward slashes count as backslashes and a leading backslash is
    // optional. Answers the stored name (the entry without its leading
    // backslash) in *program.
    virtual int ResolveProgram(TKwList<FILENODE>* table, const KwString& run, KwString* program);
    // Compresses the file entries' contents, in table order, into one bzip2
    // file. Every file must deliver exactly its table size.
    virtual int CompressContents(const KwString& sourceFolder, TKwList<FILENODE>* table,
                                 const KwString& streamPath);
    // Writes the launcher stub followed by the archive: program name, table,
    // the compressed file's length and bytes, and the archive's offset.
    virtual int WritePackage(const KwString& stubPath, const KwString& program,
                             TKwList<FILENODE>* table, const KwString& streamPath,
                             const KwString& outputPath);
    // The path that the last failure concerns; empty when none.
    virtual KwString GetErrorPath() const;

    void SetProgress(KwPackProgress progress, void* context);
    // The code page the entry names are read in (see KwPackageLayout);
    // KwCodePage::kPackageDefault unless set.
    void SetCodePage(int codePage);

private:
    KwPackageWriter(const KwPackageWriter&) = delete;
    KwPackageWriter& operator=(const KwPackageWriter&) = delete;

    int Fail(unsigned int code, const KwString& path);
    int Walk(const KwString& folder, const KwString& relative, TKwList<FILENODE>* table);
    int SortedNames(KwString** names, int count, TKwList<KwString>* list);
    int AddEntry(const KwString& full, const KwString& relative, TKwList<FILENODE>* table);
    int CompressFile(KwBZip* bzip, const KwString& path, unsigned int size);
    int CopyFile(const KwString& path, KwFileStream* out, unsigned int* copied);
    int WriteTable(KwFileStream* out, const KwString& program, TKwList<FILENODE>* table);
    int WriteU32(KwFileStream* out, unsigned int value);
    unsigned long long ArchiveBytes(const KwString& program, TKwList<FILENODE>* table,
                                    unsigned int streamLength);
    unsigned long long TotalFileBytes(TKwList<FILENODE>* table);

    unsigned int m_nError;
    KwString m_strErrorPath;
    KwPackProgress m_pProgress;
    void* m_pProgressContext;
    unsigned long long m_nDone;
    unsigned long long m_nTotal;
    int m_nCodePage;
    unsigned char m_buffer[KwPackageLayout::kPieceSize];
};

} // namespace KwSDK

#endif
