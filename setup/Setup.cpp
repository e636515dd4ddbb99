// The install wizard's window: its controls, pages, navigation, language
// switch and the copy driven by its timer.
#include "Setup.h"

#include "IKwGraphics.h"
#include "ImplKwComponent.h"
#include "KwButton.h"
#include "KwCodePage.h"
#include "KwCheckBox.h"
#include "KwEdit.h"
#include "KwFile.h"
#include "KwFont.h"
#include "KwGuage.h"
#include "KwLabel.h"
#include "KwListBox.h"
#include "KwRadioButton.h"
#include "KwTextView.h"
#include "LOGICDRIVERS.h"
#include "SetupConfig.h"
#include "SetupImgView.h"
#include "SetupProcesses.h"
#include "SetupRegistry.h"

#if __has_include("KwComboBox.h")
#include "KwComboBox.h"
#define SETUP_HAS_COMBO_BOX 1
#endif

#include <shlobj.h>

#include <new>

namespace KwSDK {

static const int kWindowWidth = 502;
static const int kWindowHeight = 398;
static const int kCopyPeriod = 10;
static const int kFinishPage = 7;

// Fixed texts in the GBK code page: the folder questions are the same in
// both languages.
static const char* const kNotice = "\xcc\xe1\xca\xbe";
static const char* const kAskCreate =
    "\xb8\xc3\xc4\xbf\xc2\xbc\xb2\xbb\xb4\xe6\xd4\xda\xa3\xac\xca\xc7\xb7\xf1\xb4\xb4\xbd\xa8\xa3\xbf";
static const char* const kCreateFailed =
    "\xb4\xb4\xbd\xa8\xb2\xbb\xb3\xc9\xb9\xa6\xa3\xac\xc7\xeb\xd6\xd8\xd0\xc2\xca\xe4\xc8\xeb\xc2"
    "\xb7\xbe\xb6";
static const char* const kChineseItem = "\xd6\xd0\xce\xc4\xbc\xf2\xcc\xe5";

// Texts of the failure reports, for packages whose properties lack them.
static const char* const kCopyFailEnglish = "Setup could not install the file\r\n%s\r\n\r\n%s";
static const char* const kCopyFailChinese =
    "\xce\xde\xb7\xa8\xb0\xb2\xd7\xb0\xce\xc4\xbc\xfe\r\n%s\r\n\r\n%s";
static const char* const kSummaryEnglish = "%s file(s) could\r\nnot be installed.";
static const char* const kSummaryChinese =
    "\xd3\xd0\x20%s\x20\xb8\xf6\xce\xc4\xbc\xfe\r\n\xce\xb4\xc4\xdc\xb0\xb2\xd7\xb0\xa1\xa3";
static const char* const kNoSpaceEnglish =
    "There is not enough free space on the target drive: %s MB needed, %s MB free.";
static const char* const kNoSpaceChinese =
    "\xc4\xbf\xb1\xea\xb4\xc5\xc5\xcc\xbf\xd5\xbc\xe4\xb2\xbb\xd7\xe3\xa3\xba\xd0\xe8\xd2\xaa\x20"
    "%s\x20MB\xa3\xac\xbf\xc9\xd3\xc3\x20%s\x20MB\xa1\xa3";

// The type boxes in creation order: their index in the association table
// and their place. The TGA box takes the free row 250 of the second column.
struct TYPEBOXPLACE {
    int type;
    int x;
    int y;
    int width;
    int checked;
};

static const TYPEBOXPLACE kTypeBoxes[ASSOCIATION_TYPE_COUNT] = {
    {ASSOCIATION_JPEG, 30, 130, 100, 0},
    {ASSOCIATION_PNG, 30, 160, 100, 0},
    {ASSOCIATION_BMP, 30, 190, 100, 0},
    {ASSOCIATION_GIF, 30, 220, 100, 0},
    {ASSOCIATION_WMF, 30, 250, 100, 0},
    {ASSOCIATION_JPEG2000, 30, 280, 150, 1},
    {ASSOCIATION_PCX, 200, 130, 100, 0},
    {ASSOCIATION_PGX, 200, 160, 100, 0},
    {ASSOCIATION_RAS, 200, 190, 100, 0},
    {ASSOCIATION_TGA, 200, 250, 100, 0},
    {ASSOCIATION_TIFF, 200, 220, 100, 0},
    {ASSOCIATION_JPEG2000_COMPLETE, 200, 280, 200, 1},
    {ASSOCIATION_PPM, 370, 130, 100, 0},
    {ASSOCIATION_PGM, 370, 160, 100, 0},
    {ASSOCIATION_PBM, 370, 190, 100, 0},
    {ASSOCIATION_ICO, 370, 220, 100, 0},
};

// Fills each "%s" of a format in turn with the next argument. The formats
// come from the package's properties files, so they are never handed to a
// printf-style function: a stray "%d" there stays text.
static KwString ExpandText(const KwString& format, const KwString* arguments, int count)
{
    KwString result;
    const char* text = format.GetText() ? format.GetText() : "";
    int used = 0;
    const char* start = text;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && p[1] == 's' && used < count) {
            result = result + KwString(start, static_cast<int>(p - start)) + arguments[used++];
            start = p + 2;
            ++p;
        }
    }
    return result + start;
}

