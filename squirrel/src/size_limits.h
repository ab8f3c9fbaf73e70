// The sizes scripts can count and the memory one request may take. Strings, arrays and blobs
// hold at most kMaxLength bytes or elements, so that lengths and indexes always fit the
// language's 32-bit integers. A request for more memory than the system has available fails
// before anything is filled in: zero-filling such a block would take all memory, and the system
// would end the process instead of failing the allocation.
#pragma once

#include <cstddef>
#include <new>
#include <stdexcept>

namespace squirrel::detail {

constexpr std::size_t kMaxLength = 0x7FFFFFFF;

// The script errors of failed allocations and of strings beyond kMaxLength.
inline constexpr const char* kNotEnoughMemory = "not enough memory";
inline constexpr const char* kStringTooLong = "string too long";

// Thrown where a string longer than kMaxLength would be made; the machine raises it as the
// script error kStringTooLong.
struct StringTooLong : std::length_error {
    StringTooLong() : std::length_error(kStringTooLong) {}
};

// Throws StringTooLong for a length beyond kMaxLength.
inline void checkStringLength(std::size_t length) {
    if (length > kMaxLength)
        throw StringTooLong();
}

// Throws std::bad_alloc for a container that would grow beyond kMaxLength elements.
inline void checkLength(std::size_t count) {
    if (count > kMaxLength)
        throw std::bad_alloc();
}

// Throws std::bad_alloc when a block of `bytes` is larger than the memory currently available.
// Small blocks are not checked.
void checkAvailableMemory(std::size_t bytes);

// Both checks for `count` elements of `size` bytes, as a container of at most kMaxLength
// elements: throws std::bad_alloc when either fails.
void checkElements(std::size_t count, std::size_t size);

} // namespace squirrel::detail
