// Host side of the thread seam: POSIX threads, and semaphores made of a mutex,
// a condition variable and a count (unnamed POSIX semaphores are not
// available everywhere).
#include "KwPlatformThread.h"

#include <new>
#include <pthread.h>
#include <unistd.h>

namespace KwSDK {
namespace Platform {

struct Thread {
    pthread_t handle;
    ThreadFunction function;
    void* argument;
};

struct Semaphore {
    pthread_mutex_t mutex;
    pthread_cond_t condition;
    int count;
};

static void* RunThread(void* context)
{
    Thread* thread = static_cast<Thread*>(context);
    thread->function(thread->argument);
    return nullptr;
}

Thread* ThreadStart(ThreadFunction function, void* argument)
{
    Thread* thread = new (std::nothrow) Thread;
    if (!thread)
        return nullptr;
    thread->function = function;
    thread->argument = argument;
    if (pthread_create(&thread->handle, nullptr, RunThread, thread) != 0) {
        delete thread;
        return nullptr;
    }
    return thread;
}

void ThreadJoin(Thread* thread)
{
    if (!thread)
        return;
    pthread_join(thread->handle, nullptr);
    delete thread;
}

Semaphore* SemaphoreCreate()
{
    Semaphore* semaphore = new (std::nothrow) Semaphore;
    if (!semaphore)
        return nullptr;
    semaphore->count = 0;
    if (pthread_mutex_init(&semaphore->mutex, nullptr) != 0) {
        delete semaphore;
        return nullptr;
    }
    if (pthread_cond_init(&semaphore->condition, nullptr) != 0) {
        pthread_mutex_destroy(&semaphore->mutex);
        delete semaphore;
        return nullptr;
    }
    return semaphore;
}

void SemaphoreDestroy(Semaphore* semaphore)
{
    if (!semaphore)
        return;
    pthread_cond_destroy(&semaphore->condition);
    pthread_mutex_destroy(&semaphore->mutex);
    delete semaphore;
}

void SemaphoreRelease(Semaphore* semaphore, int count)
{
    pthread_mutex_lock(&semaphore->mutex);
    semaphore->count += count;
    pthread_mutex_unlock(&semaphore->mutex);
    if (count == 1)
        pthread_cond_signal(&semaphore->condition);
    else
        pthread_cond_broadcast(&semaphore->condition);
}

void SemaphoreWait(Semaphore* semaphore)
{
    pthread_mutex_lock(&semaphore->mutex);
    while (semaphore->count <= 0)
        pthread_cond_wait(&semaphore->condition, &semaphore->mutex);
    --semaphore->count;
    pthread_mutex_unlock(&semaphore->mutex);
}

int ProcessorCount()
{
    long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count < 1 ? 1 : count > 1024 ? 1024 : static_cast<int>(count);
}

} // namespace Platform
} // namespace KwSDK
