// Immutable interned strings. Every string with the same bytes is one object, so string
// equality and string keys compare by pointer. Two hashes serve different ends: one spreads
// strings over the interning buckets, the other places a string as a table key, which fixes the
// iteration order of string keys; a string works the latter out the first time it serves as a
// key, as most strings never do.
#pragma once

#include "value.h"

#include <cstddef>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace squirrel::detail {

class StringTable;

// The hash tables place a string key by.
std::uint32_t hashBytes(const char* data, std::size_t length);

// The members are ordered so that the header stays as small as a string with one hash.
struct String : RefCounted {
    mutable bool keyHashKnown_;
    String* chain; // next string in the same bucket
    StringTable* owner;
    std::uint32_t internHash;
    std::uint32_t length;
    mutable std::uint32_t keyHash_;
    // The node index where a table last found this key: tried first by the next lookup, as
    // names are mostly looked up in the same table again (globals, members).
    mutable std::uint32_t slotHint;
    char data[1]; // length bytes followed by a terminating zero

    std::string_view view() const { return {data, length}; }
    const char* c_str() const { return data; }
    std::uint32_t keyHash() const {
        if (!keyHashKnown_) {
            keyHash_ = hashBytes(data, length);
            keyHashKnown_ = true;
        }
        return keyHash_;
    }
};

class StringTable {
public:
    StringTable();
    ~StringTable();
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

    // The interned string with these bytes, created when missing.
    Value make(std::string_view text);
    // The interned string with the bytes of first followed by those of second. The bytes are
    // put together in the new string's memory, so that joining copies them only once.
    Value join(std::string_view first, std::string_view second);
    // The interned string of `length` bytes that fill(char* data) writes in the new string's
    // memory. Lengths beyond kMaxLength throw StringTooLong before anything is allocated.
    template <class Fill>
    Value build(std::size_t length, Fill&& fill) {
        String* s = allocate(0, length);
        try {
            fill(s->data);
        } catch (...) {
            std::free(s);
            throw;
        }
        return adopt(s);
    }
    // Called when a string's reference count reaches zero.
    void destroy(String* string);
    std::size_t size() const { return count_; }

private:
    // A string object with room for length bytes, not yet interned.
    static String* allocate(std::uint32_t hash, std::size_t length);
    // Interns a new string whose bytes are written: gives the equal string already interned
    // (freeing the new one) or links the new one in.
    Value adopt(String* s);
    // Links a new string into its bucket.
    void insert(String* s, std::size_t bucket);
    void grow();

    std::vector<String*> buckets_;
    std::size_t count_ = 0;
};

} // namespace squirrel::detail
