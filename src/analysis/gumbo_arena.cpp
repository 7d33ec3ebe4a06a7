#include "analysis/gumbo_arena.h"

#include <exception>
#include <new>

namespace lexicrawl {

void* GumboArena::Allocate(std::size_t size)
{
    size = (size + 15) & ~std::size_t(15);
    if (size > kBlockSize / 4) {
        // Large buffers (long text runs) get a block of their own so that the
        // current block keeps serving the small ones.
        blocks_.emplace_back(new std::byte[size]);
        return blocks_.back().get();
    }
    if (size > left_) {
        blocks_.emplace_back(new std::byte[kBlockSize]);
        cursor_ = blocks_.back().get();
        left_ = kBlockSize;
    }
    void* p = cursor_;
    cursor_ += size;
    left_ -= size;
    return p;
}

void* GumboArena::AllocateCallback(void* arena, std::size_t size)
{
    // The parser is C and cannot unwind an exception; running out of memory
    // here ends the program as the heap's own failure would.
    try {
        return static_cast<GumboArena*>(arena)->Allocate(size);
    } catch (const std::bad_alloc&) {
        std::terminate();
    }
}

void GumboArena::DeallocateCallback(void*, void*)
{
    // Freed with the arena.
}

}  // namespace lexicrawl
