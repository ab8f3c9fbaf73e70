#pragma once

#include "animators/abaseanimators.h"

// Makes a node pulse: its Alpha swings on a cosine between the high alpha and the low alpha,
// a full swing taking twice the period. With no phase offset the pulse starts at the high alpha;
// an offset of one period starts it at the low alpha.
class CAlphaPulsar : public CBaseAnimator {
public:
    CAlphaPulsar(int periodMs, float highAlpha);

    void setLowAlpha(float alpha) { LowAlpha = alpha; }
    void setPhaseOffset(int ms) { PhaseOffset = ms; }

    // Lets the node draw at any alpha, however low the pulse goes.
    void onAttached(irr::scene::ISceneNode* node) override;
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

private:
    float HighAlpha;
    int Period;
    int PhaseOffset = 0;
    float LowAlpha = 0;
};

// Scrolls a sprite's texture by (SpeedU, SpeedV) texture units every 100 ms, without bound.
class CTextureScroller : public CBaseAnimator {
public:
    CTextureScroller(float speedU, float speedV);

    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;

private:
    float SpeedU;
    float SpeedV;
};
