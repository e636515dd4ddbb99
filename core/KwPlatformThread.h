// The platform seam for worker threads: starting and joining a thread,
// counting semaphores to hand work between threads, and the number of
// processors. One source file per platform.
#ifndef KWSDK_KWPLATFORMTHREAD_H
#define KWSDK_KWPLATFORMTHREAD_H

namespace KwSDK {
namespace Platform {

// A running thread; made by ThreadStart, ended by ThreadJoin only.
struct Thread;

// A counting semaphore; made by SemaphoreCreate only.
struct Semaphore;

// The function a thread runs, with the argument given to ThreadStart.
typedef void (*ThreadFunction)(void* argument);

// Starts a thread that calls function(argument). Answers null when the
// system cannot start one.
Thread* ThreadStart(ThreadFunction function, void* argument);

// Waits until the thread's function has returned, then releases the thread.
// Null is ignored.
void ThreadJoin(Thread* thread);

// A semaphore whose count starts at 0; null when the system cannot make one.
Semaphore* SemaphoreCreate();

// Destroys a semaphore that no thread waits on; null is ignored.
void SemaphoreDestroy(Semaphore* semaphore);

// Adds count (at least 1) to the semaphore, waking as many waiters.
void SemaphoreRelease(Semaphore* semaphore, int count);

// Waits without limit until the count is above 0, then takes 1 from it.
void SemaphoreWait(Semaphore* semaphore);

// Processors of the machine (on the host: those online); at least 1.
int ProcessorCount();

} // namespace Platform
} // namespace KwSDK

#endif
