#pragma once

#include <cstddef>

// Memory for the engine's scene nodes. Every frame reads each visible node three times: animating
// and registering in tree order, drawing in sorted order, which is scattered in memory. Nodes
// taken from the general heap lie among all its other blocks, start anywhere within a cache line
// and are spread over many small pages, so those reads wait on the cache and on address
// translation. Here each node gets a slot of whole cache lines in a 2 MiB block that holds only
// slots of its size and that the kernel is asked to back with one huge page.
//
// A block that empties is given back to the system, except the last one of each size. Sizes
// above kNodeSlotLargest bytes, and builds with the address sanitizer (whose checks need every
// node to be a heap block of its own), use the general heap.

constexpr std::size_t kNodeSlotAlignment = 64;
constexpr std::size_t kNodeSlotLargest = 4096;

// Never null: throws std::bad_alloc when the system has no memory left.
void* allocateNodeMemory(std::size_t size);
// Gives back what allocateNodeMemory returned for the same size; null does nothing.
void releaseNodeMemory(void* memory, std::size_t size);

// For tests and diagnostics: whether nodes come from the blocks in this build, and how many
// blocks exist now.
bool nodeMemoryPooled();
std::size_t nodeMemoryBlockCount();
