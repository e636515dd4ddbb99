// Turns the package archive appended to the launcher into a folder tree:
// the table is read, then every entry is decompressed into the extraction
// folder in table order, straight from the compressed stream where it lies
// in the launcher's file.
#ifndef KWSDK_KWPACKAGEEXTRACTOR_H
#define KWSDK_KWPACKAGEEXTRACTOR_H

#include "FILENODE.h"
#include "KwObject.h"
#include "KwPackageLayout.h"
#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

class KwFileStream;
class KwParallelBZip;

// Error codes of an extraction. The first two mean that it stopped before
// extracting anything; the others describe the first trouble met on the way.
const unsigned int KW_EXTRACT_OPEN_SOURCE = 0xF0000001u;
const unsigned int KW_EXTRACT_OPEN_SCRATCH = 0xF0000002u;
const unsigned int KW_EXTRACT_NOT_ARCHIVE = 0xF0000003u;
const unsigned int KW_EXTRACT_BAD_TABLE = 0xF0000004u;
const unsigned int KW_EXTRACT_TRUNCATED = 0xF0000005u;
const unsigned int KW_EXTRACT_SCRATCH_WRITE = 0xF0000006u;
const unsigned int KW_EXTRACT_OPEN_STREAM = 0xF0000007u;
const unsigned int KW_EXTRACT_BAD_STREAM = 0xF0000008u;
const unsigned int KW_EXTRACT_SKIPPED = 0xF0000009u;
const unsigned int KW_EXTRACT_BAD_PROGRAM = 0xF000000Au;

class KwPackageExtractor : public virtual KwObject {
public:
    KwPackageExtractor();
    ~KwPackageExtractor() override;

    unsigned int GetErrorCode() const override;
    const char* GetErrorMessage(unsigned int code) const override;

    // Extracts the archive appended to ownFile into folder (which exists and
    // has no trailing backslash). scratch is a path inside the folder that no
    // entry may take; nothing is written there. Answers the program name stored in the archive,
    // or an empty text when there is no archive or the name would lead out
    // of the folder. Entries whose path would leave the folder, whose file
    // cannot be written, or that the stream cannot fill are not kept; their
    // bytes are consumed so that later entries stay aligned. A damaged or
    // short stream ends the walk; files completed before it stay.
    virtual KwString Extract(const KwString& ownFile, const KwString& folder,
                             const KwString& scratch);
    // 1 when the last Extract could not open the launcher file and so
    // extracted nothing.
    virtual int StoppedBeforeExtracting() const;
    // Files and folders created by the last Extract.
    virtual int GetExtractedCount() const;
    // File and folder entries of the last Extract that were not created.
    virtual int GetSkippedCount() const;
    // Decoding threads for the next Extract (KwParallelBZip::kAutomatic
    // unless set): the result is the same whatever the number.
    void SetDecoderThreads(int threads);

private:
    KwPackageExtractor(const KwPackageExtractor&) = delete;
    KwPackageExtractor& operator=(const KwPackageExtractor&) = delete;

    void Note(unsigned int code);
    void ExtractEntries(KwFileStream* source, unsigned int offset, unsigned int length,
                        TKwList<FILENODE>* table, const KwString& folder, const KwString& scratch);
    int ExtractFile(KwParallelBZip* bzip, const FILENODE& node, const KwString& folder,
                    const KwString& scratch);
    void ExtractFolder(const FILENODE& node, const KwString& folder, const KwString& scratch);
    int MayCreate(const KwString& entryPath, const KwString& target, const KwString& scratch) const;
    int Pump(KwParallelBZip* bzip, KwFileStream* out, unsigned int size, int* writeFailed);

    unsigned int m_nError;
    int m_nExtracted;
    int m_nSkipped;
    int m_nThreads;
    // The buffer that file contents pass through.
    unsigned char m_buffer[KwPackageLayout::kPieceSize];
};

} // namespace KwSDK

#endif
