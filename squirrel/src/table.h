// Hash table laid out as a power-of-two array of nodes with chained collisions inside the
// array. A key lives in the node of its main position (hash & (size - 1)) or in a node taken
// from the free pointer, which only moves downwards. Iteration walks the node array, so the
// order of a table follows from its keys and the history of insertions and removals.
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

    std::uint32_t size() const { return count_; }
    // Nodes in the array; a copy made with this many nodes starts with the same layout size.
    std::uint32_t nodeCount() const { return nodeCount_; }

    // The slot holding the value for key, or null when the key is absent.
    Value* find(const Value& key) const;
    Value* findString(const String* key) const;
    // Creates or overwrites a slot; the key must not be null.
    void set(const Value& key, const Value& value);
    // Removes a slot; returns false when it was absent.
    bool remove(const Value& key, Value* removedValue);
    void clear();
    // Makes this empty table a copy of source: as many nodes, with the slots inserted in
    // source's iteration order (so the copy may iterate in another order).
    void copyFrom(const Table& source);

    // Iteration: positions are node indices from 0 to end(); a position may hold no key.
    std::uint32_t end() const { return nodeCount_; }
    const Entry& entry(std::uint32_t position) const { return nodes_[position]; }
    // The first position with a key at or after position, or end().
    std::uint32_t nextLive(std::uint32_t position) const;

    Value delegate; // table consulted for missing keys, or null

private:
    Entry* findNode(const Value& key, std::uint32_t hash) const;
    // Places a key that is not in the table and returns its value slot.
    Value* insert(const Value& key, std::uint32_t hash);
    // Resizes to fit the number of keys: grows past three quarters, shrinks below a quarter,
    // and when force is set rebuilds at the same size otherwise.
    void rehash(bool force);
    void allocate(std::uint32_t nodeCount);

    Entry* nodes_ = nullptr;
    Entry* free_ = nullptr; // no node above it is free
    std::uint32_t nodeCount_ = 0;
    std::uint32_t count_ = 0;
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
    // Unused nodes keep a null key, so null must never match one.
    if (key.isNull())
        return nullptr;
    Entry* node = findNode(key, hashValue(key));
    return node ? &node->value : nullptr;
}

} // namespace squirrel::detail
