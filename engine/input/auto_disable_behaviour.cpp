#include "auto_disable_behaviour.h"

#include "core/vellumengine.h"
#include "input/exclusive_link.h"
#include "input/feedback_image.h"
#include "scene/node_base.h"

const char* const CAutoDisableBehaviour::kName = "ONDISBT";

CAutoDisableBehaviour::CAutoDisableBehaviour(const std::string& condition,
                                             const std::string& disabledImage)
    : Condition(condition), DisabledImage(disabledImage) {}

void CAutoDisableBehaviour::onAttached(irr::scene::ISceneNode*) {
    setInterval(kInterval);
    setName(kName);
}

void CAutoDisableBehaviour::onTick(irr::scene::ISceneNode*, irr::u32) {
    CNodeBasement* node = asEngineNode(Node);
    if (node == nullptr || isFinished()) {
        return;
    }
    IsDisabled = getEngine()
                     .getScripting()
                     .callScriptCode(Condition, squirrel::Object(), OriginFile)
                     .toBool();
    CNodeBasement* shown = findFeedbackImage(node, DisabledNodeId);
    if (!IsDisabled && shown != nullptr) {
        fadeOutFeedbackImage(shown);
        DisabledNodeId = 0;
    } else if (IsDisabled && shown == nullptr && !DisabledImage.empty()) {
        shown = createFeedbackImage(node, DisabledImage);
        if (shown != nullptr) {
            DisabledNodeId = shown->getID();
            attachAnimator(shown, new CExclusiveLink(node));
        }
    }
}
