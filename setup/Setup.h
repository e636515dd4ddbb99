// The install wizard: one window of six pages, from the welcome picture
// through the licence, the target folder, the copy and the file
// associations to the finish picture.
#ifndef SETUP_SETUP_H
#define SETUP_SETUP_H

#include "KwRadioButtonGroup.h"
#include "KwWindow.h"
#include "SetupAssociations.h"
#include "SetupInstallEngine.h"
#include "SetupInstallHost.h"

namespace KwSDK {

class KwButton;
class KwCheckBox;
class KwComboBox;
class KwEdit;
class KwGuage;
class KwLabel;
class KwListBox;
class KwRadioButton;
class KwTextView;
class SetupImgView;

// Page numbers.
const int PAGE_WELCOME = 1;
const int PAGE_LICENCE = 2;
const int PAGE_FOLDER = 3;
const int PAGE_INSTALLING = 4;
const int PAGE_FILE_LINKS = 5;
const int PAGE_FINISH = 6;

// Every control of every page is made by the constructor; a page is shown by
// hiding all page controls and showing its own. The window listens to all
// its controls (as every container does) and copies the payload from its
// timer through the install engine, whose host it is.
class Setup : public KwWindow, public SetupInstallHost {
public:
    // Reads the configuration, which must have been loaded.
    Setup();
    ~Setup() override;

    // 0 when a control could not be allocated; the window must then not be
    // created.
    int IsComplete() const;

    int ActionPerformed(KwObject* source, int id, intptr_t param) override;
    // The copy step.
    int OnTimer() override;
    // The separator lines and frames of the current page.
    int OnPaint(const KwRect& area, IKwGraphics* graphics) override;
    using KwWindow::OnPaint;
    using KwWindow::OnTimer;

    void ShowPage();
    void HideAllControls();
    void RefreshTexts();
    // The folder-browse dialog: the chosen folder + "\" + the product
    // folder name, or current when cancelled.
    KwString ChooseFolder(const KwString& current);

    int GetPage() const;
    // Failed copies that the user chose to ignore.
    int GetIgnoredCount() const;

    // SetupInstallHost.
    void OnEntryListed(const KwString& name) override;
    void OnProgress(int value) override;
    int OnCopyFailed(const KwString& path, const KwString& reason) override;
    void OnShellExtensionLocked(const KwString& installRoot) override;

private:
    Setup(const Setup&) = delete;
    Setup& operator=(const Setup&) = delete;

    void CreateControls();
    void CreateLanguageBox();
    void CreateTypeBoxes();
    void FillDriveList();
    void FillLicenceView();
    void ReloadLicenceView();
    void SetDefaultTarget();
    void ShowFolderPage();
    void ShowInstallingPage();
    void ShowFileLinksPage();
    void ShowFinishPage();
    void RefreshPageTexts();
    void SetBanner(const char* titleKey, const char* descriptionKey);
    void AskExit();
    void GoNext();
    void GoPrevious();
    int PrepareTarget(const KwString& path);
    int CheckFreeSpace(const KwString& path);
    void StartCopy(const KwString& path);
    void CopyNextEntry();
    void RunFinalStep();
    void Finish();
    void ShowPendingProgress();
    void SelectLanguage(int index);
    void SelectAllTypes();
    int IsFrom(KwObject* source, KwComponent* control) const;

    int m_nPage;
    KwButton* m_pPrev;
    KwButton* m_pNext;
    KwButton* m_pExit;
    KwComboBox* m_pLanguage;
    SetupImgView* m_pWelcome;
    SetupImgView* m_pBanner;
    KwTextView* m_pLicence;
    KwRadioButton* m_pAgree;
    KwRadioButton* m_pDisagree;
    KwRadioButtonGroup m_radioGroup;
    KwLabel* m_pFolderLabel;
    KwEdit* m_pFolderField;
    KwButton* m_pBrowse;
    KwLabel* m_pDriveLabel;
    KwListBox* m_pDriveList;
    KwGuage* m_pGauge;
    KwTextView* m_pFileView;
    KwLabel* m_pLinkLabel;
    KwCheckBox* m_pSelectAll;
    KwCheckBox* m_pTypes[ASSOCIATION_TYPE_COUNT];
    int m_nProgress;
    int m_bShellRestarted;
    // The count of ignored failures, under the type boxes of page 5.
    KwLabel* m_pFailureSummary;
    // Entries done in the current tick, drawn together when it ends: the
    // list and the gauge repaint once per tick instead of once per file.
    KwString m_strPendingNames;
    int m_nPendingValue;
    SetupInstallEngine m_engine;
    // The step after the copy that the next tick runs; 0 while copying.
    int m_nFinalStep;
    // A tick is running (a message box inside it runs a message loop that
    // would deliver the next tick) or the exit question holds the copy.
    int m_bInTick;
    int m_bPaused;
    int m_bComplete;
};

} // namespace KwSDK

#endif
