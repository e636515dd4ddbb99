// The uninstaller's steps: it reads the install's logs from the product
// folder it runs in and removes what they name, and nothing else.
#ifndef UNINSTALL_UNINSTALLER_H
#define UNINSTALL_UNINSTALLER_H

#include "FileLinkRecord.h"
#include "InstallLog.h"
#include "KwFileStream.h"
#include "KwString.h"
#include "TKwList.h"

#include <windows.h>

namespace KwSDK {

class Uninstaller {
public:
    Uninstaller();
    ~Uninstaller();

    // Writes one line per step and every failure to a file (created or
    // truncated); 0 when it cannot be opened.
    int OpenLog(const KwString& path);
    void CloseLog();
    void Log(const KwString& line);

    // Reads install.txt (and filelink.txt when there is one) from the folder
    // of the running program ownPath. 1 when the log is there and has its
    // shape and the folder can be a product folder.
    int Load(const KwString& ownPath);

    const KwString& GetProductFolder() const { return m_productFolder; }
    // The uninstall entry's "DisplayName", or the product folder's name.
    KwString GetDisplayName();
    // The uninstall entry's "Language" ("cn" or "en"); empty when not recorded.
    KwString GetRecordedLanguage();

    // Every step below in this order. 1 when everything the logs name is gone
    // (the program itself, its logs and the product folder still wait for
    // RemoveOwnFiles and the self-removal).
    int Run();
    void UnregisterShellExtensions();
    void RestoreAssociations();
    void ImportDeletionScript();
    void RemoveLinks();
    void RemoveEntries();
    void RemoveUninstallKey();
    // Removes install.txt, filelink.txt and uninstall.reg; call only after
    // Run succeeded, since a second run needs them.
    void RemoveOwnFiles();

    // Starts a command line and waits (up to two minutes) for it to end; 1
    // when it ran.
    static int RunToEnd(const KwString& commandLine);

    // The files and folders that could not be removed.
    TKwList<KwString>& GetFailures() { return m_failures; }

    // Continues from a copy of the program in the temporary folder, which
    // removes the program file and the product folder once this process has
    // ended; the copy's own file goes when the copy ends. When no copy can be
    // started, both are left to the next system start. 1 when a copy runs.
    static int StartSelfRemoval(const KwString& ownPath, const KwString& productFolder);
    // The copy's part: waits for the process (an inherited handle), removes
    // the program file and the product folder when it is empty.
    static int FinishSelfRemoval(HANDLE process, const KwString& program, const KwString& productFolder,
                                 int removeSelfAtRestart);

private:
    // Reads a whole file of at most 16 MB into a buffer to free(); 0 when it
    // cannot.
    static int ReadWholeFile(const KwString& path, char** bytes, int* length);

    Uninstaller(const Uninstaller&) = delete;
    Uninstaller& operator=(const Uninstaller&) = delete;

    int RemoveFile(const KwString& path);
    int ReleaseAndDelete(const KwString& path);
    int RemoveFolder(const KwString& path, int reportFailure);
    void RemoveLink(const KwString& link);
    void RestoreExtension(const KwString& extension);
    int IsOwnProgId(const KwString& progId);
    int IsOwnFile(const KwString& path);
    void Fail(const KwString& what, const KwString& path);

    KwString m_ownPath;
    KwString m_productFolder;
    InstallLog m_log;
    FileLinkRecord m_links;
    TKwList<KwString> m_failures;
    TKwList<KwString> m_unregistered;
    KwFileStream m_logFile;
    int m_logOpen;
};

} // namespace KwSDK

#endif
