// Hash table with open addressing over a dense entry array. Iteration follows insertion order;
// deleted entries leave a hole that the next rebuild squeezes out.
#pragma once

#include "object.h"
#include "string_table.h"

namespace squirrel::detail {

struct Table : GCObject {
    struct Entry {
        Value key; // null marks a deleted entry
        Value value;
    };

    Table(GCObject*& listHead, std::uint32_t capacity = 0);
    ~Table();

    std::uint32_t size() const { return live_; }

    // The slot holding the value for key, or null when the key is absent.
    Value* find(const Value& key) const;
    Value* findString(const String* key) const;
    // Creates or overwrites a slot; the key must not be null.
    void set(const Value& key, const Value& value);
    // Removes a slot; returns false when it was absent.
    bool remove(const Value& key, Value* removedValue);
    void clear();

    // Iteration: entry positions run from 0 to end(); a position may hold a deleted entry.
    std::uint32_t end() const { return used_; }
    const Entry& entry(std::uint32_t position) const { return entries_[position]; }
    // The first live position at or after position, or end().
    std::uint32_t nextLive(std::uint32_t position) const;

    Value delegate; // table consulted for missing keys, or null

private:
    std::int32_t indexOf(const Value& key, std::uint32_t hash) const;
    void rebuild(std::uint32_t capacity);
    void append(const Value& key, const Value& value, std::uint32_t hash);

    Entry* entries_ = nullptr;
    std::int32_t* index_ = nullptr; // entry positions, -1 for an empty bucket
    std::uint32_t capacity_ = 0;    // entries allocated
    std::uint32_t used_ = 0;        // entries handed out, deleted ones included
    std::uint32_t live_ = 0;
    std::uint32_t indexMask_ = 0;
};

inline Value* Table::findString(const String* key) const {
    if (!index_)
        return nullptr;
    for (std::uint32_t bucket = key->hash & indexMask_;; bucket = (bucket + 1) & indexMask_) {
        std::int32_t position = index_[bucket];
        if (position < 0)
            return nullptr;
        Entry& e = entries_[position];
        if (e.key.tag == Tag::String && e.key.ref == key)
            return &e.value;
    }
}

inline Value* Table::find(const Value& key) const {
    if (key.tag == Tag::String)
        return findString(key.str());
    // Deleted entries keep a null key, so null must never match one.
    if (!index_ || key.isNull())
        return nullptr;
    std::int32_t position = indexOf(key, hashValue(key));
    return position < 0 ? nullptr : &entries_[position].value;
}

} // namespace squirrel::detail
