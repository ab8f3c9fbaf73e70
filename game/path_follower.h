#pragma once

#include "animators/abaseanimators.h"

#include <functional>
#include <vector>

// Moves its node along a closed path on a cardinal (Hermite) spline, one segment per 1/speed
// seconds of level time (base timer 1, so it stands still while the level is not in play).
// The path is the follower's own copy: the level hands it each new main path with setPath, so
// nothing here points into the level. Its two handlers are the level's: whatever they capture
// must outlive the follower, or be held weakly and checked by the handler.
class CPathFollower : public CBaseAnimator {
public:
    // Called when the segment from the last point back to the first begins (the wave's path is
    // done). It loads the next wave, giving the follower its path with setPath, and returns true
    // when there is no next wave: the follower then removes itself.
    using PathEndHandler = std::function<bool()>;
    // Called after every move with the node's position before and after it (the level checks its
    // fire spots along the way). The first move on a path starts where it ends, so the jump from
    // one path's end to the next path's start is never reported as a way travelled.
    using MoveHandler =
        std::function<void(const irr::core::vector2df& from, const irr::core::vector2df& to)>;

    CPathFollower(std::vector<irr::core::vector2df> path, float speed, float tension);

    // A new path, started from its first segment at the next tick. An empty path makes the
    // follower wait where it is until it gets points.
    void setPath(std::vector<irr::core::vector2df> path);
    const std::vector<irr::core::vector2df>& getPath() const { return Path; }
    void setPathEndHandler(PathEndHandler handler) { OnPathEnd = std::move(handler); }
    void setMoveHandler(MoveHandler handler) { OnMove = std::move(handler); }
    // How many times the end of a path was reached.
    int getCompletedPaths() const { return CompletedPaths; }

    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

    // The point on the closed path at `segments` segments from its first point.
    static irr::core::vector2df pointAt(const std::vector<irr::core::vector2df>& path,
                                        float segments, float tension);

private:
    std::vector<irr::core::vector2df> Path;
    float Speed;
    float Tension;
    irr::u32 PathStart = 0;
    bool RestartPending = false;
    // Where the last move on the current path ended; unset at the start of each path.
    bool HasLastPosition = false;
    irr::core::vector2df LastPosition;
    int CompletedPaths = 0;
    PathEndHandler OnPathEnd;
    MoveHandler OnMove;
};
