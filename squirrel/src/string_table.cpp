#include "string_table.h"

#include "size_limits.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace squirrel::detail {

std::uint32_t hashBytes(const char* data, std::size_t length) {
    // Long strings are sampled: about 32 bytes, from the end. Tables place string keys by this
    // hash, so it fixes the order in which they iterate.
    auto hash = static_cast<std::uint32_t>(length);
    std::size_t step = (length >> 5) + 1;
    for (std::size_t i = length; i >= step; i -= step) {
        auto c = static_cast<std::uint16_t>(static_cast<signed char>(data[i - 1]));
        hash ^= (hash << 5) + (hash >> 2) + c;
    }
    return hash;
}

namespace {

// Spreads strings over the interning buckets; strings that differ only at the end (numbered
// names) stay close together, which keeps building many of them cache friendly. Long strings
// are hashed on their first and last 32 bytes and about 32 bytes sampled in between.
std::uint32_t internHashOf(const char* data, std::size_t length) {
    std::uint32_t hash = 2166136261u ^ static_cast<std::uint32_t>(length);
    auto mix = [&hash](unsigned char c) { hash = (hash ^ c) * 16777619u; };
    if (length <= 96) {
        for (std::size_t i = 0; i < length; ++i)
            mix(static_cast<unsigned char>(data[i]));
        return hash;
    }
    for (std::size_t i = 0; i < 32; ++i)
        mix(static_cast<unsigned char>(data[i]));
    std::size_t step = (length - 64) / 32 + 1;
    for (std::size_t i = 32; i < length - 32; i += step)
        mix(static_cast<unsigned char>(data[i]));
    for (std::size_t i = length - 32; i < length; ++i)
        mix(static_cast<unsigned char>(data[i]));
    return hash;
}

} // namespace

StringTable::StringTable() : buckets_(256, nullptr) {}

StringTable::~StringTable() {
    // Strings still referenced when the table goes away belong to nobody any more.
    for (String* head : buckets_) {
        while (head) {
            String* next = head->chain;
            std::free(head);
            head = next;
        }
    }
}

Value StringTable::make(std::string_view text) {
    std::uint32_t hash = internHashOf(text.data(), text.size());
    std::size_t bucket = hash & (buckets_.size() - 1);
    for (String* s = buckets_[bucket]; s; s = s->chain) {
        if (s->internHash == hash && s->length == text.size() &&
            std::memcmp(s->data, text.data(), text.size()) == 0)
            return Value(s);
    }
    String* s = allocate(hash, text.size());
    if (!text.empty())
        std::memcpy(s->data, text.data(), text.size());
    insert(s, bucket);
    return Value(s);
}

Value StringTable::join(std::string_view first, std::string_view second) {
    if (first.empty() || second.empty())
        return make(first.empty() ? second : first);
    return build(first.size() + second.size(), [first, second](char* data) {
        std::memcpy(data, first.data(), first.size());
        std::memcpy(data + first.size(), second.data(), second.size());
    });
}

Value StringTable::adopt(String* s) {
    std::size_t length = s->length;
    s->internHash = internHashOf(s->data, length);
    std::size_t bucket = s->internHash & (buckets_.size() - 1);
    for (String* other = buckets_[bucket]; other; other = other->chain) {
        if (other->internHash == s->internHash && other->length == length &&
            std::memcmp(other->data, s->data, length) == 0) {
            std::free(s);
            return Value(other);
        }
    }
    insert(s, bucket);
    return Value(s);
}

String* StringTable::allocate(std::uint32_t hash, std::size_t length) {
    checkStringLength(length);
    checkAvailableMemory(length);
    void* memory = std::malloc(sizeof(String) + length);
    if (!memory)
        throw std::bad_alloc();
    String* s = new (memory) String{RefCounted(Tag::String),
                                    false,
                                    nullptr,
                                    nullptr,
                                    hash,
                                    static_cast<std::uint32_t>(length),
                                    0,
                                    0,
                                    {0}};
    s->data[length] = '\0';
    return s;
}

void StringTable::insert(String* s, std::size_t bucket) {
    s->owner = this;
    s->chain = buckets_[bucket];
    buckets_[bucket] = s;
    if (++count_ > buckets_.size())
        grow();
}

void StringTable::destroy(String* string) {
    String** link = &buckets_[string->internHash & (buckets_.size() - 1)];
    while (*link != string)
        link = &(*link)->chain;
    *link = string->chain;
    --count_;
    std::free(string);
}

void StringTable::grow() {
    std::vector<String*> bigger(buckets_.size() * 2, nullptr);
    for (String* head : buckets_) {
        while (head) {
            String* next = head->chain;
            std::size_t bucket = head->internHash & (bigger.size() - 1);
            head->chain = bigger[bucket];
            bigger[bucket] = head;
            head = next;
        }
    }
    buckets_.swap(bigger);
}

} // namespace squirrel::detail
