#include "aeffectsanimators.h"

#include "scene/node_base.h"
#include "scene/node_sprite.h"
#include "utils/debug.h"

#include <cmath>

CAlphaPulsar::CAlphaPulsar(int periodMs, float highAlpha)
    : HighAlpha(highAlpha), Period(periodMs) {}

void CAlphaPulsar::onAttached(irr::scene::ISceneNode* node) {
    if (CNodeBasement* engineNode = asEngineNode(node)) {
        engineNode->setAlphaThreshold(0);
    }
}

void CAlphaPulsar::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    ProfileScope scope("ANIM-PULSAR|" __FILE__, __LINE__);
    CNodeBasement* engineNode = asEngineNode(node);
    if (engineNode == nullptr) {
        return;
    }
    // A pulse without period stays at its high alpha instead of dividing by zero.
    if (Period == 0) {
        engineNode->setAlpha(HighAlpha);
        return;
    }
    irr::u32 elapsed = time + static_cast<irr::u32>(PhaseOffset) - getStartTime();
    float angle = static_cast<float>(elapsed) * 3.1415927f / static_cast<float>(Period);
    engineNode->setAlpha(LowAlpha + (HighAlpha - LowAlpha) * (std::cos(angle) + 1.0f) / 2.0f);
}

CTextureScroller::CTextureScroller(float speedU, float speedV) : SpeedU(speedU), SpeedV(speedV) {}

void CTextureScroller::onStep(irr::scene::ISceneNode* node, float delta, irr::u32) {
    ProfileScope scope("ANIM-SCROLLER|" __FILE__, __LINE__);
    if (auto* sprite = dynamic_cast<CSpriteNode*>(node)) {
        sprite->scrollTexture(delta * SpeedU, delta * SpeedV);
    }
}
