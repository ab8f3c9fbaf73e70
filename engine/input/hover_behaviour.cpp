#include "hover_behaviour.h"

#include "core/vellumengine.h"
#include "input/behaviour_scripts.h"
#include "input/feedback_image.h"
#include "input/focus_chain.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"

const char* const CHoverBehaviour::kName = "ONOVRAN";

namespace {

// Stands for "hovering" when there is no image to show.
const int kHoverMarkerId = 1001;
// Hover stops once the game is paused.
const int kHighestHoverPauseLevel = 1;

} // namespace

CHoverBehaviour::CHoverBehaviour(const std::string& image, const std::string& sound)
    : Image(image), Sound(sound) {
    setName(kName);
    setInterval(kDormantInterval);
}

CHoverBehaviour::~CHoverBehaviour() {
    leave();
}

void CHoverBehaviour::onAttached(irr::scene::ISceneNode* node) {
    Target = asEngineNode(node);
    if (Target == nullptr) {
        return;
    }
    ForceNodeToHaveID(Target);
    CFocusChain& chain = getFocusChain();
    chain.registerClickable(Target, false);
    chain.addHandler(InputHandlers::Hover, this);
    Joined = true;
}

void CHoverBehaviour::finish() {
    if (Joined && HoverNodeId != kHoverMarkerId) {
        if (CNodeBasement* image = findFeedbackImage(Target, HoverNodeId)) {
            deleteNode(image);
        }
    }
    leave();
    CBaseAnimator::finish();
}

void CHoverBehaviour::leave() {
    if (!Joined) {
        return;
    }
    Joined = false;
    CFocusChain& chain = getFocusChain();
    chain.unregisterClickable(Target);
    chain.removeHandler(InputHandlers::Hover, this);
}

void CHoverBehaviour::onTick(irr::scene::ISceneNode*, irr::u32) {
    if (Target == nullptr || isFinished() ||
        getEngine().getPauseLevel() > kHighestHoverPauseLevel) {
        return;
    }
    CFocusChain& chain = getFocusChain();
    int id = Target->getID();
    bool hovering = !Disabled && chain.underCursorId() == id && chain.isInputAllowed(id);
    if (hovering && HoverNodeId == 0) {
        comeOver();
    } else if (!hovering && HoverNodeId != 0) {
        goAway(!Disabled);
    }
}

void CHoverBehaviour::comeOver() {
    HoverNodeId = kHoverMarkerId;
    if (!Image.empty()) {
        if (CNodeBasement* image = createFeedbackImage(Target, Image)) {
            HoverNodeId = image->getID();
        }
    }
    if (!Sound.empty()) {
        getEngine().getSound().playEffect(Sound, -1.0f);
    }
    if (!InScript.empty()) {
        callHoverScript(InScript, Target, true, OriginFile);
    }
}

void CHoverBehaviour::goAway(bool hoverAllowed) {
    if (HoverNodeId != kHoverMarkerId) {
        if (CNodeBasement* image = findFeedbackImage(Target, HoverNodeId)) {
            // A disabled node drops its hover at once.
            if (hoverAllowed) {
                fadeOutFeedbackImage(image);
            } else {
                deleteNode(image);
            }
        }
    }
    HoverNodeId = 0;
    if (!OutScript.empty()) {
        callHoverScript(OutScript, Target, false, OriginFile);
    }
}
