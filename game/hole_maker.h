#pragma once

#include "animators/abaseanimators.h"

#include <irrlicht/irrlicht.h>

#include <deque>

// A hole the player asked for: where (screen coordinates) and which kind.
struct HoleShot {
    static constexpr int kBlackHole = -1;
    static constexpr int kWhiteHole = -2;

    irr::core::vector2df position;
    int kind = kBlackHole;
};

// The energy a hole costs; a shot is only queued while the level has at least this much.
constexpr float kHoleEnergyCost = 0.49f;
// How near the aimer must come to a shot's position to drop the hole.
constexpr float kHoleMakerReach = 0.3f;

// The current level's shot queue and energy. The level owns both and registers them while it is
// current; the hole maker and the shot request reach them here. Both null while no level is
// current.
struct LevelShots {
    std::deque<HoleShot>* queue = nullptr;
    float* energy = nullptr;
};
void setCurrentLevelShots(std::deque<HoleShot>* queue, float* energy);
const LevelShots& currentLevelShots();

// Appends a shot at `position` when `energy` is at least the cost of a hole: a black hole for
// button 2, a white hole for any other button. Energy is only checked here, so shots queued
// together may take it below 0. Returns whether the shot was queued.
bool queueHoleShot(std::deque<HoleShot>& queue, float energy, const irr::core::vector2df& position,
                   int button);

// The player's aimer: moves its node towards the cursor, or towards the first queued shot, at a
// rate of `speed` times the remaining distance per 100 ms; on reaching the shot it drops the hole
// sprite under its parent, pays the energy and removes the shot. Runs on real time unless its
// description sets a base timer. Without a current level it only follows the cursor.
class CHoleMaker : public CBaseAnimator {
public:
    explicit CHoleMaker(float speed);

    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;

    float getSpeed() const { return Speed; }

private:
    void dropHole(irr::scene::ISceneNode* node, int kind);

    float Speed;
};
