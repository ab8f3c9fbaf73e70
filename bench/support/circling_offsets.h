#pragma once

#include <irrlicht/irrlicht.h>

#include <cstddef>
#include <vector>

// Offsets that go round circles of one radius, each from its own phase, all turning by the same
// angle a step: one small rotation per offset rather than a sine and a cosine, so that moving
// many nodes costs the benchmark next to nothing.
class CirclingOffsets {
public:
    CirclingOffsets(const std::vector<float>& phases, float radius, float turn);

    // The offset of circle `index` (radius times (sin, cos) of its angle), which then turns one
    // step.
    irr::core::vector2df next(std::size_t index);

private:
    std::vector<irr::core::vector2df> offsets;
    float turnSin;
    float turnCos;
};
