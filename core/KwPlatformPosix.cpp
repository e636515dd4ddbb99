// Host side of the platform seam: recursive pthread mutexes, the monotonic
// clock and conversion through the current C locale.
#include "KwPlatform.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <strings.h>
#include <new>
#include <unistd.h>
#include <pthread.h>
#include <time.h>

namespace KwSDK {
namespace Platform {

struct CriticalSection {
    pthread_mutex_t mutex;
};

// A Windows critical section may be entered again by its owner, so the host
// lock is a recursive mutex; there is no spin count to set.
CriticalSection* LockCreate()
{
    CriticalSection* lock = new (std::nothrow) CriticalSection;
    if (!lock)
        return nullptr;
    pthread_mutexattr_t attributes;
    bool made = pthread_mutexattr_init(&attributes) == 0;
    if (made) {
        made = pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE) == 0
            && pthread_mutex_init(&lock->mutex, &attributes) == 0;
        pthread_mutexattr_destroy(&attributes);
    }
    if (!made) {
        delete lock;
        return nullptr;
    }
    return lock;
}

void LockDestroy(CriticalSection* lock)
{
    if (!lock)
        return;
    pthread_mutex_destroy(&lock->mutex);
    delete lock;
}

void LockEnter(CriticalSection* lock)
{
    pthread_mutex_lock(&lock->mutex);
}

int LockTryEnter(CriticalSection* lock)
{
    return pthread_mutex_trylock(&lock->mutex) == 0 ? 1 : 0;
}

void LockLeave(CriticalSection* lock)
{
    pthread_mutex_unlock(&lock->mutex);
}

CriticalSection* LockLoad(CriticalSection* const* slot)
{
    return __atomic_load_n(slot, __ATOMIC_ACQUIRE);
}

CriticalSection* LockInstall(CriticalSection** slot, CriticalSection* fresh)
{
    CriticalSection* expected = nullptr;
    if (__atomic_compare_exchange_n(slot, &expected, fresh, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE))
        return fresh;
    LockDestroy(fresh);
    return expected;
}

unsigned int TickCount()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    unsigned long long milliseconds = static_cast<unsigned long long>(now.tv_sec) * 1000u
        + static_cast<unsigned long long>(now.tv_nsec) / 1000000u;
    // Keep only the low 32 bits, so the counter wraps like the Windows one.
    return static_cast<unsigned int>(milliseconds);
}

void SleepMilliseconds(unsigned int milliseconds)
{
    timespec remaining;
    remaining.tv_sec = milliseconds / 1000u;
    remaining.tv_nsec = static_cast<long>(milliseconds % 1000u) * 1000000L;
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

// Answers the converted size plus the terminator, or 0 when it does not fit
// an int or the conversion failed.
static int CountWithTerminator(size_t converted)
{
    if (converted == static_cast<size_t>(-1) || converted >= static_cast<size_t>(INT_MAX))
        return 0;
    return static_cast<int>(converted) + 1;
}

int AnsiToWide(const char* text, wchar_t* out, int outCount)
{
    if (!text || (out && outCount <= 0))
        return 0;
    mbstate_t state;
    memset(&state, 0, sizeof state);
    const char* source = text;
    int needed = CountWithTerminator(mbsrtowcs(nullptr, &source, 0, &state));
    if (!out || needed == 0)
        return needed;
    if (needed > outCount)
        return 0;
    memset(&state, 0, sizeof state);
    source = text;
    mbsrtowcs(out, &source, static_cast<size_t>(needed), &state);
    return needed;
}

int WideToAnsi(const wchar_t* text, char* out, int outCount)
{
    if (!text || (out && outCount <= 0))
        return 0;
    mbstate_t state;
    memset(&state, 0, sizeof state);
    const wchar_t* source = text;
    int needed = CountWithTerminator(wcsrtombs(nullptr, &source, 0, &state));
    if (!out || needed == 0)
        return needed;
    if (needed > outCount)
        return 0;
    memset(&state, 0, sizeof state);
    source = text;
    wcsrtombs(out, &source, static_cast<size_t>(needed), &state);
    return needed;
}

int IsTerminal(std::FILE* stream)
{
    return stream != nullptr && isatty(fileno(stream)) ? 1 : 0;
}

// The character sets whose file names use one of the double-byte code
// pages, as the C library names them.
int AnsiCodePage()
{
    struct CHARSET {
        const char* name;
        int codePage;
    };
    static const CHARSET kCharsets[] = {
        {"GBK", 936},  {"GB2312", 936}, {"GB18030", 936}, {"BIG5", 950}, {"BIG5-HKSCS", 950},
        {"EUC-KR", 949}, {"CP949", 949}, {"SHIFT_JIS", 932}, {"CP932", 932},
    };
    const char* charset = nl_langinfo(CODESET);
    for (const CHARSET& entry : kCharsets) {
        if (charset != nullptr && strcasecmp(charset, entry.name) == 0)
            return entry.codePage;
    }
    return 0;
}

void RestrictLibrarySearch()
{
}

} // namespace Platform
} // namespace KwSDK
