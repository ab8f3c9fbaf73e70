#pragma once

#include "animators/abaseanimators.h"
#include "utils/math_misc.h"

#include <irrlicht/irrlicht.h>

// Makes the four corners of a sprite wobble: each corner is displaced by two smooth random
// oscillations (one per axis) of its own phase, every value between 0 and the amplitude.
// Nodes that are not sprites are left alone.
class CGeometryWarpAnimator : public CBaseAnimator {
public:
    // One wobble phase unit every `periodMs` / pi ms; corners move up to `amplitude` scene units.
    CGeometryWarpAnimator(int periodMs, float amplitude);

    // Draws the oscillators for the amplitude; they are drawn afresh for every node warped.
    void onAttached(irr::scene::ISceneNode* node) override;
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

private:
    NoiseOscillator nx;
    NoiseOscillator ny;
    int Period;
    float Amplitude;
};

// Turns a sprite to face the way it moves: its X axis runs along the last movement of at least
// 0.05 scene units. Smaller movements leave the sprite as it is, so it does not jitter when it
// (nearly) stands still. Nodes that are not sprites are left alone.
class CAlignToPathAnimator : public CBaseAnimator {
public:
    void onAttached(irr::scene::ISceneNode* node) override;
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

private:
    irr::core::vector3df LastPosition;
};
