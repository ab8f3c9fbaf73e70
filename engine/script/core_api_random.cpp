#include "core_api_random.h"

#include "utils/math_fastmath.h"

#include <cstdint>
#include <utility>
#include <vector>

squirrel::Object core_Rnd(squirrel::CallContext& call) {
    float a = call.floatArg(0);
    float b = call.floatArg(1);
    if (a == 0.0f && b == 0.0f) {
        b = 1.0f;
    }
    return squirrel::Object(randomFloat(a, b));
}

squirrel::Object core_CreateRndSequence(squirrel::CallContext& call) {
    int64_t from = call.intArg(0);
    int64_t count = static_cast<int64_t>(call.intArg(1)) - from;
    std::vector<int> sequence;
    sequence.reserve(static_cast<size_t>(count > 0 ? count : 0));
    for (int64_t i = 0; i < count; ++i) {
        sequence.push_back(static_cast<int>(from + i));
    }
    // Fisher-Yates: every place from the last down takes one of the values not placed yet, so
    // every order can come out. randomInt(0, n) stays below n.
    for (int64_t i = count - 1; i > 0; --i) {
        int64_t j = randomInt(0, static_cast<int>(i + 1));
        std::swap(sequence[static_cast<size_t>(i)], sequence[static_cast<size_t>(j)]);
    }
    squirrel::Object list = call.vm().newArray();
    for (int value : sequence) {
        list.append(squirrel::Object(value));
    }
    return list;
}
