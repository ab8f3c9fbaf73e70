#include "scene/node_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace {

bool lineAligned(const void* memory) {
    return reinterpret_cast<std::uintptr_t>(memory) % kNodeSlotAlignment == 0;
}

// Fills each slot with its own byte and checks afterwards that no other slot wrote over it.
TEST(NodeMemory, SlotsOfEverySizeAreSeparateAlignedAndKeepTheirContents) {
    const std::size_t sizes[] = {1, 63, 64, 65, 392, 1040, kNodeSlotLargest, kNodeSlotLargest + 1};
    std::vector<std::pair<unsigned char*, std::size_t>> slots;
    unsigned char fill = 1;
    for (int round = 0; round < 40; ++round) {
        for (std::size_t size : sizes) {
            auto* memory = static_cast<unsigned char*>(allocateNodeMemory(size));
            ASSERT_NE(memory, nullptr);
            if (nodeMemoryPooled() && size <= kNodeSlotLargest) {
                EXPECT_TRUE(lineAligned(memory)) << "size " << size;
            }
            std::memset(memory, fill, size);
            slots.emplace_back(memory, size);
            fill = static_cast<unsigned char>(fill % 250 + 1);
        }
    }
    fill = 1;
    for (const auto& [memory, size] : slots) {
        const bool intact =
            std::all_of(memory, memory + size, [fill](unsigned char c) { return c == fill; });
        EXPECT_TRUE(intact) << "slot of " << size << " bytes";
        fill = static_cast<unsigned char>(fill % 250 + 1);
    }
    for (const auto& [memory, size] : slots) {
        releaseNodeMemory(memory, size);
    }
    releaseNodeMemory(nullptr, 64);
}

TEST(NodeMemory, EmptiedBlocksAreGivenBackButTheLastOfASizeStaysForReuse) {
    if (!nodeMemoryPooled()) {
        GTEST_SKIP() << "this build puts nodes on the general heap (address sanitizer)";
    }
    // Slots of 4032 bytes: about 520 to a block, so 1200 need three blocks. No other test or
    // node uses this size.
    const std::size_t size = 4032;
    const std::size_t before = nodeMemoryBlockCount();
    std::vector<void*> slots;
    for (int i = 0; i < 1200; ++i) {
        slots.push_back(allocateNodeMemory(size));
    }
    EXPECT_EQ(nodeMemoryBlockCount(), before + 3);

    // A released slot is the next one handed out.
    void* again = slots[700];
    releaseNodeMemory(again, size);
    EXPECT_EQ(allocateNodeMemory(size), again);

    for (void* slot : slots) {
        releaseNodeMemory(slot, size);
    }
    EXPECT_EQ(nodeMemoryBlockCount(), before + 1);
    void* fresh = allocateNodeMemory(size);
    EXPECT_EQ(nodeMemoryBlockCount(), before + 1);
    releaseNodeMemory(fresh, size);
}

TEST(NodeMemory, TwoThreadsNeverGetTheSameSlot) {
    auto work = [](std::vector<void*>& kept) {
        std::vector<void*> live;
        for (int i = 0; i < 20000; ++i) {
            live.push_back(allocateNodeMemory(1040));
            if (i % 3 == 2) {
                releaseNodeMemory(live[live.size() - 2], 1040);
                live.erase(live.end() - 2);
            }
        }
        kept = live;
    };
    std::vector<void*> first;
    std::vector<void*> second;
    std::thread other(work, std::ref(second));
    work(first);
    other.join();
    std::set<void*> distinct(first.begin(), first.end());
    distinct.insert(second.begin(), second.end());
    EXPECT_EQ(distinct.size(), first.size() + second.size());
    for (void* slot : first) {
        releaseNodeMemory(slot, 1040);
    }
    for (void* slot : second) {
        releaseNodeMemory(slot, 1040);
    }
}

} // namespace
