// Immutable interned strings. Every string with the same bytes is one object, so string
// equality and string keys compare by pointer, and each string carries its hash.
#pragma once

#include "value.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace squirrel::detail {

class StringTable;

struct String : RefCounted {
    std::uint32_t hash;
    std::uint32_t length;
    String* chain; // next string in the same bucket
    StringTable* owner;
    char data[1]; // length bytes followed by a terminating zero

    std::string_view view() const { return {data, length}; }
    const char* c_str() const { return data; }
};

class StringTable {
public:
    StringTable();
    ~StringTable();
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

    // The interned string with these bytes, created when missing.
    Value make(std::string_view text);
    // Called when a string's reference count reaches zero.
    void destroy(String* string);
    std::size_t size() const { return count_; }

private:
    void grow();

    std::vector<String*> buckets_;
    std::size_t count_ = 0;
};

std::uint32_t hashBytes(const char* data, std::size_t length);

} // namespace squirrel::detail
