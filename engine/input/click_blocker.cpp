#include "click_blocker.h"

#include "input/click_behaviour.h"

CClickBlocker::CClickBlocker(int value) : Value(value) {
    setInterval(kDormantInterval);
}

void CClickBlocker::onAttached(irr::scene::ISceneNode* node) {
    if (Value == 1) {
        attachAnimator(node, new CClickBehaviour(std::string(), CClickBehaviour::kSwallowAction,
                                                 std::string(), false));
    }
}
