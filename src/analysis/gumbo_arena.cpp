#include "analysis/gumbo_arena.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <new>

namespace lexicrawl {

namespace {

struct BlockPool {
    std::mutex mutex;
    std::vector<std::unique_ptr<std::byte[]>> blocks;
};

BlockPool& Pool()
{
    static BlockPool pool;
    return pool;
}

}  // namespace

GumboArena::~GumboArena()
{
    BlockPool& pool = Pool();
    std::lock_guard lock(pool.mutex);
    for (auto& block : blocks_) {
        if (pool.blocks.size() >= kPooledBlocks)
            break;
        pool.blocks.push_back(std::move(block));
    }
}

std::unique_ptr<std::byte[]> GumboArena::TakeBlock()
{
    {
        BlockPool& pool = Pool();
        std::lock_guard lock(pool.mutex);
        if (!pool.blocks.empty()) {
            auto block = std::move(pool.blocks.back());
            pool.blocks.pop_back();
            return block;
        }
    }
    return std::unique_ptr<std::byte[]>(new std::byte[kBlockSize]);
}

void* GumboArena::Allocate(std::size_t size)
{
    size = (std::max<std::size_t>(size, 1) + 15) & ~std::size_t(15);  // never two at one address
    if (size > kLargeSize) {
        std::unique_ptr<std::byte[]> block(new std::byte[size]);
        void* p = block.get();
        large_.emplace(p, std::move(block));
        return p;
    }
    if (size > left_) {
        blocks_.push_back(TakeBlock());
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

void GumboArena::Release(void* pointer)
{
    if (!large_.empty())
        large_.erase(pointer);
}

void GumboArena::DeallocateCallback(void* arena, void* pointer)
{
    static_cast<GumboArena*>(arena)->Release(pointer);
}

}  // namespace lexicrawl
