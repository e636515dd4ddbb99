// libFuzzer target for the block splitter and the hand-over to the workers:
// the input (after one option byte) is read as a bzip2 stream both in
// parallel and sequentially, with the same run of request sizes; any
// difference in an answer or a byte is a fault.
#include "KwBufferStream.h"
#include "KwParallelBZip.h"
#include "KwSequentialBZip.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace KwSDK;

// Bytes compared per input: a few bytes of bzip2 can expand to gigabytes.
static const unsigned long long kMaxOutput = 32ull * 1024 * 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4 * 1024 * 1024)
        return 0;
    // Option byte: the number of workers (1-3) and the request sizes.
    int threads = 1 + data[0] % 3;
    int sizes[3] = {1 + (data[0] >> 2) * 997, 10240, 1};
    KwBufferStream one;
    KwBufferStream two;
    int length = static_cast<int>(size - 1);
    if (!one.SetData(data + 1, length) || !two.SetData(data + 1, length))
        return 0;
    KwParallelBZip parallel;
    KwSequentialBZip sequential;
    int opened = parallel.Open(&one, 0, static_cast<unsigned int>(length), threads);
    if (opened != sequential.Open(&two, 0, static_cast<unsigned int>(length)))
        abort();
    if (!opened)
        return 0;
    std::vector<unsigned char> a(sizes[0] > 10240 ? sizes[0] : 10240);
    std::vector<unsigned char> b(a.size());
    unsigned long long total = 0;
    for (int i = 0; total < kMaxOutput; ++i) {
        int request = sizes[i % 3];
        int gotA = parallel.Read(a.data(), request);
        int gotB = sequential.Read(b.data(), request);
        if (gotA != gotB || (gotA > 0 && memcmp(a.data(), b.data(), static_cast<size_t>(gotA)) != 0))
            abort();
        if (gotA <= 0)
            break;
        total += static_cast<unsigned long long>(gotA);
    }
    return 0;
}
