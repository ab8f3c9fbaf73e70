#include "scene/render_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
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

} // namespace
