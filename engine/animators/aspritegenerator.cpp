#include "aspritegenerator.h"

#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_sprite.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"
#include "utils/utils_str.h"

namespace {

// Below this distance between due ticks an oriented generator's node counts as standing still.
const float kLeastMove = 0.01f;

} // namespace

CRandomSpriteGenerator::CRandomSpriteGenerator(int periodMs, int randomExtraMs, int asChild,
                                               const std::vector<std::string>& files)
    : Period(periodMs), RandomExtra(randomExtraMs), AsChild(asChild), Files(files) {}

void CRandomSpriteGenerator::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    ProfileScope scope("ANIM-RNDSPRGEN|" __FILE__, __LINE__);
    CNodeBasement* engineNode = asEngineNode(node);
    if (engineNode == nullptr || Files.empty()) {
        return;
    }
    if (NextSpawn == 0) {
        NextSpawn = time + static_cast<irr::u32>(Period + randomInt(0, RandomExtra));
    }
    if (NextSpawn >= time) {
        return;
    }
    irr::core::vector3df position = engineNode->getPosition();
    if (HasLastPosition == 0) {
        HasLastPosition = 1;
        LastPosition = position;
    }
    // An oriented generator waits (still due) until the node moves, so it has a direction.
    if (Orient != 0 && LastPosition.getDistanceFrom(position) < kLeastMove) {
        return;
    }
    NextSpawn = 0;
    const std::string& file = Files[randomInt(0, static_cast<int>(Files.size()))];
    irr::core::dimension2df size = engineNode->getSize();
    CNodeBasement* spawned =
        AsChild != 0 ? createSprite(file, size.Width, size.Height, irr::core::vector3df(0, 0, 0),
                                    node, nullptr, format("%s:%i", __FILE__, __LINE__))
                     : createSprite(file, size.Width, size.Height, position, node->getParent(),
                                    nullptr, format("%s:%i", __FILE__, __LINE__));
    if (Orient != 0) {
        if (auto* sprite = dynamic_cast<CSpriteNode*>(spawned)) {
            sprite->turnTowards(LastPosition, position, AngleOffset);
        }
    }
    LastPosition = position;
}
