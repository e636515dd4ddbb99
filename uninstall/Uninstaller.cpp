// The uninstaller's file steps: the shell extension, the shortcuts, the
// installed files and folders, its own logs, and its removal of itself.
#include "Uninstaller.h"

#include "KwFile.h"
#include "SetupProcesses.h"
#include "UninstallPath.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>

namespace KwSDK {

// Larger logs are no logs of ours.
static const int kMaxLogBytes = 16 * 1024 * 1024;
// The registration tool and the registry editor get this long to end before
// the uninstall goes on.
static const DWORD kToolLimit = 120000;
// Pause after ending the shell, as the installer makes it.
static const DWORD kShellEndPause = 1000;
// The copy waits this long for the uninstaller to end, then tries so many
// times to remove its file while the system lets go of the program image.
static const DWORD kSelfWaitLimit = 60000;
static const int kDeleteAttempts = 50;
static const DWORD kDeletePause = 100;

static const char* const kShellProcess = "explorer.exe";
static const char* const kShellProgram = "EXPLORER.EXE";

int Uninstaller::ReadWholeFile(const KwString& path, char** bytes, int* length)
{
    *bytes = nullptr;
    *length = 0;
    KwFileStream stream;
    if (!stream.Open(path, KW_MODE_READ))
        return 0;
    int capacity = 4096;
    char* buffer = static_cast<char*>(malloc(static_cast<size_t>(capacity)));
    int used = 0;
    int got = 0;
    while (buffer && (got = stream.Read(buffer + used, capacity - used)) > 0) {
        used += got;
        if (used == capacity) {
            char* larger = capacity < kMaxLogBytes ? static_cast<char*>(realloc(buffer, static_cast<size_t>(capacity) * 2)) : nullptr;
            if (!larger) {
                free(buffer);
                buffer = nullptr;
                break;
            }
            buffer = larger;
            capacity *= 2;
        }
    }
    stream.Close();
    if (!buffer)
        return 0;
    *bytes = buffer;
    *length = used;
    return 1;
}

int Uninstaller::RunToEnd(const KwString& commandLine)
{
    char* line = static_cast<char*>(malloc(static_cast<size_t>(commandLine.GetLength()) + 1));
    if (!line)
        return 0;
    memcpy(line, commandLine.GetText(), static_cast<size_t>(commandLine.GetLength()) + 1);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    BOOL started = CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    free(line);
    if (!started)
        return 0;
    WaitForSingleObject(process.hProcess, kToolLimit);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}

Uninstaller::Uninstaller() : m_logOpen(0) {}

Uninstaller::~Uninstaller()
{
    CloseLog();
}

int Uninstaller::OpenLog(const KwString& path)
{
    CloseLog();
    m_logOpen = m_logFile.Open(path, KW_MODE_WRITE);
    return m_logOpen;
}

void Uninstaller::CloseLog()
{
    if (m_logOpen)
        m_logFile.Close();
    m_logOpen = 0;
}

void Uninstaller::Log(const KwString& line)
{
    if (!m_logOpen)
        return;
    KwString text = line + "\r\n";
    m_logFile.Write(text.GetText(), text.GetLength());
    m_logFile.Flush();
}

void Uninstaller::Fail(const KwString& what, const KwString& path)
{
    m_failures.AddTail(path);
    Log(KwString("Failed: ") + what + " " + path);
}

// The long form of an existing path: a program started through its short
// path must still find the entries the log names in the long form.
static KwString LongPathOf(const KwString& path)
{
    char buffer[MAX_PATH];
    DWORD length = GetLongPathNameA(path.GetText(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? KwString(buffer, static_cast<int>(length)) : path;
}

int Uninstaller::Load(const KwString& ownPath)
{
    m_ownPath = UninstallPath::Normalize(LongPathOf(ownPath));
    m_productFolder = UninstallPath::Parent(m_ownPath);
    if (!UninstallPath::IsProductFolder(m_productFolder)) {
        Log(KwString("Failed: the program's folder cannot be a product folder: ") + m_productFolder);
        return 0;
    }
    char* bytes = nullptr;
    int length = 0;
    KwString logPath = m_productFolder + "\\install.txt";
    int loaded = ReadWholeFile(logPath, &bytes, &length) && m_log.Parse(bytes, length);
    free(bytes);
    if (!loaded) {
        Log(KwString("Failed: no install log ") + logPath);
        return 0;
    }
    if (ReadWholeFile(m_productFolder + "\\filelink.txt", &bytes, &length))
        m_links.Parse(bytes, length);
    free(bytes);
    Log(KwString("Read ") + logPath);
    return 1;
}

int Uninstaller::Run()
{
    m_failures.RemoveAll();
    UnregisterShellExtensions();
    RestoreAssociations();
    ImportDeletionScript();
    RemoveLinks();
    RemoveEntries();
    RemoveUninstallKey();
    return m_failures.GetCount() == 0;
}

int Uninstaller::IsOwnFile(const KwString& path)
{
    return UninstallPath::SamePath(path, m_ownPath);
}

// The entries of the log that lie in the product folder, normalised; the
// others are refused here, once.
static void ProductEntries(InstallLog& log, const KwString& folder, TKwList<KwString>* entries)
{
    for (int more = log.GetEntries().MoveFirst(); more; more = log.GetEntries().MoveNext()) {
        KwString entry = UninstallPath::Normalize(*log.GetEntries().GetAt());
        if (UninstallPath::IsProductEntry(entry, folder))
            entries->AddTail(entry);
    }
}

static int IsLibrary(const KwString& path)
{
    int length = path.GetLength();
    return length > 4 && UninstallPath::SamePath(path.Mid(length - 4, -1), ".dll");
}

// Whether a library offers its own unregistration; its code is not run.
static int CanUnregister(const KwString& path)
{
    HMODULE module = LoadLibraryExA(path.GetText(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module)
        return 0;
    int found = GetProcAddress(module, "DllUnregisterServer") != nullptr;
    FreeLibrary(module);
    return found;
}

void Uninstaller::UnregisterShellExtensions()
{
    TKwList<KwString> entries;
    ProductEntries(m_log, m_productFolder, &entries);
    for (int more = entries.MoveFirst(); more; more = entries.MoveNext()) {
        const KwString& path = *entries.GetAt();
        if (!IsLibrary(path) || GetFileAttributesA(path.GetText()) == INVALID_FILE_ATTRIBUTES || !CanUnregister(path))
            continue;
        KwString shortPath = ShortPathOf(path);
        if (shortPath.GetLength() > 0 && RunToEnd(KwString("regsvr32.exe /s /u ") + shortPath)) {
            m_unregistered.AddTail(path);
            Log(KwString("Unregistered ") + path);
        } else {
            Log(KwString("Failed: could not unregister ") + path);
        }
    }
}

// The target of a shell link, as stored; empty when it is no link.
static KwString LinkTarget(const KwString& link)
{
    KwString target;
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        KwString path(link);
        char buffer[MAX_PATH] = { 0 };
        if (SUCCEEDED(file->Load(path.ToWide(), STGM_READ))
            && SUCCEEDED(shellLink->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH)))
            target = buffer;
        file->Release();
    }
    shellLink->Release();
    return target;
}

void Uninstaller::RemoveLink(const KwString& line)
{
    KwString link = UninstallPath::Normalize(line);
    if (!UninstallPath::IsLinkPath(link)) {
        Log(KwString("Refused: not a shortcut: ") + line);
        return;
    }
    if (GetFileAttributesA(link.GetText()) == INVALID_FILE_ATTRIBUTES) {
        Log(KwString("Already gone: ") + link);
        return;
    }
    // Only a shortcut to the product is the product's.
    KwString target = UninstallPath::Normalize(LinkTarget(link));
    if (!UninstallPath::IsProductEntry(target, m_productFolder)) {
        Log(KwString("Refused: the shortcut does not lead into the product folder: ") + link);
        return;
    }
    RemoveFile(link);
}

void Uninstaller::RemoveLinks()
{
    HRESULT com = CoInitialize(nullptr);
    RemoveLink(m_log.GetUninstallLink());
    RemoveLink(m_log.GetProgramLink());
    RemoveLink(m_log.GetDesktopLink());
    if (SUCCEEDED(com))
        CoUninitialize();
    KwString productMenu = UninstallPath::Normalize(m_log.GetProductMenuFolder());
    KwString menu = UninstallPath::Normalize(m_log.GetMenuFolder());
    if (!UninstallPath::IsMenuFolderPair(productMenu, menu)) {
        Log(KwString("Refused: start-menu folders ") + productMenu + " and " + menu);
        return;
    }
    // Folders the user filled with other things stay.
    RemoveFolder(productMenu, 0);
    RemoveFolder(menu, 0);
}

int Uninstaller::RemoveFile(const KwString& path)
{
    DWORD attributes = GetFileAttributesA(path.GetText());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        Log(KwString("Already gone: ") + path);
        return 1;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path.GetText(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileA(path.GetText()) || ReleaseAndDelete(path)) {
        Log(KwString("Removed ") + path);
        return 1;
    }
    Fail("could not remove (in use?)", path);
    return 0;
}

// A shell extension that the running shell still holds: end the shell, remove
// the file, and start the shell again, as the installer does to replace it.
int Uninstaller::ReleaseAndDelete(const KwString& path)
{
    int unregistered = 0;
    for (int more = m_unregistered.MoveFirst(); more; more = m_unregistered.MoveNext())
        unregistered |= UninstallPath::SamePath(*m_unregistered.GetAt(), path);
    if (!unregistered)
        return 0;
    int ended = EndProcessesNamed(kShellProcess);
    Log(KwString("Ended the shell to release ") + path);
    Sleep(kShellEndPause);
    int deleted = DeleteFileA(path.GetText()) ? 1 : 0;
    if (ended > 0)
        OpenProgramInBackground(kShellProgram);
    return deleted;
}

int Uninstaller::RemoveFolder(const KwString& path, int reportFailure)
{
    if (GetFileAttributesA(path.GetText()) == INVALID_FILE_ATTRIBUTES) {
        Log(KwString("Already gone: ") + path);
        return 1;
    }
    if (RemoveDirectoryA(path.GetText())) {
        Log(KwString("Removed ") + path);
        return 1;
    }
    if (reportFailure)
        Fail("could not remove folder", path);
    else
        Log(KwString("Kept (not empty) ") + path);
    return 0;
}

void Uninstaller::RemoveEntries()
{
    for (int more = m_log.GetEntries().MoveFirst(); more; more = m_log.GetEntries().MoveNext()) {
        KwString entry = UninstallPath::Normalize(*m_log.GetEntries().GetAt());
        if (!UninstallPath::IsProductEntry(entry, m_productFolder)) {
            Log(KwString("Refused: outside the product folder: ") + *m_log.GetEntries().GetAt());
            continue;
        }
        // The program itself and the product folder go last, from the copy.
        if (IsOwnFile(entry) || UninstallPath::SamePath(entry, m_productFolder))
            continue;
        DWORD attributes = GetFileAttributesA(entry.GetText());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            // A folder that still holds a file in use is named with the file;
            // one that holds the user's own files just stays.
            RemoveFolder(entry, 0);
        } else {
            RemoveFile(entry);
        }
    }
}

void Uninstaller::RemoveOwnFiles()
{
    const char* const names[] = { "\\filelink.txt", "\\uninstall.reg", "\\install.txt" };
    for (const char* name : names) {
        KwString path = m_productFolder + name;
        if (GetFileAttributesA(path.GetText()) != INVALID_FILE_ATTRIBUTES)
            RemoveFile(path);
    }
}

// The temporary folder with its trailing backslash; empty when unknown.
static KwString TemporaryFolder()
{
    char buffer[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? KwString(buffer, static_cast<int>(length)) : KwString();
}

static void RemoveAtRestart(const KwString& program, const KwString& folder)
{
    MoveFileExA(program.GetText(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (folder.GetLength() > 0)
        MoveFileExA(folder.GetText(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// Starts the copy with an inheritable handle of this process to wait for.
static int StartCopy(const KwString& copy, const KwString& arguments)
{
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0))
        return 0;
    KwString handleText;
    handleText.Format("%lu", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(self)));
    KwString commandLine = KwString("\"") + copy + "\" /_CLEAN=" + handleText + arguments;
    char* line = static_cast<char*>(malloc(static_cast<size_t>(commandLine.GetLength()) + 1));
    int started = 0;
    if (line) {
        memcpy(line, commandLine.GetText(), static_cast<size_t>(commandLine.GetLength()) + 1);
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        memset(&process, 0, sizeof process);
        KwString temporary = TemporaryFolder();
        started = CreateProcessA(copy.GetText(), line, nullptr, nullptr, TRUE, 0, nullptr,
                                 temporary.GetLength() > 0 ? temporary.GetText() : nullptr, &startup, &process);
        if (started) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        free(line);
    }
    CloseHandle(self);
    return started;
}

int Uninstaller::StartSelfRemoval(const KwString& ownPath, const KwString& productFolder)
{
    KwString temporary = TemporaryFolder();
    KwString copy;
    copy.Format("%suninstall-%lu.exe", temporary.GetText() ? temporary.GetText() : "",
                static_cast<unsigned long>(GetCurrentProcessId()));
    KwString arguments = KwString(" \"") + ownPath + "\" \"" + productFolder + "\"";
    if (temporary.GetLength() == 0 || !CopyFileA(ownPath.GetText(), copy.GetText(), FALSE)) {
        RemoveAtRestart(ownPath, productFolder);
        return 0;
    }
    // The copy's file is opened to be deleted when its last handle closes,
    // and that handle is inherited by the copy: the file goes when it ends.
    SECURITY_ATTRIBUTES inherit;
    memset(&inherit, 0, sizeof inherit);
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    HANDLE deleteOnClose = CreateFileA(copy.GetText(), 0, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit,
                                       OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    int started = StartCopy(copy, deleteOnClose != INVALID_HANDLE_VALUE ? arguments : arguments + " /_RESTART");
    if (deleteOnClose != INVALID_HANDLE_VALUE)
        CloseHandle(deleteOnClose);
    if (!started) {
        // The copy was not started: with the handle closed it is gone already
        // (or goes now), and the program waits for the next system start.
        DeleteFileA(copy.GetText());
        RemoveAtRestart(ownPath, productFolder);
    }
    return started;
}

int Uninstaller::FinishSelfRemoval(HANDLE process, const KwString& program, const KwString& productFolder,
                                   int removeSelfAtRestart)
{
    // Only an uninstaller directly in a product folder is removed this way.
    if (!UninstallPath::IsProductFolder(productFolder)
        || !UninstallPath::SamePath(UninstallPath::Parent(program), productFolder))
        return 0;
    if (process) {
        WaitForSingleObject(process, kSelfWaitLimit);
        CloseHandle(process);
    }
    int removed = 0;
    for (int attempt = 0; attempt < kDeleteAttempts && !removed; ++attempt) {
        removed = DeleteFileA(program.GetText()) || GetFileAttributesA(program.GetText()) == INVALID_FILE_ATTRIBUTES;
        if (!removed)
            Sleep(kDeletePause);
    }
    int folderRemoved = RemoveDirectoryA(productFolder.GetText()) ? 1 : 0;
    if (!removed)
        RemoveAtRestart(program, folderRemoved ? KwString() : productFolder);
    if (removeSelfAtRestart) {
        char own[MAX_PATH];
        DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            MoveFileExA(own, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    return removed;
}

} // namespace KwSDK
