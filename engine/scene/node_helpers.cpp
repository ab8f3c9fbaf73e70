#include "node_helpers.h"

#include "animators/afadeanimators.h"
#include "animators/alifetimeanimators.h"
#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "utils/utils_str.h"

#include <cmath>

namespace {

const float kNoDelta = 0.00001f;
const float kSettled = 0.0001f;
// The shown value moves FollowRate x this per delta unit.
const float kFollowStep = 0.0001f * 0.3f;
const float kVisibleShare = 0.001f;
const float kVerticalAngle = 270;

std::string creationTag(int line) {
    return format("%s:%i", __FILE__, line);
}

} // namespace

void CSliderAnimator::onStep(irr::scene::ISceneNode*, float delta, irr::u32) {
    Slider->update(delta);
}

CSlider::CSlider(const irr::core::vector3df& position, const float* boundValue,
                 const std::string& backgroundSource, const std::string& fillSource, float width,
                 float height, irr::scene::ISceneNode* parent, bool vertical)
    : BarHeight(height), BarWidth(width), BoundValue(boundValue), Vertical(vertical ? 1 : 0) {
    if (BarWidth < 0 && BarHeight < 0) {
        BarWidth = 1;
        BarHeight = 1;
    }
    FullSize = irr::core::dimension2df(BarWidth, BarHeight);
    CVellumEngine& engine = getEngine();
    ScopedLock guard(engine.getSceneLock());
    if (parent == nullptr) {
        parent = engine.getSceneManager()->getRootSceneNode();
    }
    Container = createEmptyNode(parent, kNoNodeId, irr::core::vector3df(0, 0, 0));
    Container->setAlpha(0);
    Container->setPosition(position);
    Container->setOwner(this);

    const irr::core::vector3df origin(0, 0, 0);
    if (!backgroundSource.empty()) {
        Background = createSprite(backgroundSource, BarWidth, BarHeight, origin, Container, nullptr,
                                  creationTag(__LINE__));
    }
    Fill = dynamic_cast<CSpriteNode*>(createSprite(fillSource, BarWidth, BarHeight, origin,
                                                   Container, nullptr, creationTag(__LINE__)));
    if (Fill != nullptr) {
        FullSize = Fill->getSize();
        BarWidth = FullSize.Width;
        BarHeight = FullSize.Height;
    }
    if (Vertical != 0) {
        StartPoint = irr::core::vector3df(0, -BarHeight / 2, 0);
        EndPoint = irr::core::vector3df(0, BarHeight / 2, 0);
    } else {
        StartPoint = irr::core::vector3df(-BarWidth / 2, 0, 0);
        EndPoint = irr::core::vector3df(BarWidth / 2, 0, 0);
    }
    float angle = Vertical != 0 ? kVerticalAngle : 0;
    for (CSpriteNode* piece : {Fill, dynamic_cast<CSpriteNode*>(Background)}) {
        if (piece != nullptr) {
            float z = piece->getPosition().Z;
            piece->placeBetween({StartPoint.X, StartPoint.Y, z}, {EndPoint.X, EndPoint.Y, z}, 0,
                                true, false, false, angle);
        }
    }
    if (Fill != nullptr) {
        Fill->setVisible(false);
    }
    Animator = new CSliderAnimator(this);
    Animator->setInterval(kStepInterval);
    attachAnimator(Container, Animator);
    Container->setVisible(true);
}

void CSlider::dismiss(int fadeMs) {
    if (fadeMs == 0) {
        deleteNode(Container);
        return;
    }
    attachAnimator(Container, new CSelfDestructAnimator(fadeMs, fadeMs));
    for (CNodeBasement* node : {static_cast<CNodeBasement*>(Fill), Background, Container}) {
        attachAnimator(node, new CAlphaFadeAnimator(fadeMs, -1, 0));
    }
}

void CSlider::update(float delta) {
    float target = *BoundValue;
    float shown;
    if (ShownValue < 0 || delta < kNoDelta) {
        ShownValue = target;
        shown = target;
    } else {
        float distance = std::fabs(ShownValue - target);
        if (distance < kSettled) {
            return;
        }
        float step = delta * kFollowStep * FollowRate;
        if (step > distance) {
            shown = target;
        } else {
            ShownValue += ShownValue < target ? step : -step;
            shown = ShownValue;
        }
    }
    if (shown > 1) {
        shown = 1;
    }
    placeFill(shown);
}

void CSlider::placeFill(float shown) {
    if (Fill == nullptr) {
        return;
    }
    if (shown <= kVisibleShare) {
        Fill->setVisible(false);
        return;
    }
    irr::core::vector3df run = EndPoint - StartPoint;
    irr::core::vector3df end = StartPoint + run * shown;
    Fill->setVisible(true);
    if (Vertical != 0) {
        Fill->setSize(FullSize.Width, BarHeight * shown);
    } else {
        Fill->setSize(BarWidth * shown, FullSize.Height);
    }
    const irr::core::vector3df& w = PlacementWeights;
    irr::core::vector3df placed =
        StartPoint * w.X + end * (1 - w.X) + run * shown * w.Y + run * w.Z;
    Fill->setPosition({placed.X, placed.Y, Fill->getPosition().Z});
    if (Vertical != 0) {
        Fill->setFillY(shown);
    } else {
        Fill->setFillX(shown);
    }
}