// The value of a key, or the built-in text of the current language when the
// package does not have it. Properties values are single lines, so these
// texts write a line break as the two characters "\n".
static KwString TextOrDefault(const char* key, const char* english, const char* chinese)
{
    KwString value = GetConfigString(key);
    if (value.GetLength() > 0) {
        value.Replace("\\n", "\n");
        return value;
    }
    return KwString(GetLanguage() == LANGUAGE_ENGLISH ? english : chinese);
}

// Whole GiB right-aligned to three characters.
static KwString GibText(unsigned long long bytes)
{
    KwString number;
    number.Format("%llu", bytes >> 30);
    while (number.GetLength() < 3)
        number = KwString(" ") + number;
    return number;
}

template <class T>
static T* Place(T* control, int x, int y, int width, int height)
{
    if (control != nullptr) {
        control->AddRef();
        control->SetBounds(x, y, width, height, 0);
    }
    return control;
}

static KwButton* MakeButton(const char* key, int x, int y, int width, int height)
{
    KwButton* button = Place(new (std::nothrow) KwButton(), x, y, width, height);
    if (button != nullptr)
        button->SetLabel(GetConfigString(key));
    return button;
}

static KwLabel* MakeLabel(const KwString& text, int x, int y, int width, int height)
{
    return Place(new (std::nothrow) KwLabel(KW_LABEL_LEFT, text), x, y, width, height);
}

static void ReleaseControl(KwComponent* control)
{
    if (control != nullptr)
        control->Release();
}

Setup::Setup()
    : m_nPage(PAGE_WELCOME), m_pPrev(nullptr), m_pNext(nullptr), m_pExit(nullptr),
      m_pLanguage(nullptr), m_pWelcome(nullptr), m_pBanner(nullptr), m_pLicence(nullptr),
      m_pAgree(nullptr), m_pDisagree(nullptr), m_pFolderLabel(nullptr), m_pFolderField(nullptr),
      m_pBrowse(nullptr), m_pDriveLabel(nullptr), m_pDriveList(nullptr), m_pGauge(nullptr),
      m_pFileView(nullptr), m_pLinkLabel(nullptr), m_pSelectAll(nullptr), m_pTypes(),
      m_nProgress(0), m_bShellRestarted(0), m_pFailureSummary(nullptr), m_nPendingValue(-1),
      m_engine(this),
      m_nFinalStep(0), m_bInTick(0), m_bPaused(0), m_bComplete(0)
{
    AppendTypeName("Setup");
    // Clipped children and siblings, no caption, frame or system menu.
    SetWindowType(KW_WINDOW_CLIPPED);
    SetText(GetConfigString("caption"));
    KwSize screen = GetScreenSize();
    SetBounds((screen.GetWidth() - kWindowWidth) / 2, (screen.GetHeight() - kWindowHeight) / 2,
              kWindowWidth, kWindowHeight, 0);
    KwFont* font = MakeFont(GetConfigString("font"), GetConfigInt("size"));
    if (font != nullptr)
        SetFont(font);
    CreateControls();
    if (m_bComplete) {
        SetDefaultTarget();
        FillDriveList();
    }
    m_nPage = PAGE_WELCOME;
    m_nProgress = 0;
    m_bShellRestarted = 0;
    if (font != nullptr)
        font->Release();
    if (m_bComplete)
        ShowPage();
}

