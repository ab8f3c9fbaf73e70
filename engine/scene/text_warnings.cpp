#include "text_warnings.h"

#include "animators/alifetimeanimators.h"
#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_utilities.h"
#include "utils/system.h"
#include "utils/utils_str.h"

#include <atomic>

namespace {

// Each new warning moves the older ones down by this much.
const float kWarningLineStep = 1.1f;
const irr::core::vector3df kWarningPosition(0, 13, -1);
// The render pass drawn last, above everything else.
const int kTopRenderOrder = 17;

std::atomic<int>& counter() {
    static auto* count = new std::atomic<int>(0);
    return *count;
}

std::vector<irr::scene::ISceneNode*>& list() {
    static auto* nodes = new std::vector<irr::scene::ISceneNode*>();
    return *nodes;
}

} // namespace

void showWarning(const std::string& message, int lifetimeMs) {
    CVellumEngine& engine = getEngine();
    ScopedLock guard(engine.getSceneLock());
    for (irr::scene::ISceneNode* node : list()) {
        node->setPosition(node->getPosition() + irr::core::vector3df(0, -kWarningLineStep, 0));
    }
    CNodeBasement* warning =
        createTextNode(format("<font-size:-1>\n[%s] %s", timeText().c_str(), message.c_str()),
                       kWarningPosition, getNodeByName("pole"), kNoNodeId);
    if (warning != nullptr) {
        warning->setRenderOrder(kTopRenderOrder);
        attachAnimator(warning, new CSelfDestructAnimator(lifetimeMs, 0));
        attachAnimator(warning, new CCounterHolder(&counter()));
        attachAnimator(warning, new CListMembership(&list()));
    }
    engine.logLeveled(format("core_warning: %s", message.c_str()), 1);
}

const std::vector<irr::scene::ISceneNode*>& warningNodes() {
    return list();
}

int warningCount() {
    return counter();
}
