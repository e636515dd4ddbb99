// Drives the install wizard from outside its message loop, as a user would:
// finds its control windows by their place, posts mouse and key messages to
// them, answers its message boxes, and reads its pixels back from the screen.
// It needs only the wizard's window handle, so it drives a wizard in this
// process (from a second thread) and one in another process alike.
#ifndef SETUP_TESTS_WIZARDDRIVER_H
#define SETUP_TESTS_WIZARDDRIVER_H

#include <windows.h>

#include <string>
#include <vector>

namespace SetupTest {

// Places of the wizard's controls in its client area.
struct ControlPlace {
    int x, y, width, height;
};

const ControlPlace kPrev = {168, 325, 100, 30};
const ControlPlace kNext = {278, 325, 100, 30};
const ControlPlace kExit = {388, 325, 100, 30};
const ControlPlace kLanguage = {10, 330, 100, 22};
const ControlPlace kWelcome = {0, 0, 498, 312};
const ControlPlace kBanner = {0, 0, 498, 58};
const ControlPlace kLicence = {10, 65, 476, 200};
const ControlPlace kAgree = {10, 265, 488, 25};
const ControlPlace kDisagree = {10, 290, 488, 25};
const ControlPlace kFolderField = {10, 90, 400, 25};
const ControlPlace kGauge = {10, 92, 475, 20};
const ControlPlace kFileList = {17, 145, 461, 152};
const ControlPlace kTiffBox = {200, 220, 100, 20};
const ControlPlace kPngBox = {30, 160, 100, 20};
const ControlPlace kSelectAll = {420, 80, 200, 20};
const ControlPlace kFailureSummary = {370, 250, 115, 50};

class WizardDriver {
public:
    explicit WizardDriver(HWND wizard);

    HWND Wizard() const { return m_hWizard; }
    // The child window at a place; a visible one first when two share it.
    HWND Control(const ControlPlace& place) const;
    bool IsShown(const ControlPlace& place) const;
    bool IsEnabled(const ControlPlace& place) const;
    // A press and release in the middle of the control.
    void Click(const ControlPlace& place) const;
    void Key(const ControlPlace& place, int virtualKey) const;
    // Chooses an item of the language box through its edit field's keys:
    // Down opens the list on the first item, each further Down moves one
    // item on, Enter takes the selection.
    void ChooseLanguage(int index) const;
    // Characters, one WM_CHAR each.
    void Type(const ControlPlace& place, const std::string& text) const;
    // Empties an edit field: End, then Backspace for each character.
    void Clear(const ControlPlace& place, int count) const;
    // Waits until the control shows (or hides).
    bool WaitShown(const ControlPlace& place, DWORD timeout) const;
    bool WaitHidden(const ControlPlace& place, DWORD timeout) const;
    // Waits until the control's window is enabled (or disabled); the page
    // changes its controls one after the other.
    bool WaitEnabled(const ControlPlace& place, bool enabled, DWORD timeout) const;

    // Waits for a message box of this process or another with the caption,
    // notes its text and presses the button (IDOK, IDCANCEL, IDIGNORE...).
    static bool Answer(const std::string& caption, int button, std::string* text, DWORD timeout);

    // The client area as 0xRRGGBB pixels, read from the screen.
    std::vector<unsigned int> Capture(int* width, int* height) const;
    // Writes the client area as a PNG file; true when written.
    bool SavePng(const std::string& path) const;

private:
    HWND m_hWizard;
};

// The top-level window of a process with the given caption; null when the
// time runs out.
HWND WaitForWizardWindow(const std::string& caption, DWORD timeout);

// The count of pixels of a colour (0xRRGGBB) inside a place of a capture.
int CountColour(const std::vector<unsigned int>& pixels, int width, const ControlPlace& place,
                unsigned int colour);

} // namespace SetupTest

#endif
