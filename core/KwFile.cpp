// File-system operations on one path, folder listing and tree removal.
#include "KwFile.h"

#include "KwCodePage.h"
#include "KwFileStream.h"
#include "KwPlatformFile.h"
#include "KwTime.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace KwSDK {

static const int kDriveStringsSize = 1024;

KwFile::KwFile() : m_nError(0)
{
    AppendTypeName("KwFile");
}

KwFile::KwFile(const KwString& path) : m_strPath(path), m_nError(0)
{
    AppendTypeName("KwFile");
}

KwFile::KwFile(const char* path) : m_strPath(path), m_nError(0)
{
    AppendTypeName("KwFile");
}

KwFile::KwFile(const KwFile& other) : KwObject(other), m_strPath(other.m_strPath), m_nError(0)
{
    AppendTypeName("KwFile");
}

KwFile& KwFile::operator=(const KwFile& other)
{
    m_strPath = other.m_strPath;
    m_nError = 0;
    return *this;
}

KwFile::~KwFile()
{
}

unsigned int KwFile::GetErrorCode() const
{
    return m_nError;
}

const char* KwFile::GetErrorMessage(unsigned int code) const
{
    switch (code) {
    case KW_FILE_EXISTS: return "File exis";
    case KW_FILE_PARAM: return "Paramater is wrong";
    case KW_FILE_ACCESS:
        return "Access denied: file's permission setting does not allow specified access";
    case KW_FILE_NOT_FOUND: return "Filename or path not found";
    case KW_FILE_NO_DESCRIPTORS: return "No more file descriptors are available";
    case KW_FILE_NAME: return "File name error";
    case KW_FILE_OPEN_FAIL: return "Open file fail";
    case KW_FILE_CLOSE_FAIL: return "Close file fail";
    default: return "Success";
    }
}

KwFile* KwFile::Clone() const
{
    KwFile* copy = new (std::nothrow) KwFile(m_strPath);
    if (copy)
        copy->AddRef();
    return copy;
}

int KwFile::SetError(unsigned int code, int result)
{
    m_nError = code;
    return result;
}

const char* KwFile::PathText() const
{
    return m_strPath.GetText() ? m_strPath.GetText() : "";
}

// The path as the status query wants it: without one trailing backslash, and
// with a backslash after a bare drive, since "C:" alone names the drive's
// current folder rather than its root.
KwString KwFile::StatusPath() const
{
    const char* text = PathText();
    int length = m_strPath.GetLength();
    if (length > 1 && KwCodePage::EndsWithSeparator(KwCodePage::System(), text, length))
        --length;
    KwString path(text, length);
    if (length == 2 && text[1] == ':')
        path.Append("\\");
    return path;
}

int KwFile::StatusQuery(Platform::FileStatus* status)
{
    KwString path = StatusPath();
    if (!Platform::FileStat(path.GetText() ? path.GetText() : "", status))
        return SetError(KW_FILE_NOT_FOUND, 0);
    return 1;
}

int KwFile::SetPath(const KwString& path)
{
    m_nError = 0;
    m_strPath = path;
    return 1;
}

int KwFile::CanRead()
{
    m_nError = 0;
    return Platform::FileAccess(PathText(), 4);
}

int KwFile::CanWrite()
{
    m_nError = 0;
    return Platform::FileAccess(PathText(), 2);
}

int KwFile::Create()
{
    m_nError = 0;
    if (Platform::FileAccess(PathText(), 0))
        return SetError(KW_FILE_EXISTS, 0);
    if (!Platform::FileCreateNew(PathText())) {
        // Made by someone else between the check and the creation: still ours
        // to refuse, and never truncated.
        unsigned int code = Platform::FileAccess(PathText(), 0) ? KW_FILE_EXISTS : KW_FILE_OPEN_FAIL;
        return SetError(code, 0);
    }
    return 1;
}

int KwFile::Delete()
{
    m_nError = 0;
    int isFolder = IsFolder();
    if (!isFolder && m_nError)
        return 0;
    int removed = isFolder ? Platform::FolderRemove(PathText()) : Platform::FileRemove(PathText());
    return removed ? 1 : SetError(KW_FILE_ACCESS, 0);
}

