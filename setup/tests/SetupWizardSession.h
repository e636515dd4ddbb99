// One run of the install wizard inside the test program: a package copied
// into a scratch folder (with extra payload files when asked), the
// configuration loaded from it, the wizard's message loop on the test's
// thread and a script that drives it from a second thread.
#ifndef SETUP_TESTS_SETUPWIZARDSESSION_H
#define SETUP_TESTS_SETUPWIZARDSESSION_H

#include "SetupTestSupport.h"
#include "WizardDriver.h"

#include <functional>
#include <map>
#include <string>

namespace SetupTest {

class WizardSession {
public:
    // extra maps payload paths below the payload root ("Lumo\x.dat") to
    // their bytes; a value "<dir>" makes a folder.
    explicit WizardSession(const char* label,
                           const std::map<std::string, std::string>& extra = {});
    ~WizardSession();

    // Package folder without a trailing backslash; its payload root.
    const std::string& Package() const { return m_package.Path(); }
    std::string PayloadRoot() const { return m_package.Path() + "\\Brindle"; }
    // The ProgramFiles folder the wizard sees, and its default target in it.
    const std::string& ProgramFiles() const { return m_programFiles.Path(); }
    std::string DefaultTarget() const { return m_programFiles.Path() + "\\Brindle"; }

    // Runs the wizard until it quits; the script runs meanwhile on its own
    // thread. A wizard still open after the script is told to quit.
    void Run(const std::function<void(WizardDriver&)>& script);

private:
    ScratchFolder m_package;
    ScratchFolder m_programFiles;
    std::string m_oldProgramFiles;
};

// Copies a folder tree; true when everything was copied.
bool CopyTree(const std::string& from, const std::string& to);

// Every file below a folder as relative path -> bytes ("<dir>" for folders).
std::map<std::string, std::string> ReadTree(const std::string& folder);

// The Programs and desktop folders of the shell.
std::string ProgramsFolder();
std::string DesktopFolder();

// Removes the wizard's shortcuts and start-menu folders.
void RemoveShortcuts();

// Drives the wizard from the welcome page to the folder page.
void GoToFolderPage(WizardDriver& driver);

} // namespace SetupTest

#endif
