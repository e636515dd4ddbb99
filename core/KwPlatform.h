// The platform seam: the few plain functions whose implementation differs
// between Windows and the host, one source file per platform.
#ifndef KWSDK_KWPLATFORM_H
#define KWSDK_KWPLATFORM_H

#include <cstdio>

namespace KwSDK {
namespace Platform {

// A re-entrant lock: the thread that holds it may enter it again, and must
// leave it as often as it entered. Opaque; made by LockCreate only.
struct CriticalSection;

// Makes a lock (Windows: spin count 0x80000400, event allocated in advance).
// Answers null when the system cannot make one.
CriticalSection* LockCreate();

// Destroys a lock made by LockCreate; null is ignored.
void LockDestroy(CriticalSection* lock);

// Waits without limit until the calling thread holds the lock.
void LockEnter(CriticalSection* lock);

// One attempt to enter: 1 when the calling thread now holds the lock, 0 when
// another thread holds it.
int LockTryEnter(CriticalSection* lock);

// Leaves a lock held by the calling thread.
void LockLeave(CriticalSection* lock);

// Reads a lock slot that other threads may fill at the same time.
CriticalSection* LockLoad(CriticalSection* const* slot);

// Puts a fresh lock into an empty slot in one atomic step. When another
// thread filled the slot first, the fresh lock is destroyed. Answers the lock
// that is in the slot afterwards.
CriticalSection* LockInstall(CriticalSection** slot, CriticalSection* fresh);

// Milliseconds since an arbitrary start; wraps around after about 49 days, so
// callers measure intervals by unsigned subtraction.
unsigned int TickCount();

// Suspends the calling thread for the given number of milliseconds.
void SleepMilliseconds(unsigned int milliseconds);

// Converts zero-terminated text in the ANSI code page (on the host: the
// current C locale's character set) to wide text (UTF-16 on Windows).
// With a null out, answers the number of wide characters the text needs,
// terminator included. Otherwise writes at most outCount characters and
// answers the number written, terminator included. Answers 0 when the text
// cannot be converted or does not fit.
int AnsiToWide(const char* text, wchar_t* out, int outCount);

// The reverse of AnsiToWide: wide text to ANSI bytes, counted in bytes with
// the terminator included; 0 on failure.
int WideToAnsi(const wchar_t* text, char* out, int outCount);

// 1 when the stream writes to a terminal (a console on Windows), 0 for a
// file, a pipe or null.
int IsTerminal(std::FILE* stream);

// The code page the system reads file names in: the ANSI code page on
// Windows; on the host the double-byte code page matching the locale's
// character set (936 for GBK), or 0 when it is not a double-byte one.
int AnsiCodePage();

// Keeps libraries that the program or the system's libraries load later
// from being found in the program's folder (usually Downloads, where a
// planted copy could sit) or the current folder: only the system folder is
// searched where the system can be told so. Resolved at run time, so a
// system without these calls still starts. Nothing on the host.
void RestrictLibrarySearch();

} // namespace Platform
} // namespace KwSDK

#endif
