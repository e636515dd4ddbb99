// The association record "filelink.txt": one line "extension=previous
// handler" for every extension whose handler the installer replaced, appended
// by each install.
#ifndef UNINSTALL_FILELINKRECORD_H
#define UNINSTALL_FILELINKRECORD_H

#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

// One line of the record: an extension with its dot, and the program
// identifier that handled it before.
struct FILELINKENTRY {
    KwString extension;
    KwString handler;
};

class FileLinkRecord {
public:
    FileLinkRecord();

    // Reads the record's bytes (CR LF or LF line ends). Lines that are not an
    // extension ("." and up to 31 bytes without blanks, backslashes or "=")
    // followed by "=" and a handler of 1 to 255 printable bytes are skipped.
    // Answers the number of lines kept.
    int Parse(const char* bytes, int length);

    // The handler to give back to an extension: the first one recorded for it
    // (ignoring case) that is not ownProgId itself, since a repeated install
    // records the product's own identifier. Empty when there is none.
    KwString GetPreviousHandler(const KwString& extension, const KwString& ownProgId) const;

    TKwList<FILELINKENTRY>& GetEntries() { return m_entries; }

private:
    TKwList<FILELINKENTRY> m_entries;
};

} // namespace KwSDK

#endif
