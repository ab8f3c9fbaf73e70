#include "table.h"

#include <algorithm>
#include <bitset>

namespace squirrel::detail {

namespace {

// The power-of-two range an array key belongs to: 0 for key 0, b for the keys 2^(b-1) .. 2^b - 1.
int binOf(std::uint32_t key) {
    int bin = 0;
    while (key != 0) {
        key >>= 1;
        ++bin;
    }
    return bin;
}

} // namespace

Table::Table(GCObject*& listHead, std::uint32_t sizeHint) : GCObject(Tag::Table, listHead) {
    std::uint32_t nodeCount = 4;
    while (nodeCount < sizeHint)
        nodeCount *= 2;
    allocate(nodeCount);
}

Table::~Table() {
    delete[] nodes_;
    delete[] array_;
    delete[] present_;
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
    if (isArrayKey(key, arraySize_)) {
        std::uint32_t index = static_cast<std::uint32_t>(key.i);
        if (!inArray(index))
            markPresent(index);
        array_[index] = value;
        return;
    }
    std::uint32_t hash = hashValue(key);
    if (Entry* node = findNode(key, hash)) {
        node->value = value;
        return;
    }
    // The key and value may live in this table, which the insertion moves.
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
            ++nodeKeys_;
            return &target->value;
        }
        if (free_ == nodes_)
            break;
        --free_;
    }
    // No free node is left: rebuild with the new key where it is (it may move to the array
    // part), then look it up again.
    rehash(true);
    return find(key);
}

std::uint32_t Table::fittingArraySize() const {
    std::uint32_t bins[33] = {};
    for (std::uint32_t i = 0; i < nodeCount_; ++i) {
        const Value& key = nodes_[i].key;
        if (key.tag == Tag::Integer && key.i >= 0)
            ++bins[binOf(static_cast<std::uint32_t>(key.i))];
    }
    for (std::uint32_t word = 0; word < presenceWords(arraySize_); ++word) {
        std::uint64_t bits = present_[word];
        if (word == 0) {
            for (std::uint32_t index = 0; bits != 0; ++index, bits >>= 1)
                bins[binOf(index)] += static_cast<std::uint32_t>(bits & 1);
        } else {
            // From 64 on, a word's keys all lie in one power-of-two range.
            bins[binOf(word * kBitsPerWord)] +=
                static_cast<std::uint32_t>(std::bitset<kBitsPerWord>(bits).count());
        }
    }
    std::uint32_t keys = 0, size = 0;
    for (int bin = 0; bin < 32; ++bin) {
        keys += bins[bin];
        std::uint32_t range = std::uint32_t{1} << bin;
        if (keys > range / 2)
            size = range;
    }
    return size;
}

void Table::resizeArray(std::uint32_t size) {
    Value* values = size ? new Value[size] : nullptr;
    std::uint64_t* present = size ? new std::uint64_t[presenceWords(size)]() : nullptr;
    std::uint32_t kept = std::min(size, arraySize_);
    for (std::uint32_t i = 0; i < kept; ++i)
        values[i] = std::move(array_[i]);
    for (std::uint32_t word = 0; word < presenceWords(kept); ++word)
        present[word] = present_[word];
    if (kept % kBitsPerWord != 0)
        present[kept / kBitsPerWord] &= (std::uint64_t{1} << (kept % kBitsPerWord)) - 1;
    delete[] array_;
    delete[] present_;
    array_ = values;
    present_ = present;
    arraySize_ = size;
}

