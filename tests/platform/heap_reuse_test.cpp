#include "platform/heap_reuse.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

// The thresholds are glibc's, and so is the test.
#if defined(__GLIBC__)
#include <malloc.h>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kLibraryAllocator = false;
#else
constexpr bool kLibraryAllocator = true;
#endif

// Allocates and fills the blocks so that the allocations cannot be left out.
std::vector<char*> allocateBlocks(int count, size_t size) {
    std::vector<char*> blocks;
    for (int i = 0; i < count; ++i) {
        char* block = static_cast<char*>(std::malloc(size));
        std::memset(block, i + 1, size);
        asm volatile("" : : "r"(block) : "memory");
        blocks.push_back(block);
    }
    return blocks;
}

void freeBlocks(const std::vector<char*>& blocks) {
    for (char* block : blocks) {
        std::free(block);
    }
}

} // namespace

// One frame of a software rasteriser's scene data: many 64 KB blocks, all freed at the frame's
// end, and one vertex block larger than the library's starting mapping threshold (128 KB). The
// next frame must find that memory in the heap rather than in fresh pages from the system.
TEST(HeapReuse, FreedFrameMemoryStaysInTheHeap) {
    if (!kLibraryAllocator) {
        GTEST_SKIP() << "the sanitizer's allocator replaces the C library's";
    }
    keepFreedHeapForReuse();
    const std::vector<char*> sceneBlocks = allocateBlocks(48, 64 * 1024);
    const size_t heapInUse = mallinfo2().arena;
    freeBlocks(sceneBlocks);
    EXPECT_GE(mallinfo2().arena, heapInUse) << "the heap was trimmed after the frame";

    const size_t mappedBlocks = mallinfo2().hblks;
    const size_t vertexBytes = 384 * 1024;
    const std::vector<char*> vertexBlock = allocateBlocks(1, vertexBytes);
    EXPECT_EQ(mallinfo2().hblks, mappedBlocks) << "the vertex block was mapped on its own";
    freeBlocks(vertexBlock);
    EXPECT_GE(mallinfo2().keepcost, vertexBytes) << "the heap was trimmed after the vertex block";
}
#endif