int KwFile::Exists()
{
    m_nError = 0;
    return Platform::FileAccess(PathText(), 0);
}

KwString KwFile::GetPath()
{
    m_nError = 0;
    return m_strPath;
}

KwString KwFile::GetName()
{
    m_nError = 0;
    int slash = KwCodePage::LastSeparator(KwCodePage::System(), PathText(), m_strPath.GetLength());
    if (slash < 0) {
        SetError(KW_FILE_NAME, 0);
        return KwString();
    }
    return KwString(PathText() + slash + 1, m_strPath.GetLength() - slash - 1);
}

KwString KwFile::GetFolder()
{
    m_nError = 0;
    int slash = KwCodePage::LastSeparator(KwCodePage::System(), PathText(), m_strPath.GetLength());
    if (slash < 0) {
        SetError(KW_FILE_NAME, 0);
        return KwString();
    }
    KwString folder(PathText(), slash);
    // "C:\setup.exe" lives in the root "C:\", not in the drive's current folder "C:".
    if (slash > 0 && PathText()[slash - 1] == ':')
        folder.Append("\\");
    return folder;
}

KwFile* KwFile::GetFolderFile()
{
    KwString folder = GetFolder();
    if (m_nError)
        return nullptr;
    if (folder.GetLength() == 0) {
        SetError(KW_FILE_NAME, 0);
        return nullptr;
    }
    KwFile* file = new (std::nothrow) KwFile(folder);
    if (file)
        file->AddRef();
    return file;
}

int KwFile::IsFolder()
{
    m_nError = 0;
    Platform::FileStatus status;
    if (!StatusQuery(&status))
        return 0;
    return status.isFolder;
}

int KwFile::IsFile()
{
    m_nError = 0;
    Platform::FileStatus status;
    if (!StatusQuery(&status))
        return 0;
    return status.isFolder ? 0 : 1;
}

int KwFile::CanExecute()
{
    m_nError = 0;
    Platform::FileStatus status;
    if (!StatusQuery(&status))
        return 0;
    return status.canExecute;
}

KwTime* KwFile::GetModifiedTime()
{
    m_nError = 0;
    Platform::FileStatus status;
    if (!StatusQuery(&status))
        return nullptr;
    KwTime* time = new (std::nothrow) KwTime;
    if (!time)
        return nullptr;
    time->AddRef();
    if (!time->FromFileTime(static_cast<unsigned int>(status.modifiedTime),
                            static_cast<unsigned int>(status.modifiedTime >> 32))) {
        time->Release();
        SetError(KW_FILE_NOT_FOUND, 0);
        return nullptr;
    }
    return time;
}

unsigned int KwFile::GetLength()
{
    m_nError = 0;
    Platform::FileStatus status;
    if (!StatusQuery(&status))
        return 0;
    return status.size > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<unsigned int>(status.size);
}

int KwFile::ListFiles(TKwList<KwFile*>* list, IKwFileFilter* filter)
{
    m_nError = 0;
    if (!list)
        return SetError(KW_FILE_PARAM, 0);
    return ListEntries(list, nullptr, filter);
}

int KwFile::ListFiles(TKwList<KwFile*>* list)
{
    return ListFiles(list, nullptr);
}

int KwFile::ListNames(TKwList<KwString>* list, IKwFileFilter* filter)
{
    m_nError = 0;
    if (!list)
        return SetError(KW_FILE_PARAM, 0);
    return ListEntries(nullptr, list, filter);
}

int KwFile::ListNames(TKwList<KwString>* list)
{
    return ListNames(list, nullptr);
}

// Appends one entry's path (already in its long form) to whichever list is
// given, if the filter takes it.
int KwFile::AddEntry(const KwString& full, TKwList<KwFile*>* files, TKwList<KwString>* names,
                     IKwFileFilter* filter)
{
    if (filter && !filter->Accept(full))
        return 1;
    if (names)
        return names->AddTail(full);
    KwFile* file = new (std::nothrow) KwFile(full);
    if (!file)
        return 0;
    file->AddRef();
    if (!files->AddTail(file)) {
        file->Release();
        return 0;
    }
    return 1;
}

