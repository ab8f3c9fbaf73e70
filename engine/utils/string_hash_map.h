#pragma once

#include "platform/bad_exception.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The engine's map from string keys to values: hash h = h * 33 + byte over the key (bytes taken
// as signed 8-bit values, as the engine's text type has them), a fixed number of buckets, and
// iteration in bucket order, each bucket in insertion order. Keys are never null; passing a null
// C string raises CBadException.
template <typename Value>
class StringHashMap {
public:
    using Entry = std::pair<std::string, Value>;

    explicit StringHashMap(size_t bucketCount = 17) : buckets(bucketCount) {}

    static uint32_t hashOf(const std::string& key) {
        uint32_t h = 0;
        for (char c : key) {
            h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
        }
        return h;
    }

    Value* find(const std::string& key) {
        for (Entry& entry : bucketOf(key)) {
            if (entry.first == key) {
                return &entry.second;
            }
        }
        return nullptr;
    }
    const Value* find(const std::string& key) const {
        return const_cast<StringHashMap*>(this)->find(key);
    }
    Value* find(const char* key) { return find(checked(key)); }

    bool contains(const std::string& key) const { return find(key) != nullptr; }

    // The value under the key, inserted as a default value when missing.
    Value& operator[](const std::string& key) {
        if (Value* value = find(key)) {
            return *value;
        }
        std::vector<Entry>& bucket = bucketOf(key);
        bucket.emplace_back(key, Value());
        ++count;
        return bucket.back().second;
    }
    Value& operator[](const char* key) { return (*this)[checked(key)]; }

    void set(const std::string& key, Value value) { (*this)[key] = std::move(value); }

    bool remove(const std::string& key) {
        std::vector<Entry>& bucket = bucketOf(key);
        for (auto it = bucket.begin(); it != bucket.end(); ++it) {
            if (it->first == key) {
                bucket.erase(it);
                --count;
                return true;
            }
        }
        return false;
    }

    void clear() {
        for (std::vector<Entry>& bucket : buckets) {
            bucket.clear();
        }
        count = 0;
    }

    size_t size() const { return count; }
    bool empty() const { return count == 0; }

    // Calls visit(key, value) for every entry in bucket order.
    template <typename Visitor>
    void forEach(Visitor&& visit) const {
        for (const std::vector<Entry>& bucket : buckets) {
            for (const Entry& entry : bucket) {
                visit(entry.first, entry.second);
            }
        }
    }

private:
    static std::string checked(const char* key) {
        if (!key) {
            throw CBadException("StringHashMap: null key");
        }
        return key;
    }

    std::vector<Entry>& bucketOf(const std::string& key) {
        return buckets[hashOf(key) % buckets.size()];
    }

    std::vector<std::vector<Entry>> buckets;
    size_t count = 0;
};
