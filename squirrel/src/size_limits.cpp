#include "size_limits.h"

#include <unistd.h>

#include <cstdio>
#include <new>

namespace squirrel::detail {

namespace {

// Below this a request is served without asking the system.
constexpr std::size_t kCheckedBytes = std::size_t{64} << 20;

// MemAvailable of /proc/meminfo (what can be allocated without swapping), or the free physical
// memory where the file cannot be read.
std::size_t availableMemory() {
    if (std::FILE* file = std::fopen("/proc/meminfo", "r")) {
        char line[128];
        unsigned long long kilobytes = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, file))
            found = std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1;
        std::fclose(file);
        if (found)
            return static_cast<std::size_t>(kilobytes) * 1024;
    }
    long pages = sysconf(_SC_AVPHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return static_cast<std::size_t>(-1);
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize);
}

} // namespace

void checkAvailableMemory(std::size_t bytes) {
    if (bytes >= kCheckedBytes && bytes > availableMemory())
        throw std::bad_alloc();
}

void checkElements(std::size_t count, std::size_t size) {
    checkLength(count);
    checkAvailableMemory(count * size);
}

} // namespace squirrel::detail