Setup::~Setup()
{
    // The group listens to the radio buttons; it lets go of them first.
    m_radioGroup.RemoveAll();
    KwComponent* controls[] = {m_pPrev, m_pNext, m_pExit, m_pWelcome, m_pBanner, m_pLicence,
                               m_pAgree, m_pDisagree, m_pFolderLabel, m_pFolderField, m_pBrowse,
                               m_pDriveLabel, m_pDriveList, m_pGauge, m_pFileView, m_pLinkLabel,
                               m_pSelectAll, m_pFailureSummary};
    for (KwComponent* control : controls)
        ReleaseControl(control);
#ifdef SETUP_HAS_COMBO_BOX
    ReleaseControl(m_pLanguage);
#endif
    for (KwCheckBox* box : m_pTypes)
        ReleaseControl(box);
}

int Setup::IsComplete() const
{
    return m_bComplete;
}

int Setup::GetPage() const
{
    return m_nPage;
}

int Setup::GetIgnoredCount() const
{
    return m_engine.GetIgnoredCount();
}

// The controls in the order of the page layout; each is added to the window
// as it is made.
void Setup::CreateControls()
{
    KwString folder = GetProgramFolder();
    m_pPrev = MakeButton("prev", 168, 325, 100, 30);
    m_pNext = MakeButton("next", 278, 325, 100, 30);
    m_pExit = MakeButton("exit", 388, 325, 100, 30);
    Add(m_pPrev);
    Add(m_pNext);
    Add(m_pExit);
    CreateLanguageBox();
    m_pWelcome = Place(new (std::nothrow) SetupImgView(), 0, 0, 498, 312);
    m_pBanner = Place(new (std::nothrow) SetupImgView(), 0, 0, 498, 58);
    if (m_pWelcome != nullptr)
        m_pWelcome->SetImageFile(folder + GetConfigString("logo"));
    if (m_pBanner != nullptr)
        m_pBanner->SetImageFile(folder + GetConfigString("logo2"));
    Add(m_pWelcome);
    Add(m_pBanner);
    m_pLicence = Place(new (std::nothrow) KwTextView(), 10, 65, 476, 200);
    FillLicenceView();
    Add(m_pLicence);
    m_pAgree = Place(new (std::nothrow) KwRadioButton(GetConfigString("agree")), 10, 265, 488, 25);
    m_pDisagree =
        Place(new (std::nothrow) KwRadioButton(GetConfigString("disagree")), 10, 290, 488, 25);
    Add(m_pAgree);
    Add(m_pDisagree);
    if (m_pAgree != nullptr && m_pDisagree != nullptr) {
        m_pDisagree->SetSelected(1);
        m_radioGroup.Add(m_pAgree);
        m_radioGroup.Add(m_pDisagree);
    }
    m_pFolderLabel = MakeLabel(GetConfigString("setuppath"), 10, 70, 200, 20);
    m_pFolderField = Place(new (std::nothrow) KwEdit(), 10, 90, 400, 25);
    m_pBrowse = MakeButton("brows", 415, 89, 70, 27);
    m_pDriveLabel = MakeLabel(GetConfigString("disk"), 20, 127, 52, 17);
    m_pDriveList = Place(new (std::nothrow) KwListBox(), 17, 145, 461, 152);
    m_pGauge = Place(new (std::nothrow) KwGuage(), 10, 92, 475, 20);
    m_pFileView = Place(new (std::nothrow) KwTextView(), 17, 145, 461, 152);
    m_pLinkLabel = MakeLabel(KwString(" ") + GetConfigString("strlinklist"), 20, 98, 65, 20);
    m_pSelectAll =
        Place(new (std::nothrow) KwCheckBox(GetConfigString("strallselect")), 420, 80, 200, 20);
    KwComponent* pageControls[] = {m_pFolderLabel, m_pFolderField, m_pBrowse, m_pDriveLabel,
                                   m_pDriveList, m_pGauge, m_pFileView, m_pLinkLabel, m_pSelectAll};
    for (KwComponent* control : pageControls)
        Add(control);
    if (m_pGauge != nullptr) {
        int count = GetPayloadList().GetCount();
        m_pGauge->SetMaximum(count > 0 ? count : 1);
    }
    CreateTypeBoxes();
    m_pFailureSummary = Place(new (std::nothrow) KwLabel(KW_LABEL_MULTILINE, KwString()), 370, 250,
                              115, 50);
    if (m_pFailureSummary != nullptr)
        m_pFailureSummary->SetForeground(KwColor(192, 0, 0));
    Add(m_pFailureSummary);

    KwComponent* all[] = {m_pPrev, m_pNext, m_pExit, m_pWelcome, m_pBanner, m_pLicence, m_pAgree,
                          m_pDisagree, m_pFolderLabel, m_pFolderField, m_pBrowse, m_pDriveLabel,
                          m_pDriveList, m_pGauge, m_pFileView, m_pLinkLabel, m_pSelectAll,
                          m_pFailureSummary};
    m_bComplete = 1;
    for (KwComponent* control : all)
        m_bComplete = m_bComplete && control != nullptr;
    for (KwCheckBox* box : m_pTypes)
        m_bComplete = m_bComplete && box != nullptr;
}

