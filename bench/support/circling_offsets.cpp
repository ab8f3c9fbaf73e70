#include "circling_offsets.h"

#include <cmath>

CirclingOffsets::CirclingOffsets(const std::vector<float>& phases, float radius, float turn)
    : turnSin(std::sin(turn)), turnCos(std::cos(turn)) {
    offsets.reserve(phases.size());
    for (float phase : phases) {
        offsets.emplace_back(radius * std::sin(phase), radius * std::cos(phase));
    }
}

irr::core::vector2df CirclingOffsets::next(std::size_t index) {
    irr::core::vector2df& offset = offsets[index];
    const irr::core::vector2df now = offset;
    offset.set(now.X * turnCos + now.Y * turnSin, now.Y * turnCos - now.X * turnSin);
    return now;
}
