#pragma once

#include <algorithm>
#include <cmath>

// A smooth random oscillation between 0 and an amplitude A around A / 2: five weighted sine
// and cosine terms with random frequencies and phases, normalised by the sum of the weights.
class NoiseOscillator {
public:
    // Draws weights from (0, range) and frequencies and phases from (-range, range) when range
    // is above 0.00001; otherwise everything but the base stays 0.
    NoiseOscillator(float amplitude, float range);
    float value(float t) const;

private:
    float base = 0;
    float w1 = 0, f1 = 0, p1 = 0;
    float w2 = 0, f2 = 0, p2 = 0;
    float w3 = 0, f3 = 0, p3 = 0, f3b = 0, p3b = 0;
    float w4 = 0, f4 = 0, p4 = 0, f4b = 0, p4b = 0;
    float w5 = 0, f5 = 0, p5 = 0, f5b = 0, p5b = 0;
};

// The value truncated towards zero to an Integer, kept within -limit..limit (a bound the Integer
// holds, given in the value's own type); NaN gives 0. For numbers read from files, which may be
// anything.
template <typename Integer, typename Real>
Integer clampedInteger(Real value, Real limit) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<Integer>(std::clamp(value, -limit, limit));
}
