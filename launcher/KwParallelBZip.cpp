// Parallel block decoding with in-order delivery and a sequential fall-back.
#include "KwParallelBZip.h"

#include "KwPlatform.h"
#include "KwPlatformThread.h"

#include <bzlib.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace KwSDK {

// A block's decoded bytes are held in a buffer that starts at kFirstOutput
// and grows to at most kMaxOutput. A level 9 block holds up to 900,000 bytes
// before its runs of 4 to 259 equal bytes are expanded, so it can decode to
// about 46 MB; the part beyond kMaxOutput is decoded by the reading thread
// as it is consumed.
static const unsigned int kFirstOutput = 1024 * 1024;
static const unsigned int kMaxOutput = 4 * 1024 * 1024;
// Slots besides one per worker: the one being delivered and one queued.
static const int kExtraSlots = 2;
// Serve's answer when it cannot vouch for the request.
static const int kDoubt = -2;

// States of a slot.
static const int kFree = 0;
static const int kQueued = 1;
static const int kDecoding = 2;
static const int kDone = 3;
static const int kFailed = 4;

// libbzip2's block array for one block (4 bytes per byte of the block),
// kept for the slot's next block: a fresh one is megabytes of new pages for
// every block. Its other, small allocations come from the heap.
struct BlockMemory {
    void* block;
    size_t size;
    int used;
};

static const size_t kKeptAllocation = 256 * 1024;

static void* TakeMemory(void* opaque, int items, int size)
{
    BlockMemory* memory = static_cast<BlockMemory*>(opaque);
    size_t bytes = static_cast<size_t>(items) * static_cast<size_t>(size);
    if (bytes < kKeptAllocation || memory->used)
        return malloc(bytes);
    if (memory->size < bytes) {
        free(memory->block);
        memory->block = malloc(bytes);
        memory->size = memory->block ? bytes : 0;
    }
    memory->used = memory->block ? 1 : 0;
    return memory->block;
}

static void GiveMemory(void* opaque, void* block)
{
    BlockMemory* memory = static_cast<BlockMemory*>(opaque);
    if (block && block == memory->block)
        memory->used = 0;
    else
        free(block);
}

struct KwParallelBZip::Slot {
    int state;
    BlockMemory memory;
    KwBlockScanner::Piece piece;
    unsigned char* out;
    unsigned int outSize;
    unsigned int outCapacity;
    unsigned int outRead;
    // Open while the block has more output than the buffer held.
    bz_stream* stream;
    int more;
};

static void EndStream(bz_stream** stream)
{
    if (*stream) {
        BZ2_bzDecompressEnd(*stream);
        delete *stream;
        *stream = nullptr;
    }
}

static int GrowOutput(unsigned char** out, unsigned int* capacity)
{
    unsigned int size = *capacity ? *capacity * 2 : kFirstOutput;
    unsigned char* grown = static_cast<unsigned char*>(realloc(*out, size));
    if (!grown)
        return 0;
    *out = grown;
    *capacity = size;
    return 1;
}

// Decodes the slot's piece into its buffer from the start, or goes on where
// the last call stopped. 1 when the buffer holds the next bytes (more tells
// whether the block has still more), 0 when the piece does not decode to
// one sound block with the CRC it carries.
static int DecodeSome(bz_stream** streamSlot, BlockMemory* memory,
                      const KwBlockScanner::Piece& piece, unsigned char** out,
                      unsigned int* outSize, unsigned int* outCapacity, int* more)
{
    if (!*streamSlot) {
        bz_stream* stream = new (std::nothrow) bz_stream();
        if (!stream)
            return 0;
        stream->bzalloc = TakeMemory;
        stream->bzfree = GiveMemory;
        stream->opaque = memory;
        if (BZ2_bzDecompressInit(stream, 0, 0) != BZ_OK) {
            delete stream;
            return 0;
        }
        stream->next_in = reinterpret_cast<char*>(piece.data);
        stream->avail_in = piece.size;
        *streamSlot = stream;
    }
    bz_stream* stream = *streamSlot;
    *outSize = 0;
    *more = 0;
    for (;;) {
        if (*outSize == *outCapacity) {
            if (*outCapacity >= kMaxOutput) {
                *more = 1;
                return 1;
            }
            if (!GrowOutput(out, outCapacity))
                break;
        }
        stream->next_out = reinterpret_cast<char*>(*out + *outSize);
        stream->avail_out = *outCapacity - *outSize;
        int code = BZ2_bzDecompress(stream);
        *outSize = *outCapacity - stream->avail_out;
        if (code == BZ_STREAM_END) {
            EndStream(streamSlot);
            return 1;
        }
        if (code != BZ_OK || (stream->avail_in == 0 && stream->avail_out > 0))
            break;
    }
    EndStream(streamSlot);
    return 0;
}

