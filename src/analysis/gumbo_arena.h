#pragma once
// Memory for one parse tree. The parser makes many small allocations and the
// tree is dropped as a whole, so a bump allocator that frees everything at
// once is faster than the heap and never walks the tree recursively to free
// it (a very deep document cannot exhaust the stack on release).
//
// Thread-safety: one arena serves one parse on one thread at a time.
#include <cstddef>
#include <memory>
#include <vector>

namespace lexicrawl {

class GumboArena {
public:
    GumboArena() = default;
    GumboArena(const GumboArena&) = delete;
    GumboArena& operator=(const GumboArena&) = delete;

    void* Allocate(std::size_t size);

    // Callbacks in the shape the parser's options take.
    static void* AllocateCallback(void* arena, std::size_t size);
    static void DeallocateCallback(void* arena, void* pointer);

private:
    static constexpr std::size_t kBlockSize = 256 * 1024;

    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::byte* cursor_ = nullptr;
    std::size_t left_ = 0;
};

}  // namespace lexicrawl
