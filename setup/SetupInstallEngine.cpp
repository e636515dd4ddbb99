// The install engine: the timed copy of the payload, the shortcuts, the
// install log and the steps that follow them.
#include "SetupInstallEngine.h"

#include "KwFileStream.h"
#include "SetupConfig.h"
#include "SetupInstallHost.h"
#include "SetupProcesses.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <new>

namespace KwSDK {

// About 15 ms of copying per tick keeps the window answering between ticks.
static const int kDefaultBudget = 15;
// Files up to this size go through the platform's copy in one step; larger
// ones are copied a piece at a time.
static const unsigned int kWholeCopyLimit = 4u << 20;
static const int kDefaultPieceSize = 256 << 10;
// Show command of the shortcuts: shown normally.
static const int kShortcutShow = 5;

// Attempt results.
static const int kAttemptFailed = -1;
static const int kAttemptPending = 0;
static const int kAttemptDone = 1;

// A monotonic clock in milliseconds; finer than the tick count, whose
// 15.6 ms steps would make the budget all or nothing.
static ULONGLONG NowMilliseconds()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (frequency.QuadPart == 0)
        return GetTickCount();
    return static_cast<ULONGLONG>(now.QuadPart) * 1000u / static_cast<ULONGLONG>(frequency.QuadPart);
}

// X without its last four characters (the extension of a program name).
static KwString WithoutExtension(const KwString& name)
{
    if (name.GetLength() < 4)
        return KwString();
    // Mid takes both ends inclusive.
    return name.Mid(0, name.GetLength() - 5);
}

SetupInstallEngine::SetupInstallEngine(SetupInstallHost* host)
    : m_pHost(host), m_pPayload(nullptr), m_nCounter(1), m_bComplete(0), m_bAborted(0),
      m_nIgnored(0), m_nBudget(kDefaultBudget), m_nPieceSize(kDefaultPieceSize), m_bPieces(0),
      m_bShellRetried(0), m_bListed(0), m_dwError(0), m_hSource(INVALID_HANDLE_VALUE),
      m_hDestination(INVALID_HANDLE_VALUE), m_sourceTime(), m_dwSourceAttributes(0),
      m_pBuffer(nullptr), m_bSpecialOverride(0)
{
}

SetupInstallEngine::~SetupInstallEngine()
{
    ClosePieces();
    delete[] m_pBuffer;
}

void SetupInstallEngine::Start(TKwList<FILENODE>* payload)
{
    ClosePieces();
    m_pPayload = payload;
    m_nCounter = 1;
    m_bComplete = 0;
    m_bAborted = 0;
    m_nIgnored = 0;
    m_bShellRetried = 0;
    m_bListed = 0;
    if (m_pPayload != nullptr)
        m_pPayload->MoveFirst();
}

int SetupInstallEngine::IsCopyComplete() const
{
    return m_bComplete;
}

int SetupInstallEngine::IsAborted() const
{
    return m_bAborted;
}

int SetupInstallEngine::GetIgnoredCount() const
{
    return m_nIgnored;
}

int SetupInstallEngine::GetCounter() const
{
    return m_nCounter;
}

void SetupInstallEngine::SetTimeBudget(int milliseconds)
{
    m_nBudget = milliseconds > 0 ? milliseconds : 0;
}

void SetupInstallEngine::SetPieceSize(int bytes)
{
    if (bytes > 0 && !m_bPieces) {
        m_nPieceSize = bytes;
        delete[] m_pBuffer;
        m_pBuffer = nullptr;
    }
}

int SetupInstallEngine::CopyNextEntry(const KwString& installRoot)
{
    if (m_bComplete)
        return 1;
    if (m_bAborted)
        return 0;
    // An empty payload goes straight on to the final steps.
    if (m_pPayload == nullptr || m_pPayload->GetAt() == nullptr) {
        m_bComplete = 1;
        return 1;
    }
    ULONGLONG deadline = NowMilliseconds() + static_cast<ULONGLONG>(m_nBudget);
    for (;;) {
        if (!WorkOnEntry(installRoot, deadline))
            return 0;
        EntryDone();
        if (!m_pPayload->MoveNext()) {
            m_bComplete = 1;
            return 1;
        }
        if (NowMilliseconds() >= deadline)
            return 0;
    }
}

void SetupInstallEngine::EntryDone()
{
    if (m_pHost != nullptr)
        m_pHost->OnProgress(m_nCounter);
    ++m_nCounter;
    m_bShellRetried = 0;
    m_bListed = 0;
}