void Table::rehash(bool force) {
    std::uint32_t arraySize = force ? fittingArraySize() : arraySize_;
    // The node keys once the array part has its new size.
    std::uint32_t keys = 0;
    for (std::uint32_t i = 0; i < nodeCount_; ++i) {
        const Value& key = nodes_[i].key;
        if (!key.isNull() && !isArrayKey(key, arraySize))
            ++keys;
    }
    for (std::uint32_t i = arraySize; i < arraySize_; ++i)
        keys += inArray(i) ? 1 : 0;

    std::uint32_t oldCount = nodeCount_;
    std::uint32_t newCount = oldCount;
    if (keys >= oldCount - oldCount / 4) {
        while (keys >= newCount - newCount / 4)
            newCount *= 2;
    } else if (keys <= oldCount / 4 && oldCount > 4) {
        newCount = oldCount / 2;
    } else if (!force) {
        return;
    }
    Entry* old = nodes_;
    allocate(newCount);
    nodeKeys_ = 0;
    if (arraySize < arraySize_) {
        for (std::uint32_t i = arraySize; i < arraySize_; ++i) {
            if (inArray(i)) {
                *insert(Value::integer(static_cast<std::int32_t>(i)), i) = std::move(array_[i]);
                --arrayCount_;
            }
        }
    }
    if (arraySize != arraySize_)
        resizeArray(arraySize);
    for (std::uint32_t i = 0; i < oldCount; ++i) {
        Entry& e = old[i];
        if (e.key.isNull())
            continue;
        if (isArrayKey(e.key, arraySize_)) {
            std::uint32_t index = static_cast<std::uint32_t>(e.key.i);
            markPresent(index);
            array_[index] = std::move(e.value);
        } else {
            *insert(e.key, hashValue(e.key)) = std::move(e.value);
        }
    }
    delete[] old;
}

bool Table::remove(const Value& key, Value* removedValue) {
    if (key.isNull())
        return false;
    Value removed;
    if (isArrayKey(key, arraySize_)) {
        std::uint32_t index = static_cast<std::uint32_t>(key.i);
        if (!inArray(index))
            return false;
        // The value is released only after the table is consistent again: releasing it may run
        // code that looks here.
        removed = std::move(array_[index]);
        markAbsent(index);
    } else {
        Entry* node = findNode(key, hashValue(key));
        if (!node)
            return false;
        // The node keeps its chain link, so chains through it stay intact.
        removed = std::move(node->value);
        node->key.setNull();
        --nodeKeys_;
        rehash(false);
    }
    if (removedValue)
        *removedValue = std::move(removed);
    return true;
}

void Table::clear() {
    Entry* old = nodes_;
    Value* oldArray = array_;
    std::uint64_t* oldPresent = present_;
    std::uint32_t oldCount = nodeCount_;
    nodeKeys_ = 0;
    allocate(oldCount > 4 ? oldCount / 2 : oldCount);
    array_ = nullptr;
    present_ = nullptr;
    arraySize_ = 0;
    arrayCount_ = 0;
    // Releasing the values may run code that looks at this table, which is empty by now.
    delete[] old;
    delete[] oldArray;
    delete[] oldPresent;
}

void Table::copyFrom(const Table& source) {
    if (nodeCount_ != source.nodeCount_) {
        delete[] nodes_;
        nodes_ = nullptr;
        allocate(source.nodeCount_);
    }
    resizeArray(source.arraySize_);
    for (std::uint32_t i = 0; i < source.arraySize_; ++i)
        array_[i] = source.array_[i];
    for (std::uint32_t word = 0; word < presenceWords(arraySize_); ++word)
        present_[word] = source.present_[word];
    arrayCount_ = source.arrayCount_;
    for (std::uint32_t i = source.nextLive(arraySize_); i < source.end();
         i = source.nextLive(i + 1))
        set(source.key(i), source.value(i));
}

Value Table::key(std::uint32_t position) const {
    if (position < arraySize_)
        return Value::integer(static_cast<std::int32_t>(position));
    return nodes_[position - arraySize_].key;
}

Value& Table::value(std::uint32_t position) const {
    if (position < arraySize_)
        return array_[position];
    return nodes_[position - arraySize_].value;
}

std::uint32_t Table::nextLive(std::uint32_t position) const {
    if (position < arraySize_) {
        std::uint32_t word = position / kBitsPerWord;
        std::uint64_t bits = present_[word] & (~std::uint64_t{0} << (position % kBitsPerWord));
        for (;;) {
            if (bits != 0)
                return word * kBitsPerWord + static_cast<std::uint32_t>(__builtin_ctzll(bits));
            if (++word == presenceWords(arraySize_))
                break;
            bits = present_[word];
        }
        position = arraySize_;
    }
    while (position < end() && nodes_[position - arraySize_].key.isNull())
        ++position;
    return position;
}

void Table::traverse(ValueVisitor visit, void* context) {
    for (std::uint32_t i = nextLive(0); i < arraySize_; i = nextLive(i + 1))
        visit(array_[i], context);
    for (std::uint32_t i = 0; i < nodeCount_; ++i) {
        visit(nodes_[i].key, context);
        visit(nodes_[i].value, context);
    }
}

} // namespace squirrel::detail
