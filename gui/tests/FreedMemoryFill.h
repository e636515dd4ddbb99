// Makes reads of freed memory visible in tests that run without a memory
// checker: while a FreedMemoryFill is alive, every block the program frees
// is kept and filled with a chosen word, so code that still reads it sees
// that word instead of what was there.
#ifndef KWSDK_FREEDMEMORYFILL_H
#define KWSDK_FREEDMEMORYFILL_H

#include <cstdint>

namespace KwSDK {
namespace Testing {

class FreedMemoryFill {
public:
    explicit FreedMemoryFill(uintptr_t word);
    ~FreedMemoryFill();

    FreedMemoryFill(const FreedMemoryFill&) = delete;
    FreedMemoryFill& operator=(const FreedMemoryFill&) = delete;
};

} // namespace Testing
} // namespace KwSDK

#endif
