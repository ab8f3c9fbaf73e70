#include "object_info.h"

#include "animators/aatlasgauge.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

CObjectInfoAnimator::CObjectInfoAnimator(int health, int attack, const std::string& type,
                                         int showHealthBar)
    : Health(health), MaxHealth(health), Attack(attack), ShowHealthBar(showHealthBar), Type(type) {
    setName(kAnimatorName);
}

CObjectInfoAnimator::~CObjectInfoAnimator() {
    if (HealthBar != nullptr) {
        HealthBar->drop();
    }
}

void CObjectInfoAnimator::onAttached(irr::scene::ISceneNode* node) {
    if (ShowHealthBar == 0 || node == nullptr) {
        return;
    }
    HealthBar = createSprite(resolveDataPath(kHealthBarSprite), 1, 1, {0, 0, 0}, node, nullptr,
                             format("%s:%i", __FILE__, __LINE__));
    if (HealthBar == nullptr) {
        return;
    }
    // Held so that a script removing the bar leaves no dangling pointer behind.
    HealthBar->grab();
    attachAnimator(HealthBar, new CAtlasGaugeAnimator(&HealthFraction, kHealthBarFadeTimeMs));
    HealthFraction = 1;
}

void CObjectInfoAnimator::onStep(irr::scene::ISceneNode*, float, irr::u32) {
    HealthFraction =
        MaxHealth != 0 ? static_cast<float>(Health) / static_cast<float>(MaxHealth) : 0;
}

CObjectInfoAnimator* findObjectInfo(irr::scene::ISceneNode* node) {
    CNodeBasement* engineNode = asEngineNode(node);
    if (engineNode == nullptr) {
        return nullptr;
    }
    return dynamic_cast<CObjectInfoAnimator*>(
        engineNode->findAnimator(CObjectInfoAnimator::kAnimatorName, false));
}
