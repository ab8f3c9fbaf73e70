#include "aatlasgauge.h"

#include "scene/node_sprite.h"

#include <algorithm>
#include <cmath>

namespace {

// Shown before the first step.
const float kNothingShown = -100.99f;
// Opacity lost per 100 ms while fading out.
const float kFadePerDelta = 0.1f;
const float kFadedOut = 0.005f;

} // namespace

CAtlasGaugeAnimator::CAtlasGaugeAnimator(const float* watched, int fadeTimeMs)
    : Watched(watched), Shown(kNothingShown), FadeTime(fadeTimeMs) {}

void CAtlasGaugeAnimator::onAttached(irr::scene::ISceneNode* node) {
    FadeDeadline = 0;
    Sprite = dynamic_cast<CSpriteNode*>(node);
    if (Sprite != nullptr && FadeTime != 0) {
        Sprite->setAlphaFactor(0);
    }
}

void CAtlasGaugeAnimator::onStep(irr::scene::ISceneNode*, float delta, irr::u32 time) {
    if (Sprite == nullptr || Watched == nullptr) {
        return;
    }
    const float target = std::min(1.0f, std::max(0.0f, *Watched));
    if (Shown == kNothingShown) {
        // The first value is where the gauge starts, not a change: its column is set at once
        // (clamped like every later one, so no column outside the grid is ever shown), and a
        // gauge that fades stays hidden.
        Shown = target;
        showColumn();
    }
    bool changed = false;
    if (target != Shown) {
        changed = true;
        if (std::fabs(target - Shown) < MaxStep) {
            Shown = target;
        } else {
            Shown += target > Shown ? MaxStep : -MaxStep;
        }
    }
    if (changed) {
        showChange(time);
    }
    if (FadeDeadline != 0 && time > FadeDeadline) {
        float factor = Sprite->getAlphaFactor() - delta * kFadePerDelta;
        if (factor < kFadedOut) {
            factor = 0;
            FadeDeadline = 0;
        }
        Sprite->setAlphaFactor(factor);
    }
}

void CAtlasGaugeAnimator::showColumn() {
    Sprite->setAtlas(std::ceil(Shown * (Sprite->getAtlasW() - 1)), Sprite->getAtlasY(),
                     Sprite->getAtlasW(), Sprite->getAtlasH(), 0);
}

void CAtlasGaugeAnimator::showChange(irr::u32 time) {
    showColumn();
    if (FadeTime != 0) {
        Sprite->setAlphaFactor(1.0f);
        FadeDeadline = time + static_cast<irr::u32>(FadeTime);
    }
}
