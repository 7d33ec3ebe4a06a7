#pragma once
// Memory for one parse tree. The parser makes many small allocations and the
// tree is dropped as a whole, so a bump allocator that frees everything at
// once is faster than the heap and never walks the tree recursively to free
// it (a very deep document cannot exhaust the stack on release).
//
// Its blocks go back to a process-wide pool when the arena ends (up to a
// cap), so that the next page is parsed into memory that is already mapped
// instead of memory the system must fault in and clear again.
//
// Thread-safety: one arena serves one parse on one thread at a time; the pool
// behind it is shared under a lock.
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

namespace lexicrawl {

class GumboArena {
public:
    GumboArena() = default;
    ~GumboArena();
    GumboArena(const GumboArena&) = delete;
    GumboArena& operator=(const GumboArena&) = delete;

    void* Allocate(std::size_t size);
    // Frees a large buffer at once (the parser grows its text buffers by
    // copying, and a long text would otherwise leave every smaller copy
    // behind); small ones go with the arena.
    void Release(void* pointer);

    // Callbacks in the shape the parser's options take.
    static void* AllocateCallback(void* arena, std::size_t size);
    static void DeallocateCallback(void* arena, void* pointer);

    static constexpr std::size_t kBlockSize = 256 * 1024;
    // Larger buffers (long texts) are allocated on their own, so that they
    // waste no block's remainder and can be freed when the parser drops them.
    static constexpr std::size_t kLargeSize = 8 * 1024;
    // Blocks kept for later parses: 32 MB, enough for a page of about 1.5 MB.
    static constexpr std::size_t kPooledBlocks = 128;

private:
    std::unique_ptr<std::byte[]> TakeBlock();

    std::vector<std::unique_ptr<std::byte[]>> blocks_;  // of kBlockSize each
    std::unordered_map<void*, std::unique_ptr<std::byte[]>> large_;
    std::byte* cursor_ = nullptr;
    std::size_t left_ = 0;
};

}  // namespace lexicrawl
