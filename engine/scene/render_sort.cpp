#include "render_sort.h"

#include "scene/node_base.h"
#include "utils/math_misc.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint64_t kSignBit = uint64_t(1) << 63;
constexpr int kDigitBits = 11;
constexpr int kBuckets = 1 << kDigitBits;
constexpr int kMaxDigits = (64 + kDigitBits - 1) / kDigitBits;
// Below this many records a comparison sort is quicker than the radix passes.
constexpr size_t kSmallList = 64;

// The keys as unsigned numbers that grow in drawing order, least significant first.
template <int Key>
uint64_t orderedKey(const RenderSortRecord& record) {
    if constexpr (Key == 0) {
        // The larger position hash first.
        return ~(static_cast<uint64_t>(record.PositionHash) ^ kSignBit);
    } else if constexpr (Key == 1) {
        return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(record.SortTexture));
    } else if constexpr (Key == 2) {
        return static_cast<uint64_t>(static_cast<int64_t>(record.SortMaterialType)) ^ kSignBit;
    } else if constexpr (Key == 3) {
        return static_cast<uint64_t>(static_cast<int64_t>(record.SortDepth)) ^ kSignBit;
    } else {
        // The larger depth key (farther) first.
        return ~(static_cast<uint64_t>(record.DepthKey) ^ kSignBit);
    }
}

// The smallest and largest value of one key over the records.
struct KeyRange {
    uint64_t low = ~uint64_t(0);
    uint64_t high = 0;

    void widen(uint64_t key) {
        low = std::min(low, key);
        high = std::max(high, key);
    }
};

// Sorts `from` by one key into stable order, by 11-bit digits of the key's distance from its
// smallest value; the passes alternate between the two arrays, and `from` ends up holding the
// result.
template <int Key>
void sortByKey(std::vector<RenderSortRecord>& from, std::vector<RenderSortRecord>& to,
               const KeyRange& range) {
    const size_t count = from.size();
    const uint64_t low = range.low;
    if (low == range.high) {
        return;
    }
    int digits = 0;
    for (uint64_t spread = range.high - low; spread != 0; spread >>= kDigitBits) {
        ++digits;
    }
    uint32_t counts[kMaxDigits][kBuckets];
    std::memset(counts, 0, sizeof(counts[0]) * digits);
    for (const RenderSortRecord& record : from) {
        const uint64_t key = orderedKey<Key>(record) - low;
        for (int digit = 0; digit < digits; ++digit) {
            ++counts[digit][(key >> (digit * kDigitBits)) & (kBuckets - 1)];
        }
    }
    const uint64_t firstKey = orderedKey<Key>(from[0]) - low;
    for (int digit = 0; digit < digits; ++digit) {
        const int shift = digit * kDigitBits;
        uint32_t* bucketCounts = counts[digit];
        // Every record has the same value in this digit: the pass would change nothing.
        if (bucketCounts[(firstKey >> shift) & (kBuckets - 1)] == count) {
            continue;
        }
        uint32_t next = 0;
        for (int bucket = 0; bucket < kBuckets; ++bucket) {
            const uint32_t size = bucketCounts[bucket];
            bucketCounts[bucket] = next;
            next += size;
        }
        for (const RenderSortRecord& record : from) {
            const uint64_t key = orderedKey<Key>(record) - low;
            to[bucketCounts[(key >> shift) & (kBuckets - 1)]++] = record;
        }
        from.swap(to);
    }
}

} // namespace

int64_t depthKeyOf(float coordinate) {
    // Beyond about 9.2e10 units the key would not hold the value: it is kept at its limit, and
    // a coordinate that is not a number counts as 0.
    return clampedInteger<int64_t>(static_cast<double>(coordinate) * 1e8, 9.2e18);
}

RenderSortRecord makeSortRecord(CNodeBasement* node) {
    RenderSortRecord record;
    record.Node = node;
    if (node->getMaterialCount() > 0) {
        const irr::video::SMaterial& material = node->getMaterial(0);
        record.SortTexture = material.getTexture(0);
        record.SortMaterialType = static_cast<int>(material.MaterialType);
    }
    const irr::core::vector3df position = node->getAbsolutePosition();
    record.PositionHash = depthKeyOf(position.X) ^ depthKeyOf(position.Y);
    record.DepthKey = depthKeyOf(position.Z);
    record.SortDepth = node->getAbsoluteDepth();
    return record;
}

void sortForDrawing(std::vector<RenderSortRecord>& records,
                    std::vector<RenderSortRecord>& scratch) {
    if (records.size() < kSmallList) {
        std::sort(records.begin(), records.end(), drawsBefore);
        return;
    }
    // One pass finds the ranges of all five keys; keys in which all records agree need no pass.
    KeyRange ranges[5];
    for (const RenderSortRecord& record : records) {
        ranges[0].widen(orderedKey<0>(record));
        ranges[1].widen(orderedKey<1>(record));
        ranges[2].widen(orderedKey<2>(record));
        ranges[3].widen(orderedKey<3>(record));
        ranges[4].widen(orderedKey<4>(record));
    }
    scratch.resize(records.size());
    sortByKey<0>(records, scratch, ranges[0]);
    sortByKey<1>(records, scratch, ranges[1]);
    sortByKey<2>(records, scratch, ranges[2]);
    sortByKey<3>(records, scratch, ranges[3]);
    sortByKey<4>(records, scratch, ranges[4]);
}
