#include "table.h"

namespace squirrel::detail {

Table::Table(GCObject*& listHead, std::uint32_t capacity) : GCObject(Tag::Table, listHead) {
    if (capacity) {
        std::uint32_t size = 4;
        while (size < capacity)
            size *= 2;
        rebuild(size);
    }
}

Table::~Table() {
    delete[] entries_;
    delete[] index_;
}

std::int32_t Table::indexOf(const Value& key, std::uint32_t hash) const {
    for (std::uint32_t bucket = hash & indexMask_;; bucket = (bucket + 1) & indexMask_) {
        std::int32_t position = index_[bucket];
        if (position < 0 || entries_[position].key.rawEquals(key))
            return position;
    }
}

void Table::set(const Value& key, const Value& value) {
    std::uint32_t hash = hashValue(key);
    if (index_) {
        std::int32_t position = indexOf(key, hash);
        if (position >= 0) {
            entries_[position].value = value;
            return;
        }
    }
    if (used_ == capacity_) {
        // Squeeze out deleted entries; grow when the table is more than half full. The key and
        // value may live in this table's entries, so they are copied before the rebuild.
        Value keyCopy = key, valueCopy = value;
        std::uint32_t capacity = capacity_ ? capacity_ : 4;
        if (live_ >= capacity_ / 2)
            capacity = capacity_ ? capacity_ * 2 : 4;
        rebuild(capacity);
        append(keyCopy, valueCopy, hash);
        return;
    }
    append(key, value, hash);
}

void Table::append(const Value& key, const Value& value, std::uint32_t hash) {
    std::uint32_t bucket = hash & indexMask_;
    while (index_[bucket] >= 0)
        bucket = (bucket + 1) & indexMask_;
    index_[bucket] = static_cast<std::int32_t>(used_);
    entries_[used_].key = key;
    entries_[used_].value = value;
    ++used_;
    ++live_;
}

bool Table::remove(const Value& key, Value* removedValue) {
    if (!index_ || key.isNull())
        return false;
    std::int32_t position = indexOf(key, hashValue(key));
    if (position < 0)
        return false;
    // The bucket keeps pointing at the dead entry, so probe chains through it stay intact.
    Entry& e = entries_[position];
    if (removedValue)
        *removedValue = std::move(e.value);
    else
        e.value.setNull();
    e.key.setNull();
    --live_;
    return true;
}

void Table::clear() {
    Entry* old = entries_;
    std::uint32_t oldUsed = used_;
    entries_ = nullptr;
    delete[] index_;
    index_ = nullptr;
    capacity_ = used_ = live_ = indexMask_ = 0;
    // Values are released only after the table is consistent again: releasing one may run
    // code that looks at this table.
    for (std::uint32_t i = 0; i < oldUsed; ++i) {
        old[i].key.setNull();
        old[i].value.setNull();
    }
    delete[] old;
}

std::uint32_t Table::nextLive(std::uint32_t position) const {
    while (position < used_ && entries_[position].key.isNull())
        ++position;
    return position;
}

void Table::rebuild(std::uint32_t capacity) {
    Entry* entries = new Entry[capacity];
    std::uint32_t indexSize = capacity * 2;
    std::int32_t* index = new std::int32_t[indexSize];
    for (std::uint32_t i = 0; i < indexSize; ++i)
        index[i] = -1;
    std::uint32_t mask = indexSize - 1;
    std::uint32_t count = 0;
    for (std::uint32_t i = 0; i < used_; ++i) {
        Entry& e = entries_[i];
        if (e.key.isNull())
            continue;
        std::uint32_t bucket = hashValue(e.key) & mask;
        while (index[bucket] >= 0)
            bucket = (bucket + 1) & mask;
        index[bucket] = static_cast<std::int32_t>(count);
        entries[count].key = std::move(e.key);
        entries[count].value = std::move(e.value);
        ++count;
    }
    delete[] entries_;
    delete[] index_;
    entries_ = entries;
    index_ = index;
    capacity_ = capacity;
    used_ = count;
    live_ = count;
    indexMask_ = mask;
}

} // namespace squirrel::detail
