#include "path_follower.h"

#include <cmath>

namespace {

// Path time is in milliseconds, speed in segments per second.
const float kSecondsPerMs = 0.001f;
// Level animators run on this base timer, which stops while the level is not in play.
const int kLevelBaseTimer = 1;

} // namespace

CPathFollower::CPathFollower(std::vector<irr::core::vector2df> path, float speed, float tension)
    : Path(std::move(path)), Speed(speed), Tension(tension) {
    setBaseTimer(kLevelBaseTimer);
}

void CPathFollower::setPath(std::vector<irr::core::vector2df> path) {
    Path = std::move(path);
    RestartPending = true;
}

irr::core::vector2df CPathFollower::pointAt(const std::vector<irr::core::vector2df>& path,
                                            float segments, float tension) {
    if (path.empty()) {
        return irr::core::vector2df();
    }
    const int count = static_cast<int>(path.size());
    const float whole = std::floor(segments);
    const float t = segments - whole;
    const int segment = static_cast<int>(whole) % count;
    // Indices wrap around the closed path (a path of one point wraps more than once).
    auto at = [&](int index) -> const irr::core::vector2df& {
        return path[static_cast<size_t>(((index % count) + count) % count)];
    };
    const irr::core::vector2df& p0 = at(segment - 1);
    const irr::core::vector2df& p1 = at(segment);
    const irr::core::vector2df& p2 = at(segment + 1);
    const irr::core::vector2df& p3 = at(segment + 2);
    const irr::core::vector2df m1 = (p2 - p0) * tension;
    const irr::core::vector2df m2 = (p3 - p1) * tension;
    const float t2 = t * t;
    const float t3 = t2 * t;
    return p1 * (2 * t3 - 3 * t2 + 1) + p2 * (-2 * t3 + 3 * t2) + m1 * (t3 - 2 * t2 + t) +
           m2 * (t3 - t2);
}

void CPathFollower::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    if (Path.empty()) {
        // Nothing to follow: wait, and start the path when it gets points.
        PathStart = time;
        return;
    }
    if (RestartPending) {
        PathStart = time;
        RestartPending = false;
        HasLastPosition = false;
    }
    const float last = static_cast<float>(Path.size() - 1);
    float segments = static_cast<float>(time - PathStart) * Speed * kSecondsPerMs;
    // The closing segment (last point back to the first) ends the path. A time jump beyond it
    // ends the path too, at its last point, rather than wrapping into the next pass.
    const bool ended = std::floor(segments) >= last;
    if (segments >= last + 1) {
        segments = last;
    }
    const irr::core::vector2df position = pointAt(Path, segments, Tension);
    node->setPosition(irr::core::vector3df(position.X, position.Y, 0));
    const irr::core::vector2df from = HasLastPosition ? LastPosition : position;
    LastPosition = position;
    HasLastPosition = true;
    if (OnMove) {
        OnMove(from, position);
    }
    if (!ended) {
        return;
    }
    PathStart = time;
    HasLastPosition = false;
    ++CompletedPaths;
    if (OnPathEnd && OnPathEnd()) {
        removeThisAnimator();
    }
}
