// Windows side of the file-system seam: the ANSI file, folder, drive and
// version calls and the run-time library's file functions.
#include "KwPlatformFile.h"

#include "KwCodePage.h"

#include <cstdio>
#include <cstring>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <new>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

namespace KwSDK {
namespace Platform {

static const char* TextOf(const KwString& text)
{
    return text.GetText() ? text.GetText() : "";
}

KwString NativePath(const char* path)
{
    return KwString(path);
}

int FileAccess(const char* path, int mode)
{
    return _access(path, mode) == 0 ? 1 : 0;
}

static unsigned long long FileTimeValue(const FILETIME& time)
{
    return static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// The run-time library marks these as executable, and so does this seam.
static int HasProgramExtension(const char* path)
{
    static const char* const kExtensions[] = {".exe", ".com", ".bat", ".cmd"};
    size_t length = strlen(path);
    if (length < 4)
        return 0;
    for (const char* extension : kExtensions) {
        if (_stricmp(path + length - 4, extension) == 0)
            return 1;
    }
    return 0;
}

// The system's attribute query, not the run-time library's status call: that
// one refuses a path whose last byte is 0x5C even when the byte ends a
// double-byte character, and it gives whole seconds only.
int FileStat(const char* path, FileStatus* status)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!status || !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return 0;
    int folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
    int executable = folder || HasProgramExtension(path);
    status->isFolder = folder;
    status->canExecute = executable;
    status->size = folder ? 0 : (static_cast<unsigned long long>(data.nFileSizeHigh) << 32 |
                                 data.nFileSizeLow);
    status->modifiedTime = FileTimeValue(data.ftLastWriteTime);
    unsigned int mode = _S_IREAD;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        mode |= _S_IWRITE;
    if (executable)
        mode |= _S_IEXEC;
    status->mode = mode;
    return 1;
}

int FileCreateNew(const char* path)
{
    // _O_EXCL: an existing file is never truncated, even when it appears
    // between the caller's check and this call.
    int fd = _open(path, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return 0;
    return _close(fd) == 0 ? 1 : 0;
}

int FileRemove(const char* path)
{
    return remove(path) == 0 ? 1 : 0;
}

int FolderRemove(const char* path)
{
    return RemoveDirectoryA(path) ? 1 : 0;
}

int IsLink(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
               ? 1
               : 0;
}

// A link to a folder is removed as a folder, one to a file as a file; neither
// touches what the link points to.
int LinkRemove(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return RemoveDirectoryA(path) ? 1 : 0;
    return DeleteFileA(path) ? 1 : 0;
}

int FolderMake(const char* path)
{
    return _mkdir(path) == 0 ? 1 : 0;
}

// The run-time rename refuses an existing target.
int FileRename(const char* from, const char* to)
{
    return rename(from, to) == 0 ? 1 : 0;
}

int FileSetMode(const char* path, unsigned int mode)
{
    return _chmod(path, static_cast<int>(mode & (_S_IREAD | _S_IWRITE))) == 0 ? 1 : 0;
}

int FileSetWritable(const char* path, int writable)
{
    int mode = writable ? (_S_IREAD | _S_IWRITE) : _S_IREAD;
    return _chmod(path, mode) == 0 ? 1 : 0;
}

int FileSetModifiedTime(const char* path, unsigned long long fileTime)
{
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(fileTime);
    time.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    BOOL set = SetFileTime(file, nullptr, nullptr, &time);
    BOOL closed = CloseHandle(file);
    return set && closed ? 0 : 2;
}

FILE* FileOpen(const char* path, const char* mode)
{
    return fopen(path, mode);
}

struct FolderSearch {
    HANDLE handle;
};

FolderSearch* FolderSearchOpen(const char* folder, KwString* name)
{
    KwString pattern(folder);
    int length = pattern.GetLength();
    // A folder given with its trailing backslash (a drive root) gets no second one.
    if (!KwCodePage::EndsWithSeparator(KwCodePage::System(), TextOf(pattern), length))
        pattern.Append("\\");
    pattern.Append("*.*");
    WIN32_FIND_DATAA found;
    HANDLE handle = FindFirstFileA(TextOf(pattern), &found);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    FolderSearch* search = new (std::nothrow) FolderSearch;
    if (!search) {
        FindClose(handle);
        return nullptr;
    }
    search->handle = handle;
    *name = found.cFileName;
    return search;
}

int FolderSearchNext(FolderSearch* search, KwString* name)
{
    WIN32_FIND_DATAA found;
    if (!search || !FindNextFileA(search->handle, &found))
        return 0;
    *name = found.cFileName;
    return 1;
}

void FolderSearchClose(FolderSearch* search)
{
    if (!search)
        return;
    FindClose(search->handle);
    delete search;
}

KwString LongPathName(const char* path)
{
    char buffer[MAX_PATH];
    DWORD length = GetLongPathNameA(path, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return KwString(path);
    return KwString(buffer, static_cast<int>(length));
}

KwString ModulePath()
{
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return KwString();
    return KwString(buffer, static_cast<int>(length));
}

int LogicalDriveStrings(char* buffer, int size)
{
    if (!buffer || size < 2)
        return 0;
    DWORD used = GetLogicalDriveStringsA(static_cast<DWORD>(size - 1), buffer);
    if (used == 0 || used >= static_cast<DWORD>(size))
        return 0;
    return static_cast<int>(used);
}

unsigned int DriveType(const char* root)
{
    return GetDriveTypeA(root);
}

int DiskSpace(const char* root, unsigned long long* total, unsigned long long* available)
{
    ULARGE_INTEGER freeToCaller, totalBytes, totalFree;
    if (!total || !available || !GetDiskFreeSpaceExA(root, &freeToCaller, &totalBytes, &totalFree))
        return 0;
    *total = totalBytes.QuadPart;
    *available = freeToCaller.QuadPart;
    return 1;
}

int VersionRecord(unsigned int* platform, unsigned int* major, unsigned int* minor,
                  unsigned int* productType)
{
    OSVERSIONINFOEXA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return 0;
    *platform = info.dwPlatformId;
    *major = info.dwMajorVersion;
    *minor = info.dwMinorVersion;
    *productType = info.wProductType;
    return 1;
}

} // namespace Platform
} // namespace KwSDK
