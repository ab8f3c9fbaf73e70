#pragma once

#include "animators/abaseanimators.h"

class CSpriteNode;

// Shows a watched value between 0 and 1 as a column of its sprite's atlas grid (0 the first
// column, 1 the last), moving at most MaxStep per step towards the value. With a fade time the
// gauge is hidden until the value changes (the first value seen is where it starts, not a
// change), shown at each change, and fades out once the fade time has passed without a change.
class CAtlasGaugeAnimator : public CBaseAnimator {
public:
    // The watched value must outlive the animator.
    CAtlasGaugeAnimator(const float* watched, int fadeTimeMs);

    void onAttached(irr::scene::ISceneNode* node) override;
    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;

    void setMaxStep(float step) { MaxStep = step; }
    float getShown() const { return Shown; }

private:
    void showColumn();
    void showChange(irr::u32 time);

    const float* Watched;
    float Shown;
    float MaxStep = 1000.0f;
    int FadeTime;
    irr::u32 FadeDeadline = 0;
    CSpriteNode* Sprite = nullptr;
};
