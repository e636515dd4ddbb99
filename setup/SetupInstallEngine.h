// The install engine: copies the payload tree into the target folder from
// the window's timer, a time budget at a time, then makes the start-menu
// folders, the shortcuts and the install log and starts the registry import
// and the shell extension's registration.
#ifndef SETUP_SETUPINSTALLENGINE_H
#define SETUP_SETUPINSTALLENGINE_H

#include "FILENODE.h"
#include "KwString.h"
#include "TKwList.h"

#include <windows.h>

namespace KwSDK {

class SetupInstallHost;

// The payload list and the program folder come from the configuration; the
// install root (the target folder without a trailing backslash) is passed
// in at every step, because the window reads it from its field each time.
//
// Each CopyNextEntry works through entries until its time budget is spent,
// but always finishes at least one entry or one piece of a large file. A file
// larger than one piece is copied a piece per turn across ticks, so no tick
// holds the message loop much longer than the budget; smaller files go
// through the platform's copy. Either way the destination is replaced and
// takes the source's attributes and modification time.
class SetupInstallEngine {
public:
    explicit SetupInstallEngine(SetupInstallHost* host);
    ~SetupInstallEngine();

    // Puts the cursor on the head of the payload and the counter at 1.
    void Start(TKwList<FILENODE>* payload);
    // One tick. Answers 1 once the last entry is done (and on every later
    // call), 0 while entries remain or after the host aborted.
    int CopyNextEntry(const KwString& installRoot);
    int IsCopyComplete() const;
    // The host answered SETUP_COPY_ABORT: nothing more is copied.
    int IsAborted() const;
    // Entries whose failure the host chose to ignore.
    int GetIgnoredCount() const;
    // The next gauge value.
    int GetCounter() const;

    // Milliseconds of work per tick (at least one entry or piece is done).
    void SetTimeBudget(int milliseconds);
    // Bytes per piece of a large file.
    void SetPieceSize(int bytes);

    // Makes the start-menu folders and the three shortcuts and writes the
    // install log; root is the install root with a trailing backslash. A
    // Programs or desktop folder that cannot be resolved gets no folder and
    // no shortcut, and its lines of the log stay empty.
    void CreateShortcuts(const KwString& root);
    // Overridable places of the shortcuts (tests move them off the real
    // start menu); empty when unknown.
    void SetSpecialFolders(const KwString& programs, const KwString& desktop);

    // A shell link to target with the target as its argument; 1 when it was saved.
    static int CreateShortcut(const KwString& target, const KwString& link,
                              const KwString& description, const KwString& icon);
    // The install log for the product's uninstaller: its own path, the links
    // and start-menu folders, then the product subfolder's entries deepest
    // first, and the uninstall key. 1 when it was written completely.
    int WriteInstallLog(const KwString& logFile, const KwString& root,
                        const KwString& uninstallLink, const KwString& programLink,
                        const KwString& productMenuFolder, const KwString& menuFolder,
                        const KwString& desktopLink);

    // The total size of the payload's files in bytes.
    static unsigned long long PayloadSize(TKwList<FILENODE>* payload);
    // Bytes free to the caller on the drive of path; 0 when it cannot be
    // queried (bytes is then left unchanged).
    static int FreeSpaceAt(const KwString& path, unsigned long long* bytes);
    // The system's text for an error code, without a trailing line end.
    static KwString SystemReason(DWORD error);

private:
    SetupInstallEngine(const SetupInstallEngine&) = delete;
    SetupInstallEngine& operator=(const SetupInstallEngine&) = delete;

    int WorkOnEntry(const KwString& installRoot, ULONGLONG deadline);
    int CopyFileEntry(const FILENODE& entry, const KwString& source,
                      const KwString& destination, ULONGLONG deadline);
    int MakeFolderEntry(const KwString& destination);
    int CopyWhole(const KwString& source, const KwString& destination);
    int BeginPieces(const KwString& source, const KwString& destination);
    int CopyPieces(ULONGLONG deadline);
    int FinishPieces();
    int FailPieces(DWORD error);
    void ClosePieces();
    int HandleFailure(const KwString& installRoot, const KwString& destination, DWORD error);
    int IsShellExtension(const KwString& installRoot, const KwString& destination) const;
    void EntryDone();
    void SpecialFolder(int which, KwString* path) const;

    SetupInstallHost* m_pHost;
    TKwList<FILENODE>* m_pPayload;
    int m_nCounter;
    int m_bComplete;
    int m_bAborted;
    int m_nIgnored;
    int m_nBudget;
    int m_nPieceSize;
    // The entry's file is being copied in pieces.
    int m_bPieces;
    int m_bShellRetried;
    // The current file has been listed to the host.
    int m_bListed;
    DWORD m_dwError;
    HANDLE m_hSource;
    HANDLE m_hDestination;
    FILETIME m_sourceTime;
    DWORD m_dwSourceAttributes;
    char* m_pBuffer;
    KwString m_strPieceDestination;
    int m_bSpecialOverride;
    KwString m_strPrograms;
    KwString m_strDesktop;
};

} // namespace KwSDK

#endif
