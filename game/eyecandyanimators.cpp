#include "eyecandyanimators.h"

#include "scene/node_sprite.h"

namespace {

// The oscillators' range while warping: slow, gentle wobbles.
constexpr float kWarpRange = 0.3f;
// Movements shorter than this do not turn an aligned sprite.
constexpr float kLeastAlignMove = 0.05f;

} // namespace

CGeometryWarpAnimator::CGeometryWarpAnimator(int periodMs, float amplitude)
    : nx(1, 1), ny(1, 1), Period(periodMs), Amplitude(amplitude) {}

void CGeometryWarpAnimator::onAttached(irr::scene::ISceneNode*) {
    nx = NoiseOscillator(Amplitude, kWarpRange);
    ny = NoiseOscillator(Amplitude, kWarpRange);
}

void CGeometryWarpAnimator::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(node);
    if (sprite == nullptr || Period <= 0) {
        return;
    }
    const irr::u32 elapsed = time - getStartTime();
    const float phase = static_cast<float>(elapsed) * irr::core::PI / static_cast<float>(Period);
    sprite->setCornerOffset(0, irr::core::vector3df(nx.value(phase), ny.value(phase), 0));
    sprite->setCornerOffset(1, irr::core::vector3df(nx.value(phase + 1), ny.value(phase + 1), 0));
    sprite->setCornerOffset(2,
                            irr::core::vector3df(nx.value(phase + 2.1f), ny.value(phase + 2), 0));
    sprite->setCornerOffset(3,
                            irr::core::vector3df(nx.value(phase + 3), ny.value(phase + 3.2f), 0));
    sprite->setCornerOffsetsEnabled(true);
}

void CAlignToPathAnimator::onAttached(irr::scene::ISceneNode* node) {
    LastPosition = node->getPosition();
}

void CAlignToPathAnimator::onTick(irr::scene::ISceneNode* node, irr::u32) {
    CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(node);
    if (sprite == nullptr) {
        return;
    }
    const irr::core::vector3df position = sprite->getPosition();
    if ((position - LastPosition).getLength() < kLeastAlignMove) {
        return;
    }
    sprite->turnTowards(LastPosition, position, 0);
    LastPosition = position;
}
