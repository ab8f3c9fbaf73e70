#include "input_dispatcher.h"

#include "input/any_input.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"

#include <vector>

CInputDispatcher::CInputDispatcher(InputHandlers list, bool isRelease)
    : List(list), IsRelease(isRelease) {
    setInterval(0);
}

void CInputDispatcher::onTick(irr::scene::ISceneNode*, irr::u32) {
    removeThisAnimator();
    dispatchInput(List, IsRelease);
}

void queueInputDispatch(InputHandlers list, bool isRelease) {
    if (CNodeBasement* pole = getNodeByName("pole")) {
        attachAnimator(pole, new CInputDispatcher(list, isRelease));
        return;
    }
    dispatchInput(list, isRelease);
}

void dispatchInput(InputHandlers list, bool isRelease) {
    CFocusChain& chain = getFocusChain();
    chain.resetHandled();
    // An action may open a dialog whose behaviours join the list, or close one whose behaviours
    // leave it: the walk goes over a copy that keeps each behaviour alive until it ends.
    std::vector<CBaseAnimator*> handlers = chain.takeHandlers(list);
    for (CBaseAnimator* handler : handlers) {
        if (!handler->isFinished()) {
            handler->onTick(nullptr, 0);
        }
    }
    for (CBaseAnimator* handler : handlers) {
        handler->drop();
    }
    if (isRelease) {
        if (chain.handledCount() == 0) {
            setAnyInput();
        }
        chain.setReleasedId(0);
        chain.setRightClickId(0);
    }
}
