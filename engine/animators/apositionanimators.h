#pragma once

#include "animators/abaseanimators.h"

// Moves a node along a straight line over a duration (once or looping), or at a constant
// velocity. Modes: kMoveFromTo goes from `From` to the target; kMoveInFromOffset arrives at the
// node's position from the position offset by (target - From); kMoveByOffset leaves the node's
// position for the position offset by (target - From); kMoveAtVelocity moves by the target vector
// every 100 ms and never ends. A move that ends sets its exact end position and removes itself;
// one without duration ends at its first step.
class CMoveAnimator : public CBaseAnimator {
public:
    enum Mode {
        kMoveFromTo = 0,
        kMoveInFromOffset = 1,
        kMoveByOffset = 2,
        kMoveAtVelocity = 3,
    };

    CMoveAnimator(int mode, const irr::core::vector3df& target, irr::u32 durationMs, bool loop);

    void setFrom(const irr::core::vector3df& from) { From = from; }
    // Time added to the elapsed time (the move starts that far along).
    void setOffset(irr::u32 ms) { Offset = ms; }

    void onAttached(irr::scene::ISceneNode* node) override;
    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;

protected:
    void applyPosition(irr::scene::ISceneNode* node, irr::u32 elapsed, float delta);

    irr::core::vector3df From;
    irr::core::vector3df To;
    int Mode;
    irr::u32 Duration;
    irr::u32 Offset = 0;
    bool Loop;
    // The node's size and alpha (x 255) when the move was attached, for derived moves.
    irr::core::dimension2df SizeAtAttach;
    int AlphaAtAttach = 0;
};

// Resizes a node linearly over a duration, then sets the exact end size and removes itself; one
// without duration sets the end size at its first step.
class CSizeAnimator : public CBaseAnimator {
public:
    CSizeAnimator(float fromWidth, float fromHeight, irr::u32 durationMs, float toWidth,
                  float toHeight);

    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

private:
    float ToWidth;
    float ToHeight;
    float FromWidth;
    float FromHeight;
    irr::u32 Duration;
};

// Turns a sprite in the screen plane by `speed` radians every 100 ms, until the sprite or the
// animator goes. A speed of at most 0.001 in size never turns it.
class CRotationAnimator : public CBaseAnimator {
public:
    // The time of the description key is taken and not used: the turn never ends by itself.
    CRotationAnimator(float time, float speed);

    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;

private:
    float Speed;
    int Active;
};
