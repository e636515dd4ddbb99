// Windows side of the thread seam: system threads and semaphores.
#include "KwPlatformThread.h"

#include <windows.h>

#include <new>

namespace KwSDK {
namespace Platform {

struct Thread {
    HANDLE handle;
    ThreadFunction function;
    void* argument;
};

static DWORD WINAPI RunThread(LPVOID context)
{
    Thread* thread = static_cast<Thread*>(context);
    thread->function(thread->argument);
    return 0;
}

Thread* ThreadStart(ThreadFunction function, void* argument)
{
    Thread* thread = new (std::nothrow) Thread;
    if (!thread)
        return nullptr;
    thread->function = function;
    thread->argument = argument;
    thread->handle = CreateThread(nullptr, 0, RunThread, thread, 0, nullptr);
    if (!thread->handle) {
        delete thread;
        return nullptr;
    }
    return thread;
}

void ThreadJoin(Thread* thread)
{
    if (!thread)
        return;
    WaitForSingleObject(thread->handle, INFINITE);
    CloseHandle(thread->handle);
    delete thread;
}

// The semaphore is the system handle itself.
Semaphore* SemaphoreCreate()
{
    return reinterpret_cast<Semaphore*>(CreateSemaphoreA(nullptr, 0, 0x7FFFFFFF, nullptr));
}

void SemaphoreDestroy(Semaphore* semaphore)
{
    if (semaphore)
        CloseHandle(reinterpret_cast<HANDLE>(semaphore));
}

void SemaphoreRelease(Semaphore* semaphore, int count)
{
    ReleaseSemaphore(reinterpret_cast<HANDLE>(semaphore), count, nullptr);
}

void SemaphoreWait(Semaphore* semaphore)
{
    WaitForSingleObject(reinterpret_cast<HANDLE>(semaphore), INFINITE);
}

int ProcessorCount()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

} // namespace Platform
} // namespace KwSDK