void Setup::CreateLanguageBox()
{
#ifdef SETUP_HAS_COMBO_BOX
    m_pLanguage = Place(new (std::nothrow) KwComboBox(), 10, 330, 100, 22);
    if (m_pLanguage == nullptr)
        return;
    m_pLanguage->AddItem(KwString(kChineseItem));
    m_pLanguage->AddItem(KwString("English"));
    m_pLanguage->SetEditable(0);
    m_pLanguage->SetDropDownRows(2);
    m_pLanguage->ChooseItem(0);
    Add(m_pLanguage);
#else
    (void)kChineseItem;
#endif
}

void Setup::CreateTypeBoxes()
{
    for (const TYPEBOXPLACE& place : kTypeBoxes) {
        const ASSOCIATIONTYPE* type = GetAssociationType(place.type);
        KwCheckBox* box = Place(new (std::nothrow) KwCheckBox(KwString(type->boxText)), place.x,
                                place.y, place.width, 20);
        m_pTypes[place.type] = box;
        if (box != nullptr)
            box->SetChecked(place.checked);
        Add(box);
    }
}

void Setup::SetDefaultTarget()
{
    char value[MAX_PATH + 1] = {0};
    DWORD length = GetEnvironmentVariableA("ProgramFiles", value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return;
    char longPath[MAX_PATH + 1] = {0};
    DWORD longLength = GetLongPathNameA(value, longPath, sizeof longPath);
    KwString base = longLength > 0 && longLength < sizeof longPath ? KwString(longPath)
                                                                    : KwString(value);
    m_pFolderField->SetText(base + "\\" + GetConfigString("productfold"));
}

void Setup::FillDriveList()
{
    m_pDriveList->RemoveAllItems();
    TKwList<LOGICDRIVERS> drives;
    KwFile::ListFixedDrives(&drives);
    KwString format = GetConfigString("diskinfo");
    for (int more = drives.MoveFirst(); more; more = drives.MoveNext()) {
        const LOGICDRIVERS* drive = drives.GetAt();
        KwString arguments[3] = {KwString(drive->szRoot), GibText(drive->nTotal),
                                 GibText(drive->nFree)};
        m_pDriveList->AddItem(ExpandText(format, arguments, 3));
    }
}

// The licence opens at its top: the view would otherwise follow the text
// down to its last row.
void Setup::FillLicenceView()
{
    if (m_pLicence == nullptr)
        return;
    m_pLicence->SetAutoScroll(0);
    m_pLicence->Append(ReadLicenceText(), KwColor(0, 0, 0));
    m_pLicence->ScrollToRow(0);
}

// The text view cannot be emptied, so the licence of the other language
// goes into a fresh view in the old one's place.
void Setup::ReloadLicenceView()
{
    KwTextView* view = Place(new (std::nothrow) KwTextView(), 10, 65, 476, 200);
    if (view == nullptr)
        return;
    if (m_nPage != PAGE_LICENCE)
        view->Hide();
    KwTextView* old = m_pLicence;
    m_pLicence = view;
    FillLicenceView();
    Remove(old);
    old->Release();
    Add(view);
    view->ScrollToRow(0);
}

void Setup::HideAllControls()
{
    KwComponent* controls[] = {m_pWelcome, m_pBanner, m_pLicence, m_pAgree, m_pDisagree,
                               m_pFolderLabel, m_pFolderField, m_pBrowse, m_pDriveLabel,
                               m_pDriveList, m_pGauge, m_pFileView, m_pLinkLabel, m_pSelectAll};
    for (KwComponent* control : controls)
        control->Hide();
    for (const TYPEBOXPLACE& place : kTypeBoxes)
        m_pTypes[place.type]->Hide();
    m_pFailureSummary->Hide();
}

void Setup::SetBanner(const char* titleKey, const char* descriptionKey)
{
    m_pBanner->SetBannerTexts(GetConfigString(titleKey), GetConfigString(descriptionKey));
}

void Setup::ShowPage()
{
    HideAllControls();
    switch (m_nPage) {
    case PAGE_WELCOME:
        m_pWelcome->Show(0);
        m_pPrev->Disable();
        m_pNext->Enable();
        m_pNext->SetLabel(GetConfigString("next"));
        break;
    case PAGE_LICENCE:
        m_pBanner->Show(0);
        m_pLicence->Show(0);
        m_pAgree->Show(0);
        m_pDisagree->Show(0);
        SetBanner("strlicense", "strlicensespec");
        m_pPrev->Enable();
        m_pNext->SetLabel(GetConfigString("next"));
        if (m_pAgree->GetSelected())
            m_pNext->Enable();
        else
            m_pNext->Disable();
        break;
    case PAGE_FOLDER: ShowFolderPage(); break;
    case PAGE_INSTALLING: ShowInstallingPage(); break;
    case PAGE_FILE_LINKS: ShowFileLinksPage(); break;
    case PAGE_FINISH: ShowFinishPage(); break;
    default: break;
    }
}

void Setup::ShowFolderPage()
{
    KwComponent* controls[] = {m_pBanner, m_pFolderLabel, m_pFolderField, m_pBrowse,
                               m_pDriveLabel, m_pDriveList};
    for (KwComponent* control : controls)
        control->Show(0);
    SetBanner("strfold", "strfoldspec");
    m_pPrev->Enable();
    m_pNext->SetLabel(GetConfigString("install"));
}

void Setup::ShowInstallingPage()
{
    m_pFolderLabel->SetText(GetConfigString("strguage"));
    m_pDriveLabel->SetText(GetConfigString("strshowfile"));
    KwComponent* controls[] = {m_pBanner, m_pFolderLabel, m_pDriveLabel, m_pGauge, m_pFileView};
    for (KwComponent* control : controls)
        control->Show(0);
    SetBanner("strinstall", "strinstallspec");
    m_pPrev->Disable();
    m_pNext->Disable();
}

void Setup::ShowFileLinksPage()
{
    InvalidateAll();
    // The language may have changed on an earlier page.
    m_pLinkLabel->SetText(GetConfigString("strlinklist"));
    m_pSelectAll->SetLabel(GetConfigString("strallselect"));
    m_pBanner->Show(0);
    m_pLinkLabel->Show(0);
    m_pSelectAll->Show(0);
    for (KwCheckBox* box : m_pTypes)
        box->Show(0);
    int ignored = m_engine.GetIgnoredCount();
    if (ignored > 0) {
        KwString count(ignored);
        m_pFailureSummary->SetText(
            ExpandText(TextOrDefault("strcopyfailsummary", kSummaryEnglish, kSummaryChinese),
                       &count, 1));
        m_pFailureSummary->Show(0);
    }
    SetBanner("strlinkfile", "strlinkfilespec");
    m_pPrev->Disable();
    m_pNext->Enable();
    m_pNext->SetLabel(GetConfigString("next"));
    m_pExit->Disable();
}

void Setup::ShowFinishPage()
{
    InvalidateAll();
    m_pWelcome->SetImageFile(GetProgramFolder() + GetConfigString("logo3"));
    m_pWelcome->Show(0);
    m_pPrev->Enable();
    m_pPrev->SetLabel(GetConfigString("prev"));
    m_pNext->Enable();
    m_pNext->SetLabel(GetConfigString("strfinishbtn"));
    m_pExit->Disable();
}

int Setup::IsFrom(KwObject* source, KwComponent* control) const
{
    return control != nullptr && source == static_cast<KwObject*>(control);
}

int Setup::ActionPerformed(KwObject* source, int id, intptr_t param)
{
    if (id == EVT_BUTTON_ACTION && IsFrom(source, m_pExit)) {
        AskExit();
    } else if (id == EVT_BUTTON_ACTION && IsFrom(source, m_pNext)) {
        GoNext();
    } else if (id == EVT_BUTTON_ACTION && IsFrom(source, m_pPrev)) {
        GoPrevious();
    } else if (id == EVT_RADIO_SELECTED && IsFrom(source, m_pAgree)) {
        m_pNext->Enable();
    } else if (id == EVT_RADIO_SELECTED && IsFrom(source, m_pDisagree)) {
        m_pNext->Disable();
    } else if (id == EVT_BUTTON_ACTION && IsFrom(source, m_pBrowse)) {
        m_pFolderField->SetText(ChooseFolder(m_pFolderField->GetText()));
#ifdef SETUP_HAS_COMBO_BOX
    } else if (id == EVT_COMBO_SELECTION_CHANGED && IsFrom(source, m_pLanguage)) {
        SelectLanguage(m_pLanguage->GetChosenIndex());
#endif
    } else if (id == EVT_CHECKBOX_TOGGLED && IsFrom(source, m_pSelectAll)) {
        SelectAllTypes();
    }
    (void)param;
    return 1;
}

// The copy holds still while the question is open, so that a confirmed exit
// leaves exactly what was copied before it and never runs the final steps.
void Setup::AskExit()
{
    int copying = m_nPage == PAGE_INSTALLING;
    if (copying) {
        m_bPaused = 1;
        StopTimer();
    }
    int answer = ShowMessageBox(GetConfigString("strexit"), GetConfigString("strwarring"),
                                KW_MB_OKCANCEL, this);
    if (answer == IDOK) {
        Quit();
        return;
    }
    if (copying) {
        m_bPaused = 0;
        StartTimer(kCopyPeriod);
    }
}

void Setup::GoNext()
{
    ++m_nPage;
    if (m_nPage == PAGE_INSTALLING) {
        KwString path = m_pFolderField->GetText();
        if (!PrepareTarget(path)) {
            --m_nPage;
            return;
        }
        StartCopy(path);
    } else if (m_nPage == kFinishPage) {
        Finish();
    }
    ShowPage();
}

void Setup::GoPrevious()
{
    --m_nPage;
    ShowPage();
}

// The target folder exists, or its last level was made after asking, and
// the payload fits on its drive.
int Setup::PrepareTarget(const KwString& path)
{
    KwFile folder(path);
    if (!folder.IsFolder()) {
        if (ShowMessageBox(KwString(kAskCreate), KwString(kNotice), KW_MB_OKCANCEL, this) != IDOK)
            return 0;
        if (!folder.MakeFolder()) {
            ShowMessageBox(KwString(kCreateFailed), KwString(kNotice), KW_MB_OK, this);
            return 0;
        }
    }
    return CheckFreeSpace(path);
}

int Setup::CheckFreeSpace(const KwString& path)
{
    unsigned long long needed = SetupInstallEngine::PayloadSize(&GetPayloadList());
    unsigned long long available = 0;
    // A drive that cannot be asked is not held against the install.
    if (!SetupInstallEngine::FreeSpaceAt(path, &available) || needed <= available)
        return 1;
    KwString arguments[2];
    const unsigned long long megabyte = 1u << 20;
    arguments[0].Format("%llu", (needed + megabyte - 1) / megabyte);
    arguments[1].Format("%llu", available / megabyte);
    ShowMessageBox(ExpandText(TextOrDefault("strnospace", kNoSpaceEnglish, kNoSpaceChinese),
                              arguments, 2),
                   GetConfigString("strwarring"), KW_MB_OK, this);
    return 0;
}

void Setup::StartCopy(const KwString& path)
{
    m_pGauge->SetValue(m_nProgress);
    ++m_nProgress;
    m_engine.Start(&GetPayloadList());
    KwFile(path).MakeFolder();
    StartTimer(kCopyPeriod);
}

int Setup::OnTimer()
{
    if (m_nPage == PAGE_INSTALLING && !m_bInTick && !m_bPaused)
        CopyNextEntry();
    return 1;
}

void Setup::CopyNextEntry()
{
    if (m_nFinalStep > 0) {
        RunFinalStep();
        return;
    }
    m_bInTick = 1;
    KwString root = m_pFolderField->GetText();
    int complete = m_engine.CopyNextEntry(root);
    m_bInTick = 0;
    ShowPendingProgress();
    if (m_engine.IsAborted()) {
        StopTimer();
        Quit();
        return;
    }
    // The steps after the copy follow in the next ticks, one per tick: each
    // starts a program or writes several files.
    if (complete)
        m_nFinalStep = 1;
}

// Shortcuts and install log, the registry script, the shell extension's
// registration, then the file-link page.
void Setup::RunFinalStep()
{
    KwString root = m_pFolderField->GetText();
    switch (m_nFinalStep++) {
    case 1: m_engine.CreateShortcuts(root + "\\"); break;
    case 2: ImportRegistryScript(root, KwString("")); break;
    default:
        StopTimer();
        m_nFinalStep = 0;
        RegisterShellExtension(root);
        ++m_nPage;
        ShowPage();
        break;
    }
}

void Setup::Finish()
{
    int checked[ASSOCIATION_TYPE_COUNT];
    for (int i = 0; i < ASSOCIATION_TYPE_COUNT; ++i)
        checked[i] = m_pTypes[i]->GetChecked();
    AssociateCheckedTypes(m_pFolderField->GetText(), checked);
    OpenProductWebPage();
    Quit();
}

void Setup::SelectLanguage(int index)
{
    SetLanguage(index);
    RefreshTexts();
}

void Setup::SelectAllTypes()
{
    int checked = m_pSelectAll->GetChecked();
    for (KwCheckBox* box : m_pTypes)
        box->SetChecked(checked);
}

void Setup::OnEntryListed(const KwString& name)
{
    m_strPendingNames.Append(name.GetText());
    m_strPendingNames.Append("\r\n");
}

void Setup::OnProgress(int value)
{
    m_nPendingValue = value;
    m_nProgress = value + 1;
}

void Setup::ShowPendingProgress()
{
    if (m_strPendingNames.GetLength() > 0) {
        m_pFileView->Append(m_strPendingNames, KwColor(0, 0, 0));
        m_strPendingNames = KwString();
    }
    if (m_nPendingValue >= 0) {
        m_pGauge->SetValue(m_nPendingValue);
        m_nPendingValue = -1;
    }
}

// Retry, ignore, or abort (which ends the wizard as a confirmed exit does).
// The timer rests while the box is open.
int Setup::OnCopyFailed(const KwString& path, const KwString& reason)
{
    StopTimer();
    ShowPendingProgress();
    KwString arguments[2] = {path, reason};
    KwString text =
        ExpandText(TextOrDefault("strcopyfail", kCopyFailEnglish, kCopyFailChinese), arguments, 2);
    KWNATIVEHANDLES handles = {nullptr, nullptr};
    GetNativeHandles(&handles);
    KwString caption = GetConfigString("strwarring");
    int answer = MessageBoxA(handles.hWnd, text.GetText(), caption.GetText() ? caption.GetText() : "",
                             MB_ABORTRETRYIGNORE | MB_ICONWARNING);
    if (answer == IDABORT)
        return SETUP_COPY_ABORT;
    StartTimer(kCopyPeriod);
    return answer == IDRETRY ? SETUP_COPY_RETRY : SETUP_COPY_IGNORE;
}

void Setup::OnShellExtensionLocked(const KwString& installRoot)
{
    ReleaseShellExtension(installRoot, &m_bShellRestarted);
}

KwString Setup::ChooseFolder(const KwString& current)
{
    KWNATIVEHANDLES handles = {nullptr, nullptr};
    GetNativeHandles(&handles);
    if (handles.hWnd == nullptr)
        return KwString();
    KwString title = GetConfigString("strselfold");
    char display[MAX_PATH + 1] = {0};
    BROWSEINFOA info = {};
    info.hwndOwner = handles.hWnd;
    info.pszDisplayName = display;
    info.lpszTitle = title.GetText();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item == nullptr)
        return current;
    char path[MAX_PATH + 1] = {0};
    BOOL hasPath = SHGetPathFromIDListA(item, path);
    CoTaskMemFree(item);
    if (!hasPath || path[0] == '\0')
        return current;
    KwString chosen(path);
    if (!KwCodePage::EndsWithSeparator(KwCodePage::System(), chosen.GetText(), chosen.GetLength()))
        chosen.Append("\\");
    return chosen + GetConfigString("productfold");
}

