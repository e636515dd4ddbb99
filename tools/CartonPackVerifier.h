// Checks a package completely: table, program name, every entry's bytes in
// the compressed stream, and the trailing offset.
#ifndef CARTON_PACK_VERIFIER_H
#define CARTON_PACK_VERIFIER_H

#include "FILENODE.h"
#include "KwPackageLayout.h"
#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

class KwPackageReader;
class KwParallelBZip;

class CartonPackVerifier {
public:
    CartonPackVerifier();

    // 1 when the package is sound; otherwise 0 and GetReason tells the first
    // problem in one line.
    int Verify(const KwString& packagePath);
    // The code page the entry names are read in (see KwPackageLayout);
    // KwCodePage::kPackageDefault unless set.
    void SetCodePage(int codePage);
    const KwString& GetReason() const;
    int GetEntryCount() const;
    unsigned long long GetFileBytes() const;

private:
    int Fail(const char* format, ...) KW_FORMAT_CHECK(2, 3);
    int CheckTable(KwPackageReader* reader);
    int CheckEntry(const FILENODE& node, TKwList<KwString>* folders);
    int CheckStream(KwPackageReader* reader, const KwString& packagePath);
    int CheckContents(KwPackageReader* reader, const KwString& packagePath);
    int CheckFile(KwParallelBZip* bzip, const FILENODE& node);

    KwString m_strReason;
    int m_nEntries;
    unsigned long long m_nFileBytes;
    int m_nCodePage;
    unsigned char m_buffer[KwPackageLayout::kPieceSize];
};

} // namespace KwSDK

#endif
