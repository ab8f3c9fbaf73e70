// Hash table with an array part. Integer keys from 0 up to the array part's size live in a plain
// array of values, as long as more than half of its slots are used; every other key lives in a
// power-of-two array of nodes with chained collisions inside the array. A key of the node array
// lives in the node of its main position (hash & (size - 1)) or in a node taken from the free
// pointer, which only moves downwards. Iteration walks the array part in key order, then the node
// array, so the order of a table follows from its keys and the history of insertions and
// removals.
#pragma once

#include "object.h"
#include "string_table.h"

namespace squirrel::detail {

struct Table : GCObject {
    struct Entry {
        Value key; // null marks an unused node
        Value value;
        Entry* next = nullptr; // next node of the collision chain
    };

    // sizeHint: slots expected; the node array starts at the next power of two (at least 4).
    Table(GCObject*& listHead, std::uint32_t sizeHint = 0);
    ~Table();

    std::uint32_t size() const { return arrayCount_ + nodeKeys_; }

    // The slot holding the value for key, or null when the key is absent.
    Value* find(const Value& key) const;
    Value* findString(const String* key) const;
    // Creates or overwrites a slot; the key must not be null.
    void set(const Value& key, const Value& value);
    // Removes a slot; returns false when it was absent.
    bool remove(const Value& key, Value* removedValue);
    void clear();
    // Makes this empty table a copy of source: the same array part, as many nodes, with the
    // node slots inserted in source's iteration order (so the copy may iterate in another order).
    void copyFrom(const Table& source);

    // Iteration: positions 0 .. arraySize - 1 are the array part's keys in order, the positions
    // after them the nodes; a position may hold no key.
    std::uint32_t end() const { return arraySize_ + nodeCount_; }
    // The key and the value slot at a position that holds a key.
    Value key(std::uint32_t position) const;
    Value& value(std::uint32_t position) const;
    // The first position with a key at or after position, or end().
    std::uint32_t nextLive(std::uint32_t position) const;
    // Calls visit for every key and value slot (the array part's keys are integers, which hold
    // nothing to visit).
    void traverse(ValueVisitor visit, void* context);

    Value delegate; // table consulted for missing keys, or null

private:
    static constexpr std::uint32_t kBitsPerWord = 64;
    static std::uint32_t presenceWords(std::uint32_t arraySize) {
        return (arraySize + kBitsPerWord - 1) / kBitsPerWord;
    }

    // An integer key that belongs in an array part of that size.
    static bool isArrayKey(const Value& key, std::uint32_t arraySize) {
        return key.tag == Tag::Integer && static_cast<std::uint32_t>(key.i) < arraySize;
    }
    bool inArray(std::uint32_t index) const {
        return index < arraySize_ &&
               (present_[index / kBitsPerWord] >> (index % kBitsPerWord) & 1) != 0;
    }
    // Marks an array slot's key present (counting it) or absent.
    void markPresent(std::uint32_t index) {
        present_[index / kBitsPerWord] |= std::uint64_t{1} << (index % kBitsPerWord);
        ++arrayCount_;
    }
    void markAbsent(std::uint32_t index) {
        present_[index / kBitsPerWord] &= ~(std::uint64_t{1} << (index % kBitsPerWord));
        --arrayCount_;
    }
    Entry* findNode(const Value& key, std::uint32_t hash) const;
    // Places a key that is not in the table and returns its value slot.
    Value* insert(const Value& key, std::uint32_t hash);
    // Resizes the nodes to fit their keys: grows past three quarters, shrinks below a quarter,
    // and when force is set rebuilds at the same size otherwise. A forced rebuild also sizes the
    // array part anew, which may move keys between the array part and the nodes.
    void rehash(bool force);
    // The largest power of two n for which more than n / 2 of the integer keys 0 .. n - 1 are in
    // the table, or 0.
    std::uint32_t fittingArraySize() const;
    void resizeArray(std::uint32_t size);
    void allocate(std::uint32_t nodeCount);

    Value* array_ = nullptr;
    std::uint64_t* present_ = nullptr; // a bit per array slot: its key is in the table
    std::uint32_t arraySize_ = 0;
    std::uint32_t arrayCount_ = 0;
    Entry* nodes_ = nullptr;
    Entry* free_ = nullptr; // no node above it is free
    std::uint32_t nodeCount_ = 0;
    std::uint32_t nodeKeys_ = 0;
    std::uint32_t mask_ = 0;
};

inline Value* Table::findString(const String* key) const {
    Entry* node = &nodes_[key->slotHint & mask_];
    if (node->key.ref == key && node->key.tag == Tag::String)
        return &node->value;
    node = &nodes_[key->keyHash() & mask_];
    do {
        if (node->key.ref == key && node->key.tag == Tag::String) {
            key->slotHint = static_cast<std::uint32_t>(node - nodes_);
            return &node->value;
        }
        node = node->next;
    } while (node);
    return nullptr;
}

inline Value* Table::find(const Value& key) const {
    if (key.tag == Tag::String)
        return findString(key.str());
    // isArrayKey written out: through the call GCC loads the size before the tag test in the
    // interpreter loop, which makes fib about 2 % slower.
    if (key.tag == Tag::Integer && static_cast<std::uint32_t>(key.i) < arraySize_)
        return inArray(static_cast<std::uint32_t>(key.i)) ? &array_[key.i] : nullptr;
    // Unused nodes keep a null key, so null must never match one.
    if (key.isNull())
        return nullptr;
    Entry* node = findNode(key, hashValue(key));
    return node ? &node->value : nullptr;
}

} // namespace squirrel::detail
