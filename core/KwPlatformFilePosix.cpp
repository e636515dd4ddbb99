// Host side of the file-system seam: POSIX calls on paths whose backslashes
// become '/', mounted file systems standing in for drives.
#include "KwPlatformFile.h"

#include "KwCodePage.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

namespace KwSDK {
namespace Platform {

// Seconds between 1601-01-01 (file time origin) and 1970-01-01 (Unix epoch).
static const long long kEpochDifference = 11644473600LL;
static const long long kTicksPerSecond = 10000000LL;
// A Windows read-only file has no write permission bit at all.
static const mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
// The drive record holds at most 9 bytes of root text.
static const size_t kMaxRootLength = 9;

// A backslash that is the second byte of a double-byte character in the
// locale's code page is part of the name, not a separator.
KwString NativePath(const char* path)
{
    if (path == nullptr)
        return KwString();
    int length = static_cast<int>(strlen(path));
    char* text = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (text == nullptr)
        return KwString();
    memcpy(text, path, static_cast<size_t>(length) + 1);
    int codePage = KwCodePage::System();
    for (int i = 0; i < length;) {
        int step = KwCodePage::CharacterLength(codePage, text, length, i);
        if (step == 1 && text[i] == '\\')
            text[i] = '/';
        i += step;
    }
    KwString native(text, length);
    delete[] text;
    return native;
}

// Zero-terminated native form of a path that stays valid while it lives.
class Native {
public:
    explicit Native(const char* path) : m_path(NativePath(path)) {}
    const char* Get() const { return m_path.GetText() ? m_path.GetText() : ""; }

private:
    KwString m_path;
};

static int IsReadOnlyFile(const struct stat& info)
{
    return S_ISREG(info.st_mode) && (info.st_mode & kWriteBits) == 0;
}

int FileAccess(const char* path, int mode)
{
    Native native(path);
    if (access(native.Get(), mode) != 0)
        return 0;
    // The superuser may write anything, but a read-only file must still answer
    // "not writable" as it does on Windows.
    struct stat info;
    if ((mode & 2) && stat(native.Get(), &info) == 0 && IsReadOnlyFile(info))
        return 0;
    return 1;
}

static unsigned long long FileTimeOf(const struct timespec& when)
{
    long long ticks = (static_cast<long long>(when.tv_sec) + kEpochDifference) * kTicksPerSecond +
                      when.tv_nsec / 100;
    return ticks < 0 ? 0 : static_cast<unsigned long long>(ticks);
}

int FileStat(const char* path, FileStatus* status)
{
    Native native(path);
    struct stat info;
    if (!status || stat(native.Get(), &info) != 0)
        return 0;
    status->isFolder = S_ISDIR(info.st_mode) ? 1 : 0;
    status->canExecute = (info.st_mode & S_IXUSR) ? 1 : 0;
    status->size = static_cast<unsigned long long>(info.st_size);
    status->modifiedTime = FileTimeOf(info.st_mtim);
    status->mode = static_cast<unsigned int>(info.st_mode & 07777);
    return 1;
}

int FileCreateNew(const char* path)
{
    Native native(path);
    // O_EXCL: an existing file is never truncated, even when it appears
    // between the caller's check and this call.
    int fd = open(native.Get(), O_CREAT | O_EXCL | O_WRONLY, 0666);
    if (fd < 0)
        return 0;
    return close(fd) == 0 ? 1 : 0;
}

int FileRemove(const char* path)
{
    Native native(path);
    struct stat info;
    if (lstat(native.Get(), &info) == 0 && IsReadOnlyFile(info)) {
        errno = EACCES;
        return 0;
    }
    return remove(native.Get()) == 0 ? 1 : 0;
}

int FolderRemove(const char* path)
{
    Native native(path);
    return rmdir(native.Get()) == 0 ? 1 : 0;
}

int IsLink(const char* path)
{
    Native native(path);
    struct stat info;
    return lstat(native.Get(), &info) == 0 && S_ISLNK(info.st_mode) ? 1 : 0;
}

int LinkRemove(const char* path)
{
    Native native(path);
    return unlink(native.Get()) == 0 ? 1 : 0;
}

int FolderMake(const char* path)
{
    Native native(path);
    return mkdir(native.Get(), 0777) == 0 ? 1 : 0;
}

int FileRename(const char* from, const char* to)
{
    Native source(from);
    Native target(to);
    // POSIX rename silently replaces the target; Windows refuses. Refusing
    // keeps the target's data on both.
    if (renameat2(AT_FDCWD, source.Get(), AT_FDCWD, target.Get(), RENAME_NOREPLACE) == 0)
        return 1;
    if (errno != EINVAL && errno != ENOSYS)
        return 0;
    struct stat info;
    if (lstat(target.Get(), &info) == 0)
        return 0;
    return rename(source.Get(), target.Get()) == 0 ? 1 : 0;
}

int FileSetMode(const char* path, unsigned int mode)
{
    Native native(path);
    return chmod(native.Get(), static_cast<mode_t>(mode & 07777)) == 0 ? 1 : 0;
}

int FileSetWritable(const char* path, int writable)
{
    Native native(path);
    struct stat info;
    if (stat(native.Get(), &info) != 0)
        return 0;
    mode_t mode = info.st_mode & 07777;
    mode = writable ? (mode | S_IWUSR) : (mode & ~kWriteBits);
    return chmod(native.Get(), mode) == 0 ? 1 : 0;
}

int FileSetModifiedTime(const char* path, unsigned long long fileTime)
{
    Native native(path);
    int fd = open(native.Get(), O_RDWR);
    if (fd < 0)
        return 1;
    long long seconds = static_cast<long long>(fileTime / kTicksPerSecond) - kEpochDifference;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(seconds);
    times[1].tv_nsec = static_cast<long>(fileTime % kTicksPerSecond) * 100;
    int set = futimens(fd, times) == 0;
    int closed = close(fd) == 0;
    return set && closed ? 0 : 2;
}

FILE* FileOpen(const char* path, const char* mode)
{
    Native native(path);
    return fopen(native.Get(), mode);
}

struct FolderSearch {
    DIR* dir;
};

static int NextName(DIR* dir, KwString* name)
{
    struct dirent* entry = readdir(dir);
    if (!entry)
        return 0;
    *name = entry->d_name;
    return 1;
}

FolderSearch* FolderSearchOpen(const char* folder, KwString* name)
{
    Native native(folder);
    DIR* dir = opendir(native.Get());
    if (!dir)
        return nullptr;
    FolderSearch* search = new (std::nothrow) FolderSearch;
    if (!search || !NextName(dir, name)) {
        closedir(dir);
        delete search;
        return nullptr;
    }
    search->dir = dir;
    return search;
}

int FolderSearchNext(FolderSearch* search, KwString* name)
{
    return search ? NextName(search->dir, name) : 0;
}

void FolderSearchClose(FolderSearch* search)
{
    if (!search)
        return;
    closedir(search->dir);
    delete search;
}

// Host file systems keep one name per entry: there is no short form to expand.
KwString LongPathName(const char* path)
{
    return KwString(path);
}

KwString ModulePath()
{
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return KwString();
    KwString path(buffer, static_cast<int>(length));
    path.Replace("/", "\\");
    return path;
}

// --- Drives: the mounted file systems stand in for the system's drives. ---

// Decodes the octal escapes (\040 for a blank) of a mount table field in place.
static void DecodeMountField(char* field)
{
    char* out = field;
    for (const char* in = field; *in; ++out) {
        if (in[0] == '\\' && in[1] >= '0' && in[1] <= '7' && in[2] >= '0' && in[2] <= '7' &&
            in[3] >= '0' && in[3] <= '7') {
            *out = static_cast<char>((in[1] - '0') * 64 + (in[2] - '0') * 8 + (in[3] - '0'));
            in += 4;
        } else {
            *out = *in++;
        }
    }
    *out = 0;
}

static int IsOneOf(const char* type, const char* const* names)
{
    for (; *names; ++names) {
        if (strcmp(type, *names) == 0)
            return 1;
    }
    return 0;
}

// The drive-type value for a file system type: 3 fixed disk, 4 remote, 5 optical,
// 6 memory, 0 unknown (virtual file systems such as proc).
static unsigned int DriveTypeOf(const char* type)
{
    static const char* const fixed[] = {"ext2", "ext3", "ext4", "xfs", "btrfs", "vfat", "exfat",
                                        "ntfs", "ntfs3", "fuseblk", "f2fs", "jfs", "reiserfs",
                                        "zfs", "overlay", "hfsplus", "apfs", nullptr};
    static const char* const remote[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs",
                                         "9p", nullptr};
    static const char* const optical[] = {"iso9660", "udf", nullptr};
    static const char* const memory[] = {"tmpfs", "ramfs", nullptr};
    if (IsOneOf(type, fixed))
        return 3;
    if (IsOneOf(type, remote))
        return 4;
    if (IsOneOf(type, optical))
        return 5;
    if (IsOneOf(type, memory))
        return 6;
    return 0;
}

// Calls visit(mount point, file system type) for each mount table entry, in
// table order, until visit answers 0.
template <class Visit>
static int ForEachMount(Visit visit)
{
    FILE* table = fopen("/proc/self/mounts", "r");
    if (!table)
        return 0;
    char line[4096];
    while (fgets(line, sizeof line, table)) {
        char* save = nullptr;
        char* device = strtok_r(line, " \t\n", &save);
        char* point = device ? strtok_r(nullptr, " \t\n", &save) : nullptr;
        char* type = point ? strtok_r(nullptr, " \t\n", &save) : nullptr;
        if (!type)
            continue;
        DecodeMountField(point);
        if (!visit(point, type))
            break;
    }
    fclose(table);
    return 1;
}

// Whether the zero-separated list in buffer[0, used) already holds root.
static int ListHolds(const char* buffer, int used, const char* root)
{
    for (int at = 0; at < used; at += static_cast<int>(strlen(buffer + at)) + 1) {
        if (strcmp(buffer + at, root) == 0)
            return 1;
    }
    return 0;
}

// Lists every mount point short enough for the drive record (longer ones, such
// as deep container mounts, cannot be named there and are left out), each once,
// as far as the buffer holds them.
int LogicalDriveStrings(char* buffer, int size)
{
    if (!buffer || size < 2)
        return 0;
    int used = 0;
    ForEachMount([&](const char* point, const char*) {
        int length = static_cast<int>(strlen(point));
        if (static_cast<size_t>(length) > kMaxRootLength || ListHolds(buffer, used, point))
            return 1;
        if (used + length + 2 > size)
            return 0;
        memcpy(buffer + used, point, static_cast<size_t>(length) + 1);
        used += length + 1;
        return 1;
    });
    buffer[used] = 0;
    return used;
}

// The type of the last mount on the root (a later mount hides an earlier one);
// 1, as for a drive letter with no root folder, when nothing is mounted there.
unsigned int DriveType(const char* root)
{
    Native native(root);
    unsigned int found = 1;
    ForEachMount([&](const char* point, const char* type) {
        if (strcmp(point, native.Get()) == 0)
            found = DriveTypeOf(type);
        return 1;
    });
    return found;
}

int DiskSpace(const char* root, unsigned long long* total, unsigned long long* available)
{
    Native native(root);
    struct statvfs info;
    if (!total || !available || statvfs(native.Get(), &info) != 0)
        return 0;
    *total = static_cast<unsigned long long>(info.f_blocks) * info.f_frsize;
    *available = static_cast<unsigned long long>(info.f_bavail) * info.f_frsize;
    return 1;
}

// The host is no Windows system: there is no version record to report.
int VersionRecord(unsigned int*, unsigned int*, unsigned int*, unsigned int*)
{
    return 0;
}

} // namespace Platform
} // namespace KwSDK