int KwFile::ListEntries(TKwList<KwFile*>* files, TKwList<KwString>* names, IKwFileFilter* filter)
{
    if (!IsFolder())
        return 0;
    KwString name;
    Platform::FolderSearch* search = Platform::FolderSearchOpen(PathText(), &name);
    if (!search)
        return SetError(KW_FILE_ACCESS, 0);
    // The system lists every name in its long form, so expanding the folder
    // once gives each entry's long path; expanding every entry's path again
    // costs a walk over all its folders per entry.
    KwString prefix = Platform::LongPathName(PathText());
    if (!KwCodePage::EndsWithSeparator(KwCodePage::System(), prefix.GetText(), prefix.GetLength()))
        prefix.Append("\\");
    int complete = 1;
    do {
        if (name == "." || name == "..")
            continue;
        if (!AddEntry(prefix + name, files, names, filter))
            complete = 0;
    } while (complete && Platform::FolderSearchNext(search, &name));
    Platform::FolderSearchClose(search);
    return complete;
}

int KwFile::MakeFolder()
{
    m_nError = 0;
    if (!Platform::FolderMake(PathText()))
        return SetError(KW_FILE_NOT_FOUND, 0);
    return 1;
}

int KwFile::RenameTo(const KwString& path)
{
    m_nError = 0;
    if (!Platform::FileRename(PathText(), path.GetText() ? path.GetText() : ""))
        return SetError(KW_FILE_NOT_FOUND, 0);
    return 1;
}

// The caller keeps the time alive for the call; taking a reference here would
// delete a time that lives on the caller's stack when it is given back.
int KwFile::SetModifiedTime(KwTime* time)
{
    m_nError = 0;
    if (!time)
        return SetError(KW_FILE_PARAM, 0);
    unsigned long long fileTime = time->ToFileTime();
    if (fileTime == 0)
        return SetError(KW_FILE_PARAM, 0);
    switch (Platform::FileSetModifiedTime(PathText(), fileTime)) {
    case 0: return 1;
    case 1: return SetError(KW_FILE_OPEN_FAIL, 0);
    default: return SetError(KW_FILE_CLOSE_FAIL, 0);
    }
}

int KwFile::RefreshMode()
{
    m_nError = 0;
    Platform::FileStatus status;
    if (!StatusQuery(&status))
        return 0;
    KwString path = StatusPath();
    if (!Platform::FileSetMode(path.GetText(), status.mode))
        return SetError(KW_FILE_NOT_FOUND, 0);
    return 1;
}

int KwFile::SetWritable(int writable)
{
    m_nError = 0;
    if (!Platform::FileSetWritable(PathText(), writable ? 1 : 0))
        return SetError(KW_FILE_NOT_FOUND, 0);
    return 1;
}

KwFileStream* KwFile::OpenStream(int mode)
{
    m_nError = 0;
    if (IsFolder()) {
        SetError(KW_FILE_OPEN_FAIL, 0);
        return nullptr;
    }
    m_nError = 0;
    KwFileStream* stream = new (std::nothrow) KwFileStream;
    if (!stream)
        return nullptr;
    stream->AddRef();
    if (!stream->Open(m_strPath, mode)) {
        stream->Release();
        SetError(KW_FILE_OPEN_FAIL, 0);
        return nullptr;
    }
    return stream;
}

