// The file-system seam: the file, folder, drive and version calls whose
// implementation differs between Windows and the host.
#ifndef KWSDK_KWPLATFORMFILE_H
#define KWSDK_KWPLATFORMFILE_H

#include "KwString.h"

#include <cstdio>

namespace KwSDK {
namespace Platform {

// Paths are bytes in the ANSI code page with backslashes as separators. On the
// host every backslash becomes '/' at the system-call boundary.

// The path as the system's own calls want it: on the host each backslash
// becomes '/', on Windows the path is unchanged.
KwString NativePath(const char* path);

// What a status query tells about a path.
struct FileStatus {
    int isFolder;                    // 1 for a folder
    int canExecute;                  // the owner's execute permission bit
    unsigned long long size;         // bytes
    unsigned long long modifiedTime; // 100 ns intervals since 1601-01-01 UTC
    unsigned int mode;               // the permission bits as the system keeps them
};

// 1 when the path exists and allows the access: 0 exists, 2 write, 4 read.
// A file whose write permission is cleared is not writable on any platform.
int FileAccess(const char* path, int mode);

// 1 and the status filled in, 0 when the query fails.
int FileStat(const char* path, FileStatus* status);

// Creates an empty file readable and writable by the user; fails (0) when the
// path exists.
int FileCreateNew(const char* path);

// Removes a file with the run-time remove. A file whose write permission is
// cleared is read-only and is not removed, on every platform.
int FileRemove(const char* path);

// Removes an empty folder.
int FolderRemove(const char* path);

// 1 when the path itself is a symbolic link or another reparse point (a
// junction): removing a tree must not follow it into what it points to.
int IsLink(const char* path);

// Removes the link itself, whether it points to a file or a folder.
int LinkRemove(const char* path);

// Creates one folder level.
int FolderMake(const char* path);

// Renames; fails when the new path exists, on every platform.
int FileRename(const char* from, const char* to);

// Writes the permission bits back (as FileStatus::mode reports them).
int FileSetMode(const char* path, unsigned int mode);

// Sets (1) or clears (0) the write permission.
int FileSetWritable(const char* path, int writable);

// Sets only the last-write time (100 ns intervals since 1601-01-01 UTC) of an
// existing file. Answers 0 on success, 1 when the file cannot be opened, 2
// when setting the time or closing fails.
int FileSetModifiedTime(const char* path, unsigned long long fileTime);

// The run-time fopen on the path.
FILE* FileOpen(const char* path, const char* mode);

// An open folder search; made by FolderSearchOpen only.
struct FolderSearch;

// Starts listing a folder and answers its first entry's name in *name (which
// may be "." or ".."); null when the folder cannot be listed or is empty.
FolderSearch* FolderSearchOpen(const char* folder, KwString* name);

// The next entry's name; 0 when there are no more.
int FolderSearchNext(FolderSearch* search, KwString* name);

void FolderSearchClose(FolderSearch* search);

// The long form of a path (260 bytes at most on Windows); the path itself when
// it has no other form or cannot be expanded.
KwString LongPathName(const char* path);

// The full path of the running program with backslashes; empty on failure.
KwString ModulePath();

// The roots of the logical drives, each zero-terminated, the list ended by an
// empty text, written into at most size bytes. Answers the bytes used without
// the final zero, 0 on failure.
int LogicalDriveStrings(char* buffer, int size);

// The system's drive-type value of a root (3 for a fixed disk).
unsigned int DriveType(const char* root);

// Total bytes and bytes free to the caller on the drive of a root; 0 on failure.
int DiskSpace(const char* root, unsigned long long* total, unsigned long long* available);

// The version record: platform id, major, minor and product type. 0 when the
// system has no Windows version to report.
int VersionRecord(unsigned int* platform, unsigned int* major, unsigned int* minor,
                  unsigned int* productType);

} // namespace Platform
} // namespace KwSDK

#endif
