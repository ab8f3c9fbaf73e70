#include "node_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define VELLUM_NODE_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELLUM_NODE_POOL 0
#endif
#endif
#ifndef VELLUM_NODE_POOL
#define VELLUM_NODE_POOL 1
#endif

namespace {

constexpr std::size_t kBlockSize = std::size_t(2) << 20;
constexpr std::size_t kSizeClasses = kNodeSlotLargest / kNodeSlotAlignment;

// The head of every block, in its first cache line. Blocks are aligned to their size, so a
// slot's block is found by clearing the low bits of its address.
struct alignas(kNodeSlotAlignment) Block {
    // Neighbours in the list of its size's blocks that have a free slot (every block that is not
    // full is in it).
    Block* previous = nullptr;
    Block* next = nullptr;
    // Given-back slots, linked through their first bytes.
    void* freeSlots = nullptr;
    // Slots from here to `end` have never been handed out.
    char* untouched = nullptr;
    char* end = nullptr;
    std::size_t slotSize = 0;
    std::size_t live = 0;
};

struct SizeClass {
    Block* withFreeSlots = nullptr;
    std::size_t blocks = 0;
};

struct Pool {
    std::mutex lock;
    SizeClass classes[kSizeClasses];
};

// Never destroyed: nodes may be released while the program's other statics are torn down.
Pool& pool() {
    static Pool* instance = new Pool();
    return *instance;
}

std::size_t classIndex(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / kNodeSlotAlignment;
}

Block* blockOf(void* slot) {
    return reinterpret_cast<Block*>(reinterpret_cast<std::uintptr_t>(slot) & ~(kBlockSize - 1));
}

void link(SizeClass& sizeClass, Block* block) {
    block->previous = nullptr;
    block->next = sizeClass.withFreeSlots;
    if (block->next != nullptr) {
        block->next->previous = block;
    }
    sizeClass.withFreeSlots = block;
}

void unlink(SizeClass& sizeClass, Block* block) {
    if (block->previous != nullptr) {
        block->previous->next = block->next;
    } else {
        sizeClass.withFreeSlots = block->next;
    }
    if (block->next != nullptr) {
        block->next->previous = block->previous;
    }
    block->previous = nullptr;
    block->next = nullptr;
}

// Maps twice the block size and keeps the aligned block within it.
Block* mapBlock(std::size_t slotSize) {
    void* mapped =
        mmap(nullptr, 2 * kBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    char* start = static_cast<char*>(mapped);
    char* aligned = reinterpret_cast<char*>(
        (reinterpret_cast<std::uintptr_t>(start) + kBlockSize - 1) & ~(kBlockSize - 1));
    if (aligned != start) {
        munmap(start, static_cast<std::size_t>(aligned - start));
    }
    char* tail = aligned + kBlockSize;
    munmap(tail, static_cast<std::size_t>(start + 2 * kBlockSize - tail));
    // Only advice: without huge pages (switched off, or none free) the block still works, on
    // small pages.
    madvise(aligned, kBlockSize, MADV_HUGEPAGE);
    Block* block = new (aligned) Block();
    block->slotSize = slotSize;
    block->untouched = aligned + sizeof(Block);
    block->end = aligned + sizeof(Block) + (kBlockSize - sizeof(Block)) / slotSize * slotSize;
    return block;
}

bool full(const Block* block) {
    return block->freeSlots == nullptr && block->untouched == block->end;
}

} // namespace

void* allocateNodeMemory(std::size_t size) {
    if (!VELLUM_NODE_POOL || size > kNodeSlotLargest) {
        return ::operator new(size);
    }
    Pool& p = pool();
    std::lock_guard<std::mutex> guard(p.lock);
    const std::size_t index = classIndex(size);
    SizeClass& sizeClass = p.classes[index];
    Block* block = sizeClass.withFreeSlots;
    if (block == nullptr) {
        block = mapBlock((index + 1) * kNodeSlotAlignment);
        ++sizeClass.blocks;
        link(sizeClass, block);
    }
    void* slot = block->freeSlots;
    if (slot != nullptr) {
        block->freeSlots = *static_cast<void**>(slot);
    } else {
        slot = block->untouched;
        block->untouched += block->slotSize;
    }
    ++block->live;
    if (full(block)) {
        unlink(sizeClass, block);
    }
    return slot;
}

void releaseNodeMemory(void* memory, std::size_t size) {
    if (memory == nullptr) {
        return;
    }
    if (!VELLUM_NODE_POOL || size > kNodeSlotLargest) {
        ::operator delete(memory);
        return;
    }
    Pool& p = pool();
    std::lock_guard<std::mutex> guard(p.lock);
    SizeClass& sizeClass = p.classes[classIndex(size)];
    Block* block = blockOf(memory);
    const bool wasFull = full(block);
    *static_cast<void**>(memory) = block->freeSlots;
    block->freeSlots = memory;
    --block->live;
    if (wasFull) {
        link(sizeClass, block);
    }
    // The last block of a size stays, so that a scene that makes and deletes one node at a time
    // does not map and unmap a block each time.
    if (block->live == 0 && sizeClass.blocks > 1) {
        unlink(sizeClass, block);
        --sizeClass.blocks;
        munmap(block, kBlockSize);
    }
}

bool nodeMemoryPooled() {
    return VELLUM_NODE_POOL != 0;
}

std::size_t nodeMemoryBlockCount() {
    Pool& p = pool();
    std::lock_guard<std::mutex> guard(p.lock);
    std::size_t blocks = 0;
    for (const SizeClass& sizeClass : p.classes) {
        blocks += sizeClass.blocks;
    }
    return blocks;
}
