#include "hole_maker.h"

#include "core/vellumengine.h"
#include "game_data_files.h"
#include "input/module_mousekeyb.h"
#include "scene/node_factory.h"
#include "script/screen_points.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kBlackHoleSprite = gamefiles::kBlackHole;
constexpr const char* kWhiteHoleSprite = gamefiles::kWhiteHole;

LevelShots& levelShots() {
    static LevelShots shots;
    return shots;
}

// The first queued hole shot, or the end of the queue.
std::deque<HoleShot>::iterator firstHoleShot(std::deque<HoleShot>& queue) {
    return std::find_if(queue.begin(), queue.end(), [](const HoleShot& shot) {
        return shot.kind == HoleShot::kBlackHole || shot.kind == HoleShot::kWhiteHole;
    });
}

irr::core::position2di screenPointOf(const irr::core::vector2df& position) {
    return irr::core::position2di(static_cast<int>(std::lround(position.X)),
                                  static_cast<int>(std::lround(position.Y)));
}

} // namespace

void setCurrentLevelShots(std::deque<HoleShot>* queue, float* energy) {
    levelShots() = LevelShots{queue, energy};
}

const LevelShots& currentLevelShots() {
    return levelShots();
}

bool queueHoleShot(std::deque<HoleShot>& queue, float energy, const irr::core::vector2df& position,
                   int button) {
    if (energy < kHoleEnergyCost) {
        return false;
    }
    queue.push_back({position, button == 2 ? HoleShot::kBlackHole : HoleShot::kWhiteHole});
    return true;
}

CHoleMaker::CHoleMaker(float speed) : Speed(speed) {}

void CHoleMaker::onStep(irr::scene::ISceneNode* node, float delta, irr::u32) {
    if (node == nullptr) {
        return;
    }
    const CInputModule& input = getEngine().getInput();
    irr::core::position2di target(input.cursorX(), input.cursorY());
    const LevelShots& level = currentLevelShots();
    std::deque<HoleShot>::iterator shot;
    bool pending = false;
    if (level.queue != nullptr) {
        shot = firstHoleShot(*level.queue);
        pending = shot != level.queue->end();
        if (pending) {
            target = screenPointOf(shot->position);
        }
    }

    const irr::core::vector3df absolute = node->getAbsolutePosition();
    PlanePoint point;
    if (!screenPointInPlane(absolute, target, point)) {
        return;
    }
    irr::core::vector3df d = point.fromNode;
    d.Z = 0;
    // The move never passes the target: a long frame lands on it instead of overshooting (and,
    // past twice the distance, swinging ever wider around it).
    const float fraction = std::clamp(delta * Speed, 0.0f, 1.0f);
    irr::core::vector3df moved = absolute + d * fraction;
    if (irr::scene::ISceneNode* parent = node->getParent()) {
        irr::core::matrix4 toParent;
        if (parent->getAbsoluteTransformation().getInverse(toParent)) {
            toParent.transformVect(moved);
        }
    }
    node->setPosition(moved);
    node->updateAbsolutePosition();

    if (pending && d.getLength() < kHoleMakerReach) {
        const int kind = shot->kind;
        level.queue->erase(shot);
        if (level.energy != nullptr) {
            *level.energy -= kHoleEnergyCost;
        }
        dropHole(node, kind);
    }
}

void CHoleMaker::dropHole(irr::scene::ISceneNode* node, int kind) {
    const char* sprite = kind == HoleShot::kBlackHole ? kBlackHoleSprite : kWhiteHoleSprite;
    createSprite(resolveDataPath(sprite), 1, 1, node->getPosition(), node->getParent(), nullptr,
                 format("%s:%i", __FILE__, __LINE__));
}