// 1 when the entry under the cursor is finished (copied, made or ignored);
// 0 when a large file goes on in the next tick or the host aborted.
int SetupInstallEngine::WorkOnEntry(const KwString& installRoot, ULONGLONG deadline)
{
    const FILENODE& entry = *m_pPayload->GetAt();
    KwString source = GetProgramFolder() + GetConfigString("productfold") + "\\" + entry.name;
    KwString destination = installRoot + "\\" + entry.name;
    if (entry.type == FILENODE_FILE && !m_bListed) {
        // The file shows in the list before its copy starts.
        m_bListed = 1;
        if (m_pHost != nullptr)
            m_pHost->OnEntryListed(entry.name);
    }
    for (;;) {
        int result = entry.type == FILENODE_FOLDER
                         ? MakeFolderEntry(destination)
                         : CopyFileEntry(entry, source, destination, deadline);
        if (result != kAttemptFailed)
            return result;
        result = HandleFailure(installRoot, destination, m_dwError);
        if (result != kAttemptFailed)
            return result;
    }
}

// kAttemptDone to go on, kAttemptPending when aborted, kAttemptFailed to
// try the entry again.
int SetupInstallEngine::HandleFailure(const KwString& installRoot, const KwString& destination,
                                      DWORD error)
{
    // The running shell holds the old extension: end it and try once more.
    if (!m_bShellRetried && IsShellExtension(installRoot, destination)) {
        m_bShellRetried = 1;
        if (m_pHost != nullptr)
            m_pHost->OnShellExtensionLocked(installRoot);
        return kAttemptFailed;
    }
    int answer = m_pHost != nullptr ? m_pHost->OnCopyFailed(destination, SystemReason(error))
                                    : SETUP_COPY_IGNORE;
    if (answer == SETUP_COPY_RETRY)
        return kAttemptFailed;
    if (answer == SETUP_COPY_ABORT) {
        m_bAborted = 1;
        return kAttemptPending;
    }
    ++m_nIgnored;
    return kAttemptDone;
}

int SetupInstallEngine::IsShellExtension(const KwString& installRoot,
                                         const KwString& destination) const
{
    return destination.CompareNoCase(ShellExtensionPath(installRoot)) == 0;
}

// One level; a folder that is already there is fine.
int SetupInstallEngine::MakeFolderEntry(const KwString& destination)
{
    if (CreateDirectoryA(destination.GetText(), nullptr))
        return kAttemptDone;
    m_dwError = GetLastError();
    DWORD attributes = GetFileAttributesA(destination.GetText());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return kAttemptDone;
    return kAttemptFailed;
}

int SetupInstallEngine::CopyFileEntry(const FILENODE& entry, const KwString& source,
                                      const KwString& destination, ULONGLONG deadline)
{
    if (!m_bPieces) {
        unsigned int size = static_cast<unsigned int>(entry.size);
        if (size <= kWholeCopyLimit || !BeginPieces(source, destination))
            return m_bPieces ? kAttemptFailed : CopyWhole(source, destination);
    }
    return CopyPieces(deadline);
}

int SetupInstallEngine::CopyWhole(const KwString& source, const KwString& destination)
{
    if (CopyFileA(source.GetText(), destination.GetText(), FALSE))
        return kAttemptDone;
    m_dwError = GetLastError();
    // Some platforms leave an empty or half-written file behind when the
    // disk is full; it would look installed.
    WIN32_FILE_ATTRIBUTE_DATA left;
    int empty = GetFileAttributesExA(destination.GetText(), GetFileExInfoStandard, &left) &&
                left.nFileSizeLow == 0 && left.nFileSizeHigh == 0;
    if (m_dwError == ERROR_DISK_FULL || m_dwError == ERROR_HANDLE_DISK_FULL || empty)
        DeleteFileA(destination.GetText());
    return kAttemptFailed;
}

