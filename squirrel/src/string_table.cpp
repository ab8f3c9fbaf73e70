#include "string_table.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace squirrel::detail {

std::uint32_t hashBytes(const char* data, std::size_t length) {
    // Long strings are sampled, so hashing a long string built by concatenation stays cheap.
    std::uint32_t hash = static_cast<std::uint32_t>(length) ^ 0x9e3779b9u;
    std::size_t step = (length >> 5) + 1;
    for (std::size_t i = length; i >= step; i -= step)
        hash ^= (hash << 5) + (hash >> 2) + static_cast<unsigned char>(data[i - 1]);
    return hash;
}

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
    std::uint32_t hash = hashBytes(text.data(), text.size());
    std::size_t bucket = hash & (buckets_.size() - 1);
    for (String* s = buckets_[bucket]; s; s = s->chain) {
        if (s->hash == hash && s->length == text.size() &&
            std::memcmp(s->data, text.data(), text.size()) == 0)
            return Value(s);
    }
    void* memory = std::malloc(sizeof(String) + text.size());
    if (!memory)
        throw std::bad_alloc();
    String* s = new (memory) String{
        RefCounted(Tag::String), hash, static_cast<std::uint32_t>(text.size()), nullptr, this, {0}};
    if (!text.empty())
        std::memcpy(s->data, text.data(), text.size());
    s->data[text.size()] = '\0';
    s->chain = buckets_[bucket];
    buckets_[bucket] = s;
    if (++count_ > buckets_.size())
        grow();
    return Value(s);
}

void StringTable::destroy(String* string) {
    String** link = &buckets_[string->hash & (buckets_.size() - 1)];
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
            std::size_t bucket = head->hash & (bigger.size() - 1);
            head->chain = bigger[bucket];
            bigger[bucket] = head;
            head = next;
        }
    }
    buckets_.swap(bigger);
}

} // namespace squirrel::detail
