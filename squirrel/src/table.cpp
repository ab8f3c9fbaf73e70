#include "table.h"

namespace squirrel::detail {

Table::Table(GCObject*& listHead, std::uint32_t sizeHint) : GCObject(Tag::Table, listHead) {
    std::uint32_t nodeCount = 4;
    while (nodeCount < sizeHint)
        nodeCount *= 2;
    allocate(nodeCount);
}

Table::~Table() {
    delete[] nodes_;
}

void Table::allocate(std::uint32_t nodeCount) {
    nodes_ = new Entry[nodeCount];
    nodeCount_ = nodeCount;
    mask_ = nodeCount - 1;
    free_ = nodes_ + nodeCount - 1;
}

Table::Entry* Table::findNode(const Value& key, std::uint32_t hash) const {
    Entry* node = &nodes_[hash & mask_];
    do {
        if (node->key.rawEquals(key))
            return node;
        node = node->next;
    } while (node);
    return nullptr;
}

void Table::set(const Value& key, const Value& value) {
    std::uint32_t hash = hashValue(key);
    if (Entry* node = findNode(key, hash)) {
        node->value = value;
        return;
    }
    // The key and value may live in this table's nodes, which the insertion moves.
    Value keyCopy = key, valueCopy = value;
    *insert(keyCopy, hash) = std::move(valueCopy);
}

Value* Table::insert(const Value& key, std::uint32_t hash) {
    Entry* target = &nodes_[hash & mask_];
    if (!target->key.isNull()) {
        Entry* free = free_;
        Entry* other = &nodes_[hashValue(target->key) & mask_];
        if (other != target) {
            // The occupant is away from its main position: it moves to the free node and the
            // new key takes its place.
            while (other->next != target)
                other = other->next;
            other->next = free;
            free->key = std::move(target->key);
            free->value = std::move(target->value);
            free->next = target->next;
            target->next = nullptr;
        } else {
            free->next = target->next;
            target->next = free;
            target = free;
        }
    }
    target->key = key;
    for (;;) {
        if (free_->key.isNull() && !free_->next) {
            ++count_;
            return &target->value;
        }
        if (free_ == nodes_)
            break;
        --free_;
    }
    // No free node is left: rebuild with the new key where it is, then look it up again.
    rehash(true);
    return &findNode(key, hash)->value;
}

void Table::rehash(bool force) {
    std::uint32_t oldCount = nodeCount_;
    std::uint32_t newCount;
    if (count_ >= oldCount - oldCount / 4)
        newCount = oldCount * 2;
    else if (count_ <= oldCount / 4 && oldCount > 4)
        newCount = oldCount / 2;
    else if (force)
        newCount = oldCount;
    else
        return;
    Entry* old = nodes_;
    allocate(newCount);
    count_ = 0;
    for (std::uint32_t i = 0; i < oldCount; ++i) {
        Entry& e = old[i];
        if (!e.key.isNull())
            *insert(e.key, hashValue(e.key)) = std::move(e.value);
    }
    delete[] old;
}

bool Table::remove(const Value& key, Value* removedValue) {
    if (key.isNull())
        return false;
    Entry* node = findNode(key, hashValue(key));
    if (!node)
        return false;
    // The node keeps its chain link, so chains through it stay intact. The value is released
    // only after the table is consistent again: releasing it may run code that looks here.
    Value removed = std::move(node->value);
    node->key.setNull();
    --count_;
    rehash(false);
    if (removedValue)
        *removedValue = std::move(removed);
    return true;
}

void Table::clear() {
    Entry* old = nodes_;
    std::uint32_t oldCount = nodeCount_;
    count_ = 0;
    allocate(oldCount > 4 ? oldCount / 2 : oldCount);
    delete[] old;
}

void Table::copyFrom(const Table& source) {
    if (nodeCount_ != source.nodeCount_) {
        delete[] nodes_;
        nodes_ = nullptr;
        allocate(source.nodeCount_);
    }
    for (std::uint32_t i = source.nextLive(0); i < source.end(); i = source.nextLive(i + 1))
        set(source.nodes_[i].key, source.nodes_[i].value);
}

std::uint32_t Table::nextLive(std::uint32_t position) const {
    while (position < nodeCount_ && nodes_[position].key.isNull())
        ++position;
    return position;
}

} // namespace squirrel::detail
