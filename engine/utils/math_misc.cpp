#include "math_misc.h"

#include "math_fastmath.h"

#include <cmath>

NoiseOscillator::NoiseOscillator(float amplitude, float range) : base(amplitude / 2) {
    if (range <= 0.00001f) {
        return;
    }
    // Drawn in field order so a seeded generator gives the same oscillator.
    float* fields[] = {&w1, &f1, &p1, &w2,  &f2,  &p2, &w3, &f3, &p3,  &f3b, &p3b,
                       &w4, &f4, &p4, &f4b, &p4b, &w5, &f5, &p5, &f5b, &p5b};
    float* weights[] = {&w1, &w2, &w3, &w4, &w5};
    for (float* field : fields) {
        bool isWeight = false;
        for (float* weight : weights) {
            isWeight = isWeight || weight == field;
        }
        *field = isWeight ? randomFloat(0, range) : randomFloat(-range, range);
    }
}

float NoiseOscillator::value(float t) const {
    float t1 = w1 * std::sin(f1 * t + p1);
    float t2 = w2 * std::cos(f2 * t + p2);
    float t3 = w3 * std::sin(f3 * t + p3) * std::sin(f3b * t + p3b);
    float t4 = w4 * std::cos(f4 * t + p4) * std::cos(f4b * t + p4b);
    float t5 = w5 * std::sin(f5 * t + p5) * std::cos(f5b * t + p5b);
    float weights = w1 + w2 + w3 + w4 + w5;
    // Without weights (a range of 0) the oscillator rests at its middle instead of dividing by 0.
    if (weights == 0) {
        return base;
    }
    return base + base * (t1 + t2 + t3 + t4 + t5) / weights;
}
