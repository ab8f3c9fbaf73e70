#include "apositionanimators.h"

#include "scene/node_base.h"
#include "scene/node_sprite.h"

#include <cmath>

namespace {

const float kLeastSpeed = 0.001f;

} // namespace

CMoveAnimator::CMoveAnimator(int mode, const irr::core::vector3df& target, irr::u32 durationMs,
                             bool loop)
    : From(0, 0, 0), To(target), Mode(mode), Duration(durationMs), Loop(loop) {}

void CMoveAnimator::onAttached(irr::scene::ISceneNode* node) {
    if (CNodeBasement* engineNode = asEngineNode(node)) {
        SizeAtAttach = engineNode->getSize();
        AlphaAtAttach = static_cast<int>(engineNode->getAlpha() * 255.0f);
    }
    irr::core::vector3df position = node->getPosition();
    irr::core::vector3df range = To - From;
    switch (Mode) {
    case kMoveInFromOffset:
        From = position + range;
        To = position;
        break;
    case kMoveByOffset:
        From = position;
        To = position + range;
        break;
    case kMoveAtVelocity:
        From = position;
        break;
    default:
        break;
    }
    applyPosition(node, 0, 0);
}

void CMoveAnimator::applyPosition(irr::scene::ISceneNode* node, irr::u32 elapsed, float delta) {
    if (Mode == kMoveAtVelocity) {
        node->setPosition(node->getPosition() + To * delta);
        return;
    }
    irr::u32 along = Duration != 0 ? (elapsed + Offset) % Duration : 0;
    float f = Duration != 0 ? static_cast<float>(along) / static_cast<float>(Duration) : 0.0f;
    node->setPosition(From * (1 - f) + To * f);
}

void CMoveAnimator::onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) {
    irr::u32 elapsed = time - getStartTime();
    bool running = Mode == kMoveAtVelocity || (Duration != 0 && (Loop || elapsed < Duration));
    if (running) {
        applyPosition(node, elapsed, delta);
        return;
    }
    node->setPosition(To);
    removeThisAnimator();
}

CSizeAnimator::CSizeAnimator(float fromWidth, float fromHeight, irr::u32 durationMs, float toWidth,
                             float toHeight)
    : ToWidth(toWidth), ToHeight(toHeight), FromWidth(fromWidth), FromHeight(fromHeight),
      Duration(durationMs) {}

void CSizeAnimator::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    CNodeBasement* engineNode = asEngineNode(node);
    if (engineNode == nullptr) {
        return;
    }
    irr::u32 elapsed = time - getStartTime();
    if (Duration == 0 || elapsed > Duration) {
        engineNode->setSize(ToWidth, ToHeight);
        removeThisAnimator();
        return;
    }
    float k = 1.0f - static_cast<float>(elapsed) / static_cast<float>(Duration);
    engineNode->setSize((FromWidth - ToWidth) * k + ToWidth,
                        (FromHeight - ToHeight) * k + ToHeight);
}

CRotationAnimator::CRotationAnimator(float, float speed)
    : Speed(speed), Active(std::fabs(speed) > kLeastSpeed ? 1 : 0) {}

void CRotationAnimator::onStep(irr::scene::ISceneNode* node, float delta, irr::u32) {
    CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(node);
    if (Active != 0 && sprite != nullptr) {
        sprite->setFlatRotation(sprite->getFlatRotation() + delta * Speed);
    }
}
