// The unattended install: "Setup.exe /S [/D=FOLDER] [/LANG=cn|en]
// [/TYPES=JPEG,PNG,...|all|none] [/LOG=FILE]" installs through the same
// engine as the wizard without showing a window or asking anything.
#ifndef SETUP_SETUPSILENT_H
#define SETUP_SETUPSILENT_H

#include "KwFileStream.h"
#include "KwString.h"
#include "SetupAssociations.h"
#include "SetupInstallHost.h"

namespace KwSDK {

class SetupSilent : public SetupInstallHost {
public:
    SetupSilent();
    ~SetupSilent() override;

    // 1 when "/S" is one of the command line's words (any case).
    static int IsSilentCommandLine(const char* commandLine);
    // Reads the options of a command line (without the program's name); the
    // configuration must be loaded. Words are separated by blanks; double
    // quotes keep blanks in a word and are dropped. 0 on an unknown option
    // or value; GetFailure then names it.
    int Parse(const char* commandLine);
    // The whole install: copy, shortcuts and install log, registry script,
    // shell extension, associations, each step waited for. The process's
    // exit code: 0 when everything was done, non-zero after the first
    // failure, which ends the install.
    int Run();

    const KwString& GetFolder() const;
    int GetLanguageIndex() const;
    int IsTypeChecked(int type) const;
    const KwString& GetFailure() const;

    void OnEntryListed(const KwString& name) override;
    int OnCopyFailed(const KwString& path, const KwString& reason) override;
    void OnShellExtensionLocked(const KwString& installRoot) override;

private:
    SetupSilent(const SetupSilent&) = delete;
    SetupSilent& operator=(const SetupSilent&) = delete;
    int ParseOption(const KwString& word);
    int ParseTypes(const KwString& list);
    // Records and logs a failure; Fail answers 0 (for Parse), Stop the
    // exit code 1 (for Run).
    int Fail(const KwString& message);
    int Stop(const KwString& message);
    void Log(const KwString& line);

    KwString m_strFolder;
    KwString m_strLogFile;
    KwString m_strFailure;
    int m_nLanguage;
    int m_checked[ASSOCIATION_TYPE_COUNT];
    int m_bShellRestarted;
    KwFileStream m_log;
};

} // namespace KwSDK

#endif
