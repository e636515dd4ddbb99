// The program's allocation operators, with the freed-memory fill of
// FreedMemoryFill.h. The kept blocks are never given back: a test arms the
// fill only around the few releases it looks at.
#include "FreedMemoryFill.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

uintptr_t g_fill = 0;

void Release(void* block, size_t size)
{
    if (block == nullptr) {
        return;
    }
    if (g_fill == 0) {
        free(block);
        return;
    }
    uintptr_t* words = static_cast<uintptr_t*>(block);
    for (size_t i = 0; i < size / sizeof(uintptr_t); ++i) {
        words[i] = g_fill;
    }
}

void* Allocate(size_t size)
{
    return malloc(size != 0 ? size : 1);
}

} // namespace

namespace KwSDK {
namespace Testing {

FreedMemoryFill::FreedMemoryFill(uintptr_t word)
{
    g_fill = word;
}

FreedMemoryFill::~FreedMemoryFill()
{
    g_fill = 0;
}

} // namespace Testing
} // namespace KwSDK

void* operator new(size_t size)
{
    void* block = Allocate(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    Release(block, block != nullptr ? _msize(block) : 0);
}

void operator delete[](void* block) noexcept
{
    Release(block, block != nullptr ? _msize(block) : 0);
}

void operator delete(void* block, size_t) noexcept
{
    Release(block, block != nullptr ? _msize(block) : 0);
}

void operator delete[](void* block, size_t) noexcept
{
    Release(block, block != nullptr ? _msize(block) : 0);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    Release(block, block != nullptr ? _msize(block) : 0);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    Release(block, block != nullptr ? _msize(block) : 0);
}
