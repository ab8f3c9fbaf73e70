#include "script_core_api/core_api_fixture.h"

#include "utils/math_fastmath.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

class CoreRandom : public CoreApiTest {
protected:
    static std::vector<int> sequence(int from, int to);
};

std::vector<int> CoreRandom::sequence(int from, int to) {
    squirrel::Object list =
        eval("core_CreateRndSequence(" + std::to_string(from) + ", " + std::to_string(to) + ")");
    std::vector<int> values;
    for (int i = 0; i < list.size(); ++i) {
        values.push_back(list.get(i).toInt());
    }
    return values;
}

TEST_F(CoreRandom, SequenceHoldsEveryIntegerOfTheRangeOnce) {
    setRandomSeed(7);
    EXPECT_EQ(sequence(0, 1), std::vector<int>{0});
    EXPECT_TRUE(sequence(5, 5).empty());
    EXPECT_TRUE(sequence(9, 3).empty());
    EXPECT_EQ(typeOf("core_CreateRndSequence(5, 5)"), "array");
    for (int run = 0; run < 20; ++run) {
        std::vector<int> values = sequence(-3, 47);
        std::sort(values.begin(), values.end());
        std::vector<int> expected;
        for (int i = -3; i < 47; ++i) {
            expected.push_back(i);
        }
        ASSERT_EQ(values, expected);
    }
}

TEST_F(CoreRandom, SequenceCanComeOutInEveryOrder) {
    setRandomSeed(12345);
    std::set<std::vector<int>> orders;
    for (int run = 0; run < 600; ++run) {
        orders.insert(sequence(0, 3));
    }
    EXPECT_EQ(orders.size(), 6u);
    // Every value also reaches the first and the last place.
    std::set<int> first, last;
    for (int run = 0; run < 400; ++run) {
        std::vector<int> values = sequence(10, 20);
        first.insert(values.front());
        last.insert(values.back());
    }
    EXPECT_EQ(first.size(), 10u);
    EXPECT_EQ(last.size(), 10u);
}

TEST_F(CoreRandom, RandomFloatStaysBetweenTheBoundsInEitherOrder) {
    setRandomSeed(99);
    EXPECT_EQ(typeOf("core_Rnd(1, 2)"), "float");
    float lowest = 100, highest = -100;
    for (int run = 0; run < 500; ++run) {
        float unit = eval("core_Rnd()").toFloat();
        EXPECT_GE(unit, 0.0f);
        EXPECT_LE(unit, 1.0f);
        float value = eval("core_Rnd(10, 5)").toFloat();
        EXPECT_GE(value, 5.0f);
        EXPECT_LE(value, 10.0f);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_LT(lowest, 5.5f);
    EXPECT_GT(highest, 9.5f);
}

} // namespace