// Opens both files for a copy in pieces. 0 when the buffer cannot be had
// (the caller then copies the file whole); a failed open leaves m_bPieces
// set and m_dwError holding the reason.
int SetupInstallEngine::BeginPieces(const KwString& source, const KwString& destination)
{
    if (m_pBuffer == nullptr)
        m_pBuffer = new (std::nothrow) char[static_cast<size_t>(m_nPieceSize)];
    if (m_pBuffer == nullptr)
        return 0;
    m_bPieces = 1;
    m_hSource = CreateFileA(source.GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_hSource == INVALID_HANDLE_VALUE || !GetFileTime(m_hSource, nullptr, nullptr, &m_sourceTime)) {
        m_dwError = GetLastError();
        ClosePieces();
        m_bPieces = 1;
        return 1;
    }
    m_dwSourceAttributes = GetFileAttributesA(source.GetText());
    m_hDestination = CreateFileA(destination.GetText(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    if (m_hDestination == INVALID_HANDLE_VALUE || !GetFileSizeEx(m_hSource, &size)) {
        m_dwError = GetLastError();
        ClosePieces();
        m_bPieces = 1;
        return 1;
    }
    // Reserving the whole length first makes a full disk fail at once
    // rather than after most of the file has been written.
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(m_hDestination, size, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(m_hDestination) || !SetFilePointerEx(m_hDestination, start, nullptr, FILE_BEGIN)) {
        m_dwError = GetLastError();
        ClosePieces();
        DeleteFileA(destination.GetText());
        m_bPieces = 1;
        return 1;
    }
    m_strPieceDestination = destination;
    return 1;
}

// Copies pieces until the deadline, at least one.
int SetupInstallEngine::CopyPieces(ULONGLONG deadline)
{
    if (m_hSource == INVALID_HANDLE_VALUE || m_hDestination == INVALID_HANDLE_VALUE) {
        m_bPieces = 0;
        return kAttemptFailed;
    }
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(m_hSource, m_pBuffer, static_cast<DWORD>(m_nPieceSize), &got, nullptr))
            return FailPieces(GetLastError());
        if (got == 0)
            return FinishPieces();
        DWORD written = 0;
        if (!WriteFile(m_hDestination, m_pBuffer, got, &written, nullptr) || written != got)
            return FailPieces(written != got && GetLastError() == 0 ? ERROR_DISK_FULL : GetLastError());
        if (NowMilliseconds() >= deadline)
            return kAttemptPending;
    }
}

// The destination gets the source's modification time and attributes, as
// the platform's copy gives them.
int SetupInstallEngine::FinishPieces()
{
    if (!SetFileTime(m_hDestination, nullptr, nullptr, &m_sourceTime))
        return FailPieces(GetLastError());
    ClosePieces();
    if (m_dwSourceAttributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(m_strPieceDestination.GetText(), m_dwSourceAttributes);
    return kAttemptDone;
}

// A half-written destination is removed, as the platform's copy does.
int SetupInstallEngine::FailPieces(DWORD error)
{
    m_dwError = error;
    ClosePieces();
    DeleteFileA(m_strPieceDestination.GetText());
    return kAttemptFailed;
}

void SetupInstallEngine::ClosePieces()
{
    if (m_hSource != INVALID_HANDLE_VALUE)
        CloseHandle(m_hSource);
    if (m_hDestination != INVALID_HANDLE_VALUE)
        CloseHandle(m_hDestination);
    m_hSource = INVALID_HANDLE_VALUE;
    m_hDestination = INVALID_HANDLE_VALUE;
    m_bPieces = 0;
}

KwString SetupInstallEngine::SystemReason(DWORD error)
{
    char buffer[512] = {0};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, buffer, sizeof buffer, nullptr);
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' ||
                          buffer[length - 1] == ' '))
        --length;
    if (length == 0) {
        KwString text;
        text.Format("Error %lu", static_cast<unsigned long>(error));
        return text;
    }
    return KwString(buffer, static_cast<int>(length));
}

unsigned long long SetupInstallEngine::PayloadSize(TKwList<FILENODE>* payload)
{
    unsigned long long total = 0;
    if (payload == nullptr || !payload->MoveFirst())
        return 0;
    do {
        const FILENODE* entry = payload->GetAt();
        if (entry->type == FILENODE_FILE)
            total += static_cast<unsigned int>(entry->size);
    } while (payload->MoveNext());
    return total;
}

int SetupInstallEngine::FreeSpaceAt(const KwString& path, unsigned long long* bytes)
{
    ULARGE_INTEGER available;
    if (path.GetLength() == 0 || !GetDiskFreeSpaceExA(path.GetText(), &available, nullptr, nullptr))
        return 0;
    *bytes = available.QuadPart;
    return 1;
}

void SetupInstallEngine::SetSpecialFolders(const KwString& programs, const KwString& desktop)
{
    m_bSpecialOverride = 1;
    m_strPrograms = programs;
    m_strDesktop = desktop;
}

void SetupInstallEngine::SpecialFolder(int which, KwString* path) const
{
    if (m_bSpecialOverride) {
        *path = which == CSIDL_PROGRAMS ? m_strPrograms : m_strDesktop;
        return;
    }
    char buffer[MAX_PATH + 1] = {0};
    *path = SHGetSpecialFolderPathA(nullptr, buffer, which, FALSE) ? KwString(buffer) : KwString();
}