KwParallelBZip::KwParallelBZip()
    : m_pSource(nullptr), m_nOffset(0), m_nLength(0), m_nSequential(1), m_nEnded(0),
      m_nScanState(KwBlockScanner::kDoubt), m_nDelivered(0), m_pSlots(nullptr), m_nSlots(0),
      m_nHead(0), m_nInUse(0), m_nStopping(0), m_pLock(nullptr), m_pWork(nullptr),
      m_pDone(nullptr), m_nThreads(0)
{
}

KwParallelBZip::~KwParallelBZip()
{
    Close();
}

int KwParallelBZip::IsSequential() const
{
    return m_nSequential;
}

int KwParallelBZip::GetThreadCount() const
{
    return m_nThreads;
}

int KwParallelBZip::Open(IKwIOStream* source, unsigned int offset, unsigned int length, int threads)
{
    Close();
    m_pSource = source;
    m_nOffset = offset;
    m_nLength = length;
    m_nDelivered = 0;
    m_nEnded = 0;
    if (threads == kAutomatic) {
        int processors = Platform::ProcessorCount();
        threads = processors > 1 ? processors : kSequential;
    }
    if (threads > kMaxThreads)
        threads = kMaxThreads;
    if (!source || offset > 0x7FFFFFFFu || threads <= 0 ||
        !source->Seek(static_cast<int>(offset), KW_SEEK_SET) || !StartWorkers(threads))
        return GoSequential();
    m_scanner.Begin(source, length);
    m_nScanState = KwBlockScanner::kBlock;
    m_nSequential = 0;
    return 1;
}

void KwParallelBZip::Close()
{
    StopWorkers();
    m_sequential.Close();
    m_nSequential = 1;
}

void KwParallelBZip::RunWorker(void* self)
{
    static_cast<KwParallelBZip*>(self)->Work();
}

int KwParallelBZip::StartWorkers(int threads)
{
    m_nSlots = threads + kExtraSlots;
    m_pSlots = static_cast<Slot*>(calloc(static_cast<size_t>(m_nSlots), sizeof(Slot)));
    m_pLock = Platform::LockCreate();
    m_pWork = Platform::SemaphoreCreate();
    m_pDone = Platform::SemaphoreCreate();
    m_nHead = 0;
    m_nInUse = 0;
    m_nStopping = 0;
    m_nThreads = 0;
    if (m_pSlots && m_pLock && m_pWork && m_pDone) {
        while (m_nThreads < threads) {
            Platform::Thread* thread = Platform::ThreadStart(RunWorker, this);
            if (!thread)
                break;
            m_threads[m_nThreads++] = thread;
        }
    }
    if (m_nThreads > 0)
        return 1;
    StopWorkers();
    return 0;
}

// Ends the workers (each finishes the block it is decoding) and frees the
// slots; harmless when none were started.
void KwParallelBZip::StopWorkers()
{
    if (m_nThreads > 0) {
        Platform::LockEnter(m_pLock);
        m_nStopping = 1;
        Platform::LockLeave(m_pLock);
        Platform::SemaphoreRelease(m_pWork, m_nThreads);
        for (int i = 0; i < m_nThreads; ++i)
            Platform::ThreadJoin(m_threads[i]);
        m_nThreads = 0;
    }
    for (int i = 0; m_pSlots && i < m_nSlots; ++i) {
        KwBlockScanner::FreePiece(&m_pSlots[i].piece);
        free(m_pSlots[i].out);
        EndStream(&m_pSlots[i].stream);
        free(m_pSlots[i].memory.block);
    }
    free(m_pSlots);
    m_pSlots = nullptr;
    m_nSlots = 0;
    m_nInUse = 0;
    Platform::SemaphoreDestroy(m_pWork);
    Platform::SemaphoreDestroy(m_pDone);
    Platform::LockDestroy(m_pLock);
    m_pWork = nullptr;
    m_pDone = nullptr;
    m_pLock = nullptr;
}

int KwParallelBZip::DecodeSlot(Slot* slot)
{
    slot->outRead = 0;
    return DecodeSome(&slot->stream, &slot->memory, slot->piece, &slot->out, &slot->outSize,
                      &slot->outCapacity, &slot->more);
}

