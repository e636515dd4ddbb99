// Reads a bzip2 stream that lies inside an open stream, decoding its blocks
// on worker threads and delivering them in order.
#ifndef KWSDK_KWPARALLELBZIP_H
#define KWSDK_KWPARALLELBZIP_H

#include "IKwIOStream.h"
#include "KwBlockScanner.h"
#include "KwSequentialBZip.h"

namespace KwSDK {

namespace Platform {
struct CriticalSection;
struct Semaphore;
struct Thread;
} // namespace Platform

// Every Read answers exactly what KwSequentialBZip (and so KwBZip on the same
// bytes) would answer. The calling thread cuts the stream into blocks
// (KwBlockScanner) and hands them to the workers; it serves a request from
// decoded blocks only when each block the request touches, and the one after
// the request's last block (or the stream's end and its combined CRC), has
// decoded and passed its CRC check, because reading sequentially would look
// that far. On any doubt the request, and all that follow, are served by
// sequential reading, which first skips the bytes already delivered.
class KwParallelBZip {
public:
    // Threads for Open: one per processor (sequential reading on a single
    // processor), or none (sequential reading only).
    static const int kAutomatic = -1;
    static const int kSequential = 0;
    // At most this many workers, whatever is asked for.
    static const int kMaxThreads = 64;

    KwParallelBZip();
    ~KwParallelBZip();

    // Starts on the length bytes at offset in the source, which must stay
    // open while this reads. threads: kAutomatic, kSequential or a number of
    // workers. 1 on success, 0 when not even sequential reading can start.
    int Open(IKwIOStream* source, unsigned int offset, unsigned int length, int threads);
    // As KwBZip::Read.
    int Read(void* buffer, int length);
    void Close();
    // 1 once reading is sequential (asked for, or after a doubt).
    int IsSequential() const;
    // Workers running (0 when reading is sequential).
    int GetThreadCount() const;

private:
    struct Slot;

    KwParallelBZip(const KwParallelBZip&) = delete;
    KwParallelBZip& operator=(const KwParallelBZip&) = delete;

    static void RunWorker(void* self);
    static int DecodeSlot(Slot* slot);
    void Work();
    int StartWorkers(int threads);
    void StopWorkers();
    void Queue();
    int WaitForHead();
    void ReleaseHead();
    int HeadVerified();
    int Serve(unsigned char* buffer, int length);
    int GoSequential();

    IKwIOStream* m_pSource;
    unsigned int m_nOffset;
    unsigned int m_nLength;
    KwBlockScanner m_scanner;
    KwSequentialBZip m_sequential;
    int m_nSequential;
    int m_nEnded;
    int m_nScanState;
    unsigned long long m_nDelivered;

    Slot* m_pSlots;
    int m_nSlots;
    int m_nHead;
    int m_nInUse;
    int m_nStopping;
    Platform::CriticalSection* m_pLock;
    Platform::Semaphore* m_pWork;
    Platform::Semaphore* m_pDone;
    Platform::Thread* m_threads[kMaxThreads];
    int m_nThreads;
};

} // namespace KwSDK

#endif
