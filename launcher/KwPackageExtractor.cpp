// The extraction procedure: the table, then the entries one by one in pieces
// of at most kPieceSize bytes, read from the stream in the launcher's file.
#include "KwPackageExtractor.h"

#include "KwCodePage.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwPackageReader.h"
#include "KwParallelBZip.h"

namespace KwSDK {

static unsigned int PieceOf(unsigned int rest)
{
    return rest < static_cast<unsigned int>(KwPackageLayout::kPieceSize)
               ? rest
               : static_cast<unsigned int>(KwPackageLayout::kPieceSize);
}

KwPackageExtractor::KwPackageExtractor()
    : m_nError(0), m_nExtracted(0), m_nSkipped(0), m_nThreads(KwParallelBZip::kAutomatic)
{
    AppendTypeName("KwPackageExtractor");
}

KwPackageExtractor::~KwPackageExtractor()
{
}

unsigned int KwPackageExtractor::GetErrorCode() const
{
    return m_nError;
}

const char* KwPackageExtractor::GetErrorMessage(unsigned int code) const
{
    switch (code) {
    case KW_EXTRACT_OPEN_SOURCE: return "Open launcher file fail";
    case KW_EXTRACT_OPEN_SCRATCH: return "Create scratch file fail";
    case KW_EXTRACT_NOT_ARCHIVE: return "Not a package archive";
    case KW_EXTRACT_BAD_TABLE: return "Package table is damaged";
    case KW_EXTRACT_TRUNCATED: return "Compressed data is truncated";
    case KW_EXTRACT_SCRATCH_WRITE: return "Write scratch file fail";
    case KW_EXTRACT_OPEN_STREAM: return "Open compressed data fail";
    case KW_EXTRACT_BAD_STREAM: return "Compressed data is damaged or ends early";
    case KW_EXTRACT_SKIPPED: return "Some entries were not extracted";
    case KW_EXTRACT_BAD_PROGRAM: return "Program name leads out of the folder";
    default: return "Success";
    }
}

// Keeps the first trouble; a skipped entry gives way to anything graver.
void KwPackageExtractor::Note(unsigned int code)
{
    if (m_nError == 0 || (m_nError == KW_EXTRACT_SKIPPED && code != KW_EXTRACT_SKIPPED))
        m_nError = code;
}

int KwPackageExtractor::StoppedBeforeExtracting() const
{
    return m_nError == KW_EXTRACT_OPEN_SOURCE || m_nError == KW_EXTRACT_OPEN_SCRATCH ? 1 : 0;
}

int KwPackageExtractor::GetExtractedCount() const
{
    return m_nExtracted;
}

int KwPackageExtractor::GetSkippedCount() const
{
    return m_nSkipped;
}

void KwPackageExtractor::SetDecoderThreads(int threads)
{
    m_nThreads = threads;
}

KwString KwPackageExtractor::Extract(const KwString& ownFile, const KwString& folder,
                                     const KwString& scratch)
{
    m_nError = 0;
    m_nExtracted = 0;
    m_nSkipped = 0;
    KwFileStream source;
    if (!source.Open(ownFile, KW_MODE_READ)) {
        Note(KW_EXTRACT_OPEN_SOURCE);
        return KwString();
    }
    KwPackageReader reader;
    int haveTable = reader.ReadHeader(&source);
    if (!haveTable) {
        Note(reader.GetErrorCode() == KW_PACKAGE_BAD_TABLE ? KW_EXTRACT_BAD_TABLE
                                                           : KW_EXTRACT_NOT_ARCHIVE);
    } else {
        // Only the bytes before the trailing offset are stream bytes: when
        // the stored length claims more, the stream is short.
        unsigned int length = reader.GetCompressedLength();
        long long slack = reader.GetSlackBytes();
        if (slack < 0) {
            length = static_cast<unsigned int>(static_cast<long long>(length) + slack);
            Note(KW_EXTRACT_TRUNCATED);
        }
        ExtractEntries(&source, reader.GetDataOffset(), length, reader.GetTable(), folder, scratch);
    }
    source.Close();

    KwString program = reader.GetProgramName();
    if (haveTable && !KwPackageLayout::IsSafeProgramName(program, KwCodePage::System())) {
        Note(KW_EXTRACT_BAD_PROGRAM);
        return KwString();
    }
    return program;
}

void KwPackageExtractor::ExtractEntries(KwFileStream* source, unsigned int offset,
                                        unsigned int length, TKwList<FILENODE>* table,
                                        const KwString& folder, const KwString& scratch)
{
    KwParallelBZip bzip;
    if (!bzip.Open(source, offset, length, m_nThreads)) {
        Note(KW_EXTRACT_OPEN_STREAM);
        return;
    }
    for (int more = table->MoveFirst(); more; more = table->MoveNext()) {
        const FILENODE& node = *table->GetAt();
        if (node.type == FILENODE_FILE) {
            if (!ExtractFile(&bzip, node, folder, scratch))
                break;
        } else if (node.type == FILENODE_FOLDER) {
            ExtractFolder(node, folder, scratch);
        }
        // Entries of any other type take no bytes and create nothing.
    }
    bzip.Close();
}

// An entry may be created when its path stays inside the folder and it is
// not the scratch file, which is still being read.
int KwPackageExtractor::MayCreate(const KwString& entryPath, const KwString& target,
                                  const KwString& scratch) const
{
    return KwPackageLayout::IsSafeEntryPath(entryPath, KwCodePage::System()) && target.CompareNoCase(scratch) != 0;
}

// Answers 0 when the stream cannot deliver the entry's bytes, which ends the
// walk. A file that was not completed is removed, so that nobody mistakes a
// cut-off program for the real one.
int KwPackageExtractor::ExtractFile(KwParallelBZip* bzip, const FILENODE& node, const KwString& folder,
                                    const KwString& scratch)
{
    KwString target = folder + node.name;
    KwFileStream out;
    int opened = MayCreate(node.name, target, scratch) && out.Open(target, KW_MODE_WRITE);
    int writeFailed = !opened;
    int streamOk = Pump(bzip, opened ? &out : nullptr, static_cast<unsigned int>(node.size),
                        &writeFailed);
    if (opened && !out.Close())
        writeFailed = 1;
    if (streamOk && !writeFailed) {
        ++m_nExtracted;
        return 1;
    }
    if (opened)
        KwFile(target).Delete();
    ++m_nSkipped;
    Note(streamOk ? KW_EXTRACT_SKIPPED : KW_EXTRACT_BAD_STREAM);
    return streamOk;
}

// Moves size bytes from the stream to out (or nowhere when out is null).
// A write failure sets *writeFailed but the bytes are still consumed, so the
// next entry starts at its own first byte. Answers 0 when the stream ends or
// fails first.
int KwPackageExtractor::Pump(KwParallelBZip* bzip, KwFileStream* out, unsigned int size, int* writeFailed)
{
    unsigned int written = 0;
    while (written < size) {
        int request = static_cast<int>(PieceOf(size - written));
        int got = bzip->Read(m_buffer, request);
        if (got <= 0)
            return 0;
        if (out && !*writeFailed && out->Write(m_buffer, got) != got)
            *writeFailed = 1;
        written += static_cast<unsigned int>(got);
    }
    return 1;
}

// A folder that exists already is fine; one that cannot be made is counted,
// and the files inside it will fail to open and be skipped.
void KwPackageExtractor::ExtractFolder(const FILENODE& node, const KwString& folder,
                                       const KwString& scratch)
{
    KwString target = folder + node.name;
    if (MayCreate(node.name, target, scratch)) {
        KwFile file(target);
        if (file.MakeFolder() || file.IsFolder()) {
            ++m_nExtracted;
            return;
        }
    }
    ++m_nSkipped;
    Note(KW_EXTRACT_SKIPPED);
}

} // namespace KwSDK
