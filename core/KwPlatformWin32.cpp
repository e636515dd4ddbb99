// Windows side of the platform seam: critical sections, the tick counter and
// code-page conversion through kernel32.
#include "KwPlatform.h"

#include <new>
#include <io.h>
#include <cstring>
#include <windows.h>

namespace KwSDK {
namespace Platform {

struct CriticalSection {
    CRITICAL_SECTION section;
};

// The high bit of the spin count makes Windows allocate the wait event now,
// so entering a contended lock later cannot fail for want of memory.
static const DWORD kSpinCount = 0x80000400;

CriticalSection* LockCreate()
{
    CriticalSection* lock = new (std::nothrow) CriticalSection;
    if (!lock)
        return nullptr;
    if (!InitializeCriticalSectionAndSpinCount(&lock->section, kSpinCount)) {
        delete lock;
        return nullptr;
    }
    return lock;
}

void LockDestroy(CriticalSection* lock)
{
    if (!lock)
        return;
    DeleteCriticalSection(&lock->section);
    delete lock;
}

void LockEnter(CriticalSection* lock)
{
    EnterCriticalSection(&lock->section);
}

int LockTryEnter(CriticalSection* lock)
{
    return TryEnterCriticalSection(&lock->section) ? 1 : 0;
}

void LockLeave(CriticalSection* lock)
{
    LeaveCriticalSection(&lock->section);
}

CriticalSection* LockLoad(CriticalSection* const* slot)
{
    // A compare-exchange that never changes anything is a fenced read.
    PVOID volatile* target = reinterpret_cast<PVOID volatile*>(const_cast<CriticalSection**>(slot));
    return static_cast<CriticalSection*>(InterlockedCompareExchangePointer(target, nullptr, nullptr));
}

CriticalSection* LockInstall(CriticalSection** slot, CriticalSection* fresh)
{
    PVOID volatile* target = reinterpret_cast<PVOID volatile*>(slot);
    PVOID previous = InterlockedCompareExchangePointer(target, fresh, nullptr);
    if (!previous)
        return fresh;
    LockDestroy(fresh);
    return static_cast<CriticalSection*>(previous);
}

unsigned int TickCount()
{
    return GetTickCount();
}

void SleepMilliseconds(unsigned int milliseconds)
{
    Sleep(milliseconds);
}

int AnsiToWide(const char* text, wchar_t* out, int outCount)
{
    if (!text || (out && outCount <= 0))
        return 0;
    return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, out, out ? outCount : 0);
}

int WideToAnsi(const wchar_t* text, char* out, int outCount)
{
    if (!text || (out && outCount <= 0))
        return 0;
    return WideCharToMultiByte(CP_ACP, 0, text, -1, out, out ? outCount : 0, nullptr, nullptr);
}

int IsTerminal(std::FILE* stream)
{
    return stream != nullptr && _isatty(_fileno(stream)) ? 1 : 0;
}

int AnsiCodePage()
{
    return static_cast<int>(GetACP());
}

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesCall)(DWORD flags);
typedef BOOL(WINAPI* SetDllDirectoryCall)(LPCSTR path);

const DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

// Copies the address into a pointer of the function's true type: the
// address is the function's own, only the lookup's return type is generic.
template <class Call>
Call FindKernelCall(const char* name)
{
    Call call = nullptr;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, name) : nullptr;
    static_assert(sizeof call == sizeof found, "function pointers differ in size");
    if (found != nullptr)
        memcpy(&call, &found, sizeof call);
    return call;
}

} // namespace

void RestrictLibrarySearch()
{
    SetDefaultDllDirectoriesCall setDefault =
        FindKernelCall<SetDefaultDllDirectoriesCall>("SetDefaultDllDirectories");
    if (setDefault != nullptr)
        setDefault(kSearchSystem32);
    // Without the call above (older systems), at least the current folder
    // leaves the search.
    SetDllDirectoryCall setDirectory = FindKernelCall<SetDllDirectoryCall>("SetDllDirectoryA");
    if (setDirectory != nullptr)
        setDirectory("");
}

} // namespace Platform
} // namespace KwSDK