// A worker takes the earliest queued block, decodes it and says so.
void KwParallelBZip::Work()
{
    for (;;) {
        Platform::SemaphoreWait(m_pWork);
        Platform::LockEnter(m_pLock);
        if (m_nStopping) {
            Platform::LockLeave(m_pLock);
            return;
        }
        Slot* job = nullptr;
        for (int i = 0; i < m_nInUse && !job; ++i) {
            Slot* slot = &m_pSlots[(m_nHead + i) % m_nSlots];
            if (slot->state == kQueued)
                job = slot;
        }
        if (job)
            job->state = kDecoding;
        Platform::LockLeave(m_pLock);
        if (!job)
            continue;
        int ok = DecodeSlot(job);
        Platform::LockEnter(m_pLock);
        job->state = ok ? kDone : kFailed;
        Platform::LockLeave(m_pLock);
        Platform::SemaphoreRelease(m_pDone, 1);
    }
}

// Cuts blocks into every free slot, while the scanner has blocks.
void KwParallelBZip::Queue()
{
    while (m_nScanState == KwBlockScanner::kBlock && m_nInUse < m_nSlots) {
        Slot* slot = &m_pSlots[(m_nHead + m_nInUse) % m_nSlots];
        int answer = m_scanner.Next(&slot->piece);
        if (answer != KwBlockScanner::kBlock) {
            m_nScanState = answer;
            return;
        }
        Platform::LockEnter(m_pLock);
        slot->state = kQueued;
        ++m_nInUse;
        Platform::LockLeave(m_pLock);
        Platform::SemaphoreRelease(m_pWork, 1);
    }
}

// 1 when the block at the head has decoded soundly, 0 when it has failed.
int KwParallelBZip::WaitForHead()
{
    for (;;) {
        Platform::LockEnter(m_pLock);
        int state = m_pSlots[m_nHead].state;
        Platform::LockLeave(m_pLock);
        if (state == kDone)
            return 1;
        if (state == kFailed)
            return 0;
        Platform::SemaphoreWait(m_pDone);
    }
}

void KwParallelBZip::ReleaseHead()
{
    Slot* slot = &m_pSlots[m_nHead];
    EndStream(&slot->stream);
    slot->outSize = 0;
    slot->outRead = 0;
    slot->more = 0;
    Platform::LockEnter(m_pLock);
    slot->state = kFree;
    m_nHead = (m_nHead + 1) % m_nSlots;
    --m_nInUse;
    Platform::LockLeave(m_pLock);
}

// After a request: when it ended exactly at the end of a block, reading
// sequentially would already have decoded the next block or read the end
// of the stream, and failed there if it is damaged. 1 when that is sound.
int KwParallelBZip::HeadVerified()
{
    for (;;) {
        if (m_nInUse == 0) {
            Queue();
            if (m_nInUse == 0)
                return m_nScanState == KwBlockScanner::kEnd;
        }
        if (!WaitForHead())
            return 0;
        Slot* slot = &m_pSlots[m_nHead];
        if (slot->outRead < slot->outSize || slot->more)
            return 1;
        ReleaseHead();
    }
}

// Fills the request from decoded blocks; answers the count, or kDoubt.
int KwParallelBZip::Serve(unsigned char* buffer, int length)
{
    int got = 0;
    while (got < length) {
        Queue();
        if (m_nInUse == 0) {
            if (m_nScanState != KwBlockScanner::kEnd)
                return kDoubt;
            m_nEnded = 1;
            return got;
        }
        if (!WaitForHead())
            return kDoubt;
        Slot* slot = &m_pSlots[m_nHead];
        if (slot->outRead == slot->outSize) {
            if (!slot->more)
                ReleaseHead();
            else if (!DecodeSlot(slot))
                return kDoubt;
            continue;
        }
        unsigned int rest = slot->outSize - slot->outRead;
        unsigned int want = static_cast<unsigned int>(length - got);
        unsigned int piece = rest < want ? rest : want;
        memcpy(buffer + got, slot->out + slot->outRead, piece);
        slot->outRead += piece;
        got += static_cast<int>(piece);
    }
    return HeadVerified() ? got : kDoubt;
}

// Leaves parallel reading for good: the workers end and sequential reading
// starts over, skipping what has been delivered.
int KwParallelBZip::GoSequential()
{
    StopWorkers();
    m_nSequential = 1;
    m_nScanState = KwBlockScanner::kDoubt;
    if (!m_sequential.Open(m_pSource, m_nOffset, m_nLength))
        return 0;
    return m_sequential.Skip(m_nDelivered);
}

int KwParallelBZip::Read(void* buffer, int length)
{
    if (m_nSequential)
        return m_sequential.Read(buffer, length);
    if (!buffer || length < 0)
        return -1;
    if (m_nEnded || length == 0)
        return 0;
    int got = Serve(static_cast<unsigned char*>(buffer), length);
    if (got != kDoubt) {
        m_nDelivered += static_cast<unsigned int>(got);
        return got;
    }
    GoSequential();
    return m_sequential.Read(buffer, length);
}

} // namespace KwSDK