// Removes one entry and, for a folder, everything below it. The walk works
// on the listed names as they are (no long-name expansion, one status query
// per entry): a launcher removes every file it extracted this way, and on
// Windows each extra query is a round trip to the system. Links are removed
// as links: following one would empty the folder it points to.
static void RemoveTreeAt(const KwString& path)
{
    const char* text = path.GetText() ? path.GetText() : "";
    if (Platform::IsLink(text)) {
        Platform::LinkRemove(text);
        return;
    }
    Platform::FileStatus status;
    if (!Platform::FileStat(text, &status))
        return;
    if (!status.isFolder) {
        Platform::FileRemove(text);
        return;
    }
    // The names are taken first: the search is closed before anything goes,
    // so a deep tree never holds one search open per level.
    TKwList<KwString> names;
    KwString name;
    Platform::FolderSearch* search = Platform::FolderSearchOpen(text, &name);
    if (search) {
        do {
            if (name != "." && name != "..")
                names.AddTail(name);
        } while (Platform::FolderSearchNext(search, &name));
        Platform::FolderSearchClose(search);
    }
    KwString prefix(path);
    if (!KwCodePage::EndsWithSeparator(KwCodePage::System(), text, path.GetLength()))
        prefix.Append("\\");
    for (int more = names.MoveFirst(); more; more = names.MoveNext())
        RemoveTreeAt(prefix + *names.GetAt());
    Platform::FolderRemove(text);
}

int KwFile::DeleteTree()
{
    m_nError = 0;
    RemoveTreeAt(m_strPath);
    return Platform::FileAccess(PathText(), 0) || Platform::IsLink(PathText()) ? 0 : 1;
}

// The module path is cut at its last backslash; the folder keeps no trailing one.
KwFile* KwFile::GetModuleFolder()
{
    KwString module = Platform::ModulePath();
    if (module.GetLength() == 0)
        return nullptr;
    KwString full = Platform::LongPathName(module.GetText());
    int slash = KwCodePage::LastSeparator(KwCodePage::System(), full.GetText(), full.GetLength());
    if (slash < 0)
        return nullptr;
    KwFile* folder = new (std::nothrow) KwFile(KwString(full.GetText(), slash));
    if (folder)
        folder->AddRef();
    return folder;
}

KwFile* KwFile::GetProgramFilesFolder()
{
    const char* value = getenv("ProgramFiles");
    if (!value)
        return nullptr;
    KwFile* folder = new (std::nothrow) KwFile(Platform::LongPathName(value));
    if (folder)
        folder->AddRef();
    return folder;
}

// A drive whose space cannot be queried is still listed, with zero counts.
static int AddFixedDrive(TKwList<LOGICDRIVERS>* list, const char* root)
{
    LOGICDRIVERS drive;
    memset(&drive, 0, sizeof drive);
    strncpy(drive.szRoot, root, sizeof drive.szRoot - 1);
    drive.nType = KW_DRIVE_FIXED;
    Platform::DiskSpace(root, &drive.nTotal, &drive.nFree);
    return list->AddTail(drive);
}

int KwFile::ListFixedDrives(TKwList<LOGICDRIVERS>* list)
{
    if (!list)
        return 0;
    list->RemoveAll();
    char roots[kDriveStringsSize];
    int used = Platform::LogicalDriveStrings(roots, sizeof roots);
    for (int at = 0; at < used && roots[at]; at += static_cast<int>(strlen(roots + at)) + 1) {
        if (Platform::DriveType(roots + at) == KW_DRIVE_FIXED && !AddFixedDrive(list, roots + at))
            return 0;
    }
    return 1;
}

int WindowsVersionCodeOf(unsigned int platform, unsigned int major, unsigned int minor,
                         unsigned int productType)
{
    if (platform == 0 || platform == 3)
        return 1;
    unsigned int version = major << 16 | minor;
    switch (version) {
    case 4u << 16 | 0: return platform == 1 ? 4 : (platform == 2 ? 32 : 0);
    case 4u << 16 | 10: return 8;
    case 4u << 16 | 90: return 16;
    case 5u << 16 | 0: return 64;
    case 5u << 16 | 1: return 128;
    case 5u << 16 | 2: return 2048;
    case 6u << 16 | 0: return productType == 1 ? 256 : 512;
    case 6u << 16 | 1: return 1024;
    default: return 0;
    }
}

int GetWindowsVersionCode()
{
    unsigned int platform, major, minor, productType;
    if (!Platform::VersionRecord(&platform, &major, &minor, &productType))
        return 0;
    return WindowsVersionCodeOf(platform, major, minor, productType);
}

} // namespace KwSDK
