#include "reserved_memory.h"

#include <sys/mman.h>

#include <new>

namespace squirrel::detail {

void* reserveZeroedMemory(std::size_t bytes) {
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    return memory;
}

void releaseReservedMemory(void* memory, std::size_t bytes) {
    munmap(memory, bytes);
}

} // namespace squirrel::detail
