// Carton.exe: unpacks the package appended to this program into a fresh
// folder under the temporary folder, runs the program the package names,
// waits for it to end, removes the folder and exits. It has no window and
// reports nothing. Started without arguments it exits with 0 whatever
// happened; started with arguments it hands them on to the program it runs
// and exits with that program's exit code (1 when the program never ran), so
// that an unattended install can be scripted through it.
#include "KwFile.h"
#include "KwPackageExtractor.h"
#include "KwPlatform.h"
#include "KwString.h"
#include "KwTime.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

using namespace KwSDK;

// Size: this program is a stub that travels in front of every package, so
// it replaces three pieces of the C++ and MinGW run-time libraries that would
// otherwise more than double it.

// The toolkit allocates with the non-throwing new and checks for null. The
// library's operators carry the exception machinery; these are plain ones.
// A failed plain new ends the program, as it would without exceptions.
void* operator new(size_t size)
{
    void* block = malloc(size ? size : 1);
    if (!block)
        abort();
    return block;
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return malloc(size ? size : 1);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return malloc(size ? size : 1);
}

void operator delete(void* block) noexcept
{
    free(block);
}

void operator delete[](void* block) noexcept
{
    free(block);
}

void operator delete(void* block, size_t) noexcept
{
    free(block);
}

void operator delete[](void* block, size_t) noexcept
{
    free(block);
}

// MinGW routes printf-style calls to its own portable formatter (some 27 KB
// with its floating-point conversion). This program formats nothing itself;
// the string class and bzip2's diagnostics merely refer to the formatter, so
// those references go to the system C library's formatter instead, keeping
// the C99 rule that the answer is the length the whole text needs.
extern "C" int __cdecl __mingw_vsnprintf(char* buffer, size_t size, const char* format, va_list arguments)
{
    va_list measure;
    va_copy(measure, arguments);
    int needed = _vscprintf(format, measure);
    va_end(measure);
    if (size > 0) {
        int written = _vsnprintf(buffer, size, format, arguments);
        if (written < 0 || static_cast<size_t>(written) >= size)
            buffer[size - 1] = '\0';
    }
    return needed;
}

extern "C" int __cdecl __mingw_vfprintf(FILE* stream, const char* format, va_list arguments)
{
    return __ms_vfprintf(stream, format, arguments);
}

namespace {

// Attempts at a fresh extraction folder: the plain time stamp, then the
// stamp with "_1" to "_99" when launchers started in the same second.
const int kMaxFolderSuffix = 99;

// The full path of this program; 0 when the system's answer was cut short.
int GetOwnPath(KwString* path)
{
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    return path->Assign(buffer, static_cast<int>(length));
}

// The temporary folder with its trailing backslash.
int GetTemporaryFolder(KwString* path)
{
    char buffer[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    return path->Assign(buffer, static_cast<int>(length));
}

// The current local time as 14 digits, "YYYYMMDDhhmmss".
int MakeTimeStamp(KwString* stamp)
{
    KwTime* now = KwTime::Now();
    if (!now)
        return 0;
    *stamp = now->ToStampString();
    now->Release();
    return stamp->GetLength() > 0;
}

// "_1" to "_99".
KwString SuffixText(int suffix)
{
    char text[4] = { '_', 0, 0, 0 };
    if (suffix >= 10) {
        text[1] = static_cast<char>('0' + suffix / 10);
        text[2] = static_cast<char>('0' + suffix % 10);
    } else {
        text[1] = static_cast<char>('0' + suffix);
    }
    return KwString(text);
}

// Picks the extraction folder and creates it. A folder that already exists
// belongs to another launcher started in the same second: extracting into it
// would mix two packages, and that launcher's removal would pull the files
// from under this one's program, so a sibling with a suffix is made instead.
// A failure for any other reason (no temporary folder, no permission) would
// recur for every name; the plain name is kept and the extraction then finds
// no folder to work in. Answers 0 when every name was taken.
int MakeExtractionFolder(const KwString& temporary, const KwString& stamp, KwString* folder)
{
    // The temporary path ends in a backslash already; the doubled one is
    // harmless to the file system.
    KwString base = temporary + "\\" + stamp;
    for (int suffix = 0; suffix <= kMaxFolderSuffix; ++suffix) {
        KwString candidate = base;
        if (suffix > 0)
            candidate = base + SuffixText(suffix);
        KwFile file(candidate);
        if (file.MakeFolder() || !file.Exists()) {
            *folder = candidate;
            return 1;
        }
    }
    return 0;
}

// Exit code of a run with arguments in which the program never ran.
const DWORD kNotRunExit = 1;

// The arguments of this program's command line: everything after its own
// name (quoted or not) and the blanks that follow it, byte for byte, so that
// quoted arguments reach the started program as they were given.
const char* OwnArguments()
{
    const char* line = GetCommandLineA();
    if (!line)
        return "";
    if (*line == '"') {
        ++line;
        while (*line && *line != '"')
            ++line;
        if (*line == '"')
            ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}

// Starts the program with its quoted path, followed by the arguments when
// there are any, as the command line, in this process's environment and
// current folder, and waits for it to end. The quotes keep a temporary path
// with spaces from being read as a shorter program path followed by
// arguments. Answers the program's exit code, kNotRunExit when it did not
// start.
DWORD RunAndWait(const KwString& program, const char* arguments)
{
    KwString quoted = KwString("\"") + program + "\"";
    if (*arguments)
        quoted = quoted + " " + arguments;
    // CreateProcessA may write into the command line, so it gets its own copy.
    char* commandLine = static_cast<char*>(malloc(static_cast<size_t>(quoted.GetLength()) + 1));
    if (!commandLine)
        return kNotRunExit;
    memcpy(commandLine, quoted.GetText(), static_cast<size_t>(quoted.GetLength()) + 1);
    // A zero-filled start-up record with its true size (68 bytes in the
    // 32-bit program): the default window state.
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    DWORD exitCode = kNotRunExit;
    if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        if (!GetExitCodeProcess(process.hProcess, &exitCode))
            exitCode = kNotRunExit;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    free(commandLine);
    return exitCode;
}

// The whole start-up flow. Answers the started program's exit code, or
// kNotRunExit when no program ran.
DWORD RunLauncher(const char* arguments)
{
    KwString ownPath;
    KwString temporary;
    KwString stamp;
    KwString folder;
    if (!GetOwnPath(&ownPath) || !GetTemporaryFolder(&temporary) || !MakeTimeStamp(&stamp)
        || !MakeExtractionFolder(temporary, stamp, &folder))
        return kNotRunExit;
    // The stream is read where it lies; the scratch name is only kept free.
    KwString scratch = folder + "\\" + stamp;

    KwPackageExtractor extractor;
    KwString program = extractor.Extract(ownPath, folder, scratch);
    // Nothing was extracted: the folder stays as it is and nothing runs.
    if (extractor.StoppedBeforeExtracting())
        return kNotRunExit;
    // Without a program name there is nothing to start; the tree still goes.
    DWORD exitCode = kNotRunExit;
    if (program.GetLength() > 0)
        exitCode = RunAndWait(folder + "\\" + program, arguments);

    KwFile tree(folder);
    tree.DeleteTree();
    return exitCode;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before anything can load a library: this program usually starts from
    // the Downloads folder, where a planted library would sit beside it.
    Platform::RestrictLibrarySearch();
    const char* arguments = OwnArguments();
    DWORD exitCode = RunLauncher(arguments);
    // Without arguments every way out ends with 0, as it always has.
    return *arguments ? static_cast<int>(exitCode) : 0;
}
