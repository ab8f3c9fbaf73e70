#include "scene/render_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace {

RenderSortRecord record(float z, int depth = 0, int type = 0, uintptr_t texture = 0,
                        int64_t hash = 0) {
    RenderSortRecord r;
    r.DepthKey = depthKeyOf(z);
    r.SortDepth = depth;
    r.SortMaterialType = type;
    r.SortTexture = reinterpret_cast<irr::video::ITexture*>(texture);
    r.PositionHash = hash;
    return r;
}

TEST(RenderSortOrder, FartherFirstThenFlatDepthMaterialTextureAndPosition) {
    // Each pair: the first is drawn before the second, decided by one key.
    const std::pair<RenderSortRecord, RenderSortRecord> pairs[] = {
        {record(1.0f), record(0.5f)},
        {record(0, 2), record(0, 5)},
        {record(0, 0, 3), record(0, 0, 17)},
        {record(0, 0, 0, 0x1000), record(0, 0, 0, 0x2000)},
        {record(0, 0, 0, 0, 7), record(0, 0, 0, 0, -7)},
        // An earlier key wins over every later one.
        {record(1.0f, 9, 9, 0x9000, -9), record(0.5f, 0, 0, 0, 9)},
        {record(0, 0, 9, 0x9000, -9), record(0, 1, 0, 0, 9)},
    };
    for (const auto& pair : pairs) {
        EXPECT_TRUE(drawsBefore(pair.first, pair.second));
        EXPECT_FALSE(drawsBefore(pair.second, pair.first));
    }
    EXPECT_FALSE(drawsBefore(record(1, 1, 1, 1, 1), record(1, 1, 1, 1, 1)));
}

TEST(RenderSortOrder, DepthKeysOfHugeAndNonNumberCoordinatesStayInRange) {
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(depthKeyOf(infinity), int64_t(9200000000000000000));
    EXPECT_EQ(depthKeyOf(1e30f), int64_t(9200000000000000000));
    EXPECT_EQ(depthKeyOf(-infinity), -int64_t(9200000000000000000));
    EXPECT_EQ(depthKeyOf(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_LT(depthKeyOf(1e10f), depthKeyOf(1e30f));
}

TEST(RenderSortOrder, DepthKeysSortBeyondTheRangeOfThirtyTwoBits) {
    EXPECT_EQ(depthKeyOf(25.0f), int64_t(2500000000));
    EXPECT_EQ(depthKeyOf(-30.0f), int64_t(-3000000000));
    EXPECT_LT(depthKeyOf(-25.0f), depthKeyOf(-21.0f));
    // Truncated towards zero.
    EXPECT_EQ(depthKeyOf(-0.000000015f), -1);
    EXPECT_EQ(depthKeyOf(0.000000015f), 1);

    std::vector<RenderSortRecord> records = {record(-30), record(21), record(30), record(22),
                                             record(-22)};
    std::sort(records.begin(), records.end(), drawsBefore);
    const float expected[] = {30, 22, 21, -22, -30};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].DepthKey, depthKeyOf(expected[i])) << i;
    }
}

// The keys in the order drawsBefore weighs them (without the node).
auto keysOf(const RenderSortRecord& r) {
    return std::make_tuple(r.DepthKey, r.SortDepth, r.SortMaterialType,
                           reinterpret_cast<uintptr_t>(r.SortTexture), r.PositionHash);
}

// Records whose keys come from small pools, so that every key decides some pairs and many records
// tie on the earlier keys; the values cover negative numbers, depths beyond 32 bits, textures at
// high addresses and without texture, and records equal in every key.
std::vector<RenderSortRecord> randomRecords(size_t count, std::mt19937& random) {
    const float depths[] = {-30.0f, -0.5f, 0.0f, 0.25f, 20.55f, 25.0f};
    const int flatDepths[] = {-100000, -1, 0, 2, 5, 70000};
    const int types[] = {0, 3, 17, 24, -2};
    const uintptr_t textures[] = {0, 0x1000, 0x1040, 0x7fff0000, ~uintptr_t(0) - 0xfff};
    std::vector<RenderSortRecord> records;
    for (size_t i = 0; i < count; ++i) {
        RenderSortRecord r =
            record(depths[random() % 6], flatDepths[random() % 6], types[random() % 5],
                   textures[random() % 5], static_cast<int64_t>(random() % 7) - 3);
        if (random() % 2 == 0) {
            r.PositionHash = depthKeyOf(float(int(random() % 4000) - 2000) / 100.0f) ^
                             depthKeyOf(float(int(random() % 4000) - 2000) / 100.0f);
        }
        r.Node = reinterpret_cast<CNodeBasement*>(uintptr_t(i + 1) * 16);
        records.push_back(r);
    }
    return records;
}

TEST(RenderSortOrder, RadixSortGivesTheComparisonOrderOnRandomKeys) {
    std::mt19937 random(20261209);
    std::vector<RenderSortRecord> scratch;
    // Short lists, lists around the size where the radix passes take over, large ones, and a
    // smaller list after a larger one (the scratch array is reused).
    for (size_t count : {0, 1, 2, 17, 63, 64, 65, 300, 5000, 20000, 700}) {
        std::vector<RenderSortRecord> records = randomRecords(count, random);
        std::vector<RenderSortRecord> expected = records;
        std::sort(expected.begin(), expected.end(), drawsBefore);

        sortForDrawing(records, scratch);

        ASSERT_EQ(records.size(), count);
        for (size_t i = 0; i < count; ++i) {
            ASSERT_EQ(keysOf(records[i]), keysOf(expected[i])) << "record " << i << " of " << count;
        }
        // Every node is still there once.
        std::vector<CNodeBasement*> nodes;
        for (const RenderSortRecord& r : records) {
            nodes.push_back(r.Node);
        }
        std::sort(nodes.begin(), nodes.end());
        EXPECT_EQ(std::unique(nodes.begin(), nodes.end()), nodes.end());
        EXPECT_TRUE(count == 0 || nodes.front() == reinterpret_cast<CNodeBasement*>(16));
    }
}

TEST(RenderSortOrder, RadixSortKeepsTheOrderOfRecordsEqualInEveryKey) {
    std::vector<RenderSortRecord> records;
    for (int i = 0; i < 200; ++i) {
        RenderSortRecord r = record(i % 2 == 0 ? 1.0f : 2.0f, 0, 0, 0x1000, 5);
        r.Node = reinterpret_cast<CNodeBasement*>(uintptr_t(i + 1) * 16);
        records.push_back(r);
    }
    std::vector<RenderSortRecord> scratch;
    sortForDrawing(records, scratch);
    // The farther half first, each half in the order it came.
    for (int i = 0; i < 200; ++i) {
        const int original = i < 100 ? 2 * i + 1 : 2 * (i - 100);
        EXPECT_EQ(records[i].Node, reinterpret_cast<CNodeBasement*>(uintptr_t(original + 1) * 16))
            << i;
    }
}

} // namespace