void SetupInstallEngine::CreateShortcuts(const KwString& root)
{
    KwString programs;
    KwString desktop;
    SpecialFolder(CSIDL_PROGRAMS, &programs);
    SpecialFolder(CSIDL_DESKTOPDIRECTORY, &desktop);
    KwString sub = GetConfigString("sub_dir");
    KwString app = GetConfigString("start_app");
    KwString uninstall = GetConfigString("uninstall_app");
    KwString programTarget = root + sub + "\\" + app;
    KwString programIcon = root + sub + "\\" + GetConfigString("start_app_ico");
    KwString uninstallTarget = root + sub + "\\" + uninstall;
    KwString uninstallIcon = root + sub + "\\" + GetConfigString("uninstall_app_ico");

    // Without a Programs or desktop folder nothing is made for it: the
    // paths would otherwise start at the root of the current drive.
    KwString menuFolder, productMenu, programLink, uninstallLink, desktopLink;
    if (programs.GetLength() > 0) {
        menuFolder = programs + "\\" + GetConfigString("productfold");
        productMenu = menuFolder + "\\" + sub;
        CreateDirectoryA(menuFolder.GetText(), nullptr);
        CreateDirectoryA(productMenu.GetText(), nullptr);
        programLink = productMenu + "\\" + WithoutExtension(app) + ".lnk";
        uninstallLink = productMenu + "\\" + WithoutExtension(uninstall) + ".lnk";
        CreateShortcut(programTarget, programLink, GetConfigString("start_app_desc"), programIcon);
        CreateShortcut(uninstallTarget, uninstallLink, GetConfigString("uninstall_app_desc"),
                       uninstallIcon);
    }
    if (desktop.GetLength() > 0) {
        desktopLink = desktop + "\\" + WithoutExtension(app) + ".lnk";
        CreateShortcut(programTarget, desktopLink, GetConfigString("start_app_desc"), programIcon);
    }
    WriteInstallLog(root + sub + "\\install.txt", root, uninstallLink, programLink, productMenu,
                    menuFolder, desktopLink);
}

int SetupInstallEngine::CreateShortcut(const KwString& target, const KwString& link,
                                       const KwString& description, const KwString& icon)
{
    // The library stays initialised for the thread: the window's thread
    // may use it again, and nothing here can tell who initialised it first.
    if (FAILED(CoInitialize(nullptr)))
        return 0;
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return 0;
    shellLink->SetPath(target.GetText());
    shellLink->SetDescription(description.GetText());
    shellLink->SetIconLocation(icon.GetText(), 0);
    // The program receives its own path as its argument.
    shellLink->SetArguments(target.GetText());
    shellLink->SetShowCmd(kShortcutShow);
    int saved = 0;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        KwString wide(link);
        const wchar_t* name = wide.ToWide();
        saved = name != nullptr && SUCCEEDED(file->Save(name, TRUE)) ? 1 : 0;
        file->Release();
    }
    shellLink->Release();
    return saved;
}

// An entry belongs to the product when its name is the subfolder itself or
// lies below it; "Lumo" does not take in a sibling named "LumoExtra".
static int IsInSubfolder(const KwString& name, const KwString& sub)
{
    int length = sub.GetLength();
    if (length == 0 || name.GetLength() < length)
        return 0;
    if (name.Mid(0, length - 1).CompareNoCase(sub) != 0)
        return 0;
    return name.GetLength() == length || name.GetText()[length] == '\\';
}

static int WriteLine(KwFileStream& stream, const KwString& line)
{
    KwString text = line + "\r\n";
    return stream.Write(text.GetText(), text.GetLength()) == text.GetLength() ? 1 : 0;
}

int SetupInstallEngine::WriteInstallLog(const KwString& logFile, const KwString& root,
                                        const KwString& uninstallLink, const KwString& programLink,
                                        const KwString& productMenuFolder,
                                        const KwString& menuFolder, const KwString& desktopLink)
{
    KwFileStream stream;
    if (!stream.Open(logFile, KW_MODE_WRITE))
        return 0;
    int written = WriteLine(stream, logFile) & WriteLine(stream, uninstallLink) &
                  WriteLine(stream, programLink) & WriteLine(stream, productMenuFolder) &
                  WriteLine(stream, menuFolder) & WriteLine(stream, desktopLink);
    // Deepest first: every file comes before the folder that holds it.
    KwString sub = GetConfigString("sub_dir");
    if (m_pPayload != nullptr && m_pPayload->MoveLast()) {
        do {
            const FILENODE* entry = m_pPayload->GetAt();
            if (IsInSubfolder(entry->name, sub))
                written &= WriteLine(stream, root + entry->name);
        } while (m_pPayload->MovePrev());
    }
    written &= WriteLine(stream, GetConfigString("uninstall_regkey"));
    return stream.Close() == 1 ? written : 0;
}

} // namespace KwSDK
