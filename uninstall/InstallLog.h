// The install log "install.txt" that the installer writes into the product
// folder: its own path, the three shortcuts, the two start-menu folders, the
// installed files and folders deepest first, and the uninstall key last.
#ifndef UNINSTALL_INSTALLLOG_H
#define UNINSTALL_INSTALLLOG_H

#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

class InstallLog {
public:
    InstallLog();

    // Reads the log's bytes: lines end in CR LF (a bare LF is accepted, a
    // missing end on the last line too). Answers 1 when the log has its
    // shape: the six heading lines, any number of entries and the key line.
    // A log of fewer than seven lines, or with a NUL byte, answers 0 and
    // leaves the object empty.
    int Parse(const char* bytes, int length);

    const KwString& GetLogPath() const { return m_logPath; }
    const KwString& GetUninstallLink() const { return m_uninstallLink; }
    const KwString& GetProgramLink() const { return m_programLink; }
    const KwString& GetProductMenuFolder() const { return m_productMenuFolder; }
    const KwString& GetMenuFolder() const { return m_menuFolder; }
    const KwString& GetDesktopLink() const { return m_desktopLink; }
    const KwString& GetUninstallKey() const { return m_uninstallKey; }
    // The installed files and folders in the log's order (deepest first).
    TKwList<KwString>& GetEntries() { return m_entries; }

private:
    void Clear();

    KwString m_logPath;
    KwString m_uninstallLink;
    KwString m_programLink;
    KwString m_productMenuFolder;
    KwString m_menuFolder;
    KwString m_desktopLink;
    KwString m_uninstallKey;
    TKwList<KwString> m_entries;
};

} // namespace KwSDK

#endif
