#include "core_api_timers.h"

#include "core/vellumengine.h"
#include "script/script_action_animator.h"

#include <string>

namespace {

squirrel::Object startTimer(squirrel::CallContext& call, int mode) {
    irr::scene::ISceneNode* root = getEngine().rootNode();
    if (root == nullptr) {
        return squirrel::Object();
    }
    int time = call.intArg(0);
    // A negative time would wrap to a wait of weeks; it means "as soon as possible". A time equal
    // to the dormant interval would never be stepped at all, so it waits a millisecond less.
    irr::u32 interval = time > 0 ? static_cast<irr::u32>(time) : 0;
    if (interval == CBaseAnimator::kDormantInterval) {
        --interval;
    }
    auto* animator = new CScriptActionAnimator(std::string(), call.stringArg(1), std::string());
    attachAnimator(root, animator);
    animator->setInterval(interval);
    animator->setMode(mode);
    if (call.argCount() >= 3) {
        animator->setContext(call.arg(2));
    }
    return squirrel::Object(animator->getId() + 1);
}

CScriptActionAnimator* timerByHandle(const squirrel::CallContext& call) {
    return CScriptActionAnimator::findById(call.intArg(0) - 1);
}

} // namespace

squirrel::Object core_SetInterval(squirrel::CallContext& call) {
    return startTimer(call, CScriptActionAnimator::kRepeating);
}

squirrel::Object core_SetTimeout(squirrel::CallContext& call) {
    return startTimer(call, CScriptActionAnimator::kTimeout);
}

squirrel::Object core_CancelInterval(squirrel::CallContext& call) {
    CScriptActionAnimator* timer = timerByHandle(call);
    if (timer == nullptr) {
        return squirrel::Object(false);
    }
    detachAnimator(timer);
    return squirrel::Object(true);
}

squirrel::Object core_SetIntervalTimer(squirrel::CallContext& call) {
    CScriptActionAnimator* timer = timerByHandle(call);
    if (timer == nullptr) {
        return squirrel::Object(false);
    }
    timer->setBaseTimer(call.intArg(1));
    return squirrel::Object(true);
}