void Setup::RefreshTexts()
{
    SetText(GetConfigString("caption"));
    m_pPrev->SetLabel(GetConfigString("prev"));
    m_pExit->SetLabel(GetConfigString("exit"));
    m_pNext->SetLabel(GetConfigString("next"));
    ReloadLicenceView();
    m_pAgree->SetLabel(GetConfigString("agree"));
    m_pDisagree->SetLabel(GetConfigString("disagree"));
    m_pBrowse->SetLabel(GetConfigString("brows"));
    m_pDriveLabel->SetSize(GetLanguage() == LANGUAGE_ENGLISH ? 73 : 52, 17, 1);
    FillDriveList();
    m_pFolderLabel->SetText(GetConfigString("setuppath"));
    m_pDriveLabel->SetText(GetConfigString("disk"));
    // The banner picture may carry words of its own language.
    m_pBanner->SetImageFile(GetProgramFolder() + GetConfigString("logo2"));
    RefreshPageTexts();
}

void Setup::RefreshPageTexts()
{
    switch (m_nPage) {
    case PAGE_WELCOME:
        m_pWelcome->SetImageFile(GetProgramFolder() + GetConfigString("logo"));
        m_pWelcome->RepaintAll();
        break;
    case PAGE_LICENCE:
        SetBanner("strlicense", "strlicensespec");
        m_pNext->SetLabel(GetConfigString("next"));
        break;
    case PAGE_FOLDER:
        SetBanner("strfold", "strfoldspec");
        m_pFolderLabel->SetText(GetConfigString("setuppath"));
        m_pDriveLabel->SetText(GetConfigString("disk"));
        m_pNext->SetLabel(GetConfigString("install"));
        break;
    case PAGE_INSTALLING:
        SetBanner("strinstall", "strinstallspec");
        m_pFolderLabel->SetText(GetConfigString("strguage"));
        m_pDriveLabel->SetText(GetConfigString("strshowfile"));
        break;
    case PAGE_FILE_LINKS:
        m_pLinkLabel->SetText(GetConfigString("strlinklist"));
        m_pSelectAll->SetLabel(GetConfigString("strallselect"));
        SetBanner("strlinkfile", "strlinkfilespec");
        m_pNext->SetLabel(GetConfigString("next"));
        break;
    case PAGE_FINISH:
        m_pWelcome->SetImageFile(GetProgramFolder() + GetConfigString("logo3"));
        m_pPrev->SetLabel(GetConfigString("prev"));
        m_pNext->SetLabel(GetConfigString("strfinishbtn"));
        break;
    default: break;
    }
}

// The line under the banner, the frame around the page's list or boxes and
// the line above the buttons.
int Setup::OnPaint(const KwRect& area, IKwGraphics* graphics)
{
    KwWindow::OnPaint(area, graphics);
    if (graphics == nullptr)
        return 1;
    graphics->SetTransparentText(1);
    if (m_nPage >= PAGE_LICENCE && m_nPage <= PAGE_FILE_LINKS)
        graphics->Draw3DFrame(2, 60, 492, 2, KW_FRAME_SUNKEN);
    if (m_nPage == PAGE_FOLDER || m_nPage == PAGE_INSTALLING)
        graphics->Draw3DFrame(10, 135, 475, 170, KW_FRAME_ETCHED);
    if (m_nPage == PAGE_FILE_LINKS)
        graphics->Draw3DFrame(10, 105, 475, 200, KW_FRAME_ETCHED);
    if (m_nPage >= PAGE_WELCOME && m_nPage <= PAGE_FINISH)
        graphics->Draw3DFrame(2, 315, 492, 2, KW_FRAME_SUNKEN);
    return 1;
}

} // namespace KwSDK
