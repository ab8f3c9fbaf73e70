#include "abaseanimators.h"

#include "animators/adelayedattach.h"
#include "core/game_client.h"
#include "core/vellumengine.h"
#include "scene/node_utilities.h"
#include "utils/debug.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<int> liveAnimators{0};

// Between these speeds an animator on a base timer stands still.
const float kFrozenSpeed = 0.001f;
// onStep's delta unit is 100 ms of animator time.
const float kDeltaPerMs = 0.01f;
const irr::u32 kPhaseSpread = 25;

} // namespace

CBaseAnimator::CBaseAnimator() : StartTime(deviceTime()) {
    int live = ++liveAnimators;
    Phase = static_cast<irr::u32>(live) % kPhaseSpread;
}

CBaseAnimator::~CBaseAnimator() {
    if (Finished == 0) {
        CBaseAnimator::finish();
    }
    --liveAnimators;
}

int CBaseAnimator::liveCount() {
    return liveAnimators;
}

irr::u32 CBaseAnimator::deviceTime() {
    irr::IrrlichtDevice* device = getEngine().getDevice();
    return device != nullptr ? device->getTimer()->getTime() : 0;
}

void CBaseAnimator::animateNode(irr::scene::ISceneNode* node, irr::u32 timeMs) {
    if (Removed != 0 || Finished != 0 || Node == nullptr || Interval == kDormantInterval) {
        return;
    }
    if (LastTime == kNoTime) {
        LastTime = StartTime;
    }
    if (BaseTimer == 0) {
        AnimTime = timeMs;
    } else {
        float speed = getEngine().getClient()->getBaseTimerSpeed(BaseTimer);
        if (speed > -kFrozenSpeed && speed < kFrozenSpeed) {
            LastTickTime = 0;
            LastTime = timeMs;
            return;
        }
        AnimTime += static_cast<irr::s32>(static_cast<float>(timeMs - LastTime) * speed);
        LastTime = timeMs;
    }
    if (Interval != 0) {
        if (AnimTime + Phase < NextDue) {
            return;
        }
        NextDue = AnimTime + Phase + Interval;
    }
    onTick(node, AnimTime);
    LastTime = timeMs;
}

void CBaseAnimator::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    if (LastTickTime == 0) {
        LastTickTime = time;
    }
    onStep(node, static_cast<float>(time - LastTickTime) * kDeltaPerMs, time);
    LastTickTime = time;
}

void CBaseAnimator::removeThisAnimator() {
    if (Removed != 0) {
        return;
    }
    if (Node == nullptr) {
        reportError("removeThisAnimator with NULL parent!!!", false);
        return;
    }
    Removed = 1;
    deleteNode(Node, this);
}

void CBaseAnimator::finish() {
    Finished = 1;
}

void CBaseAnimator::setName(const char* name) {
    if (name == nullptr) {
        Name[0] = 0;
        return;
    }
    if (std::strlen(name) > kMaxNameLength) {
        messageBox("Wrong animator name!!!", 0);
    }
    std::strncpy(Name, name, kMaxNameLength);
    Name[kMaxNameLength] = 0;
}

void CBaseAnimator::setBaseTimer(int key) {
    BaseTimer = key;
    AnimTime = 0;
    ScaledStart = 0;
    LastTickTime = 0;
    // The throttle restarts with the time, or an animator that ran before would wait until its
    // new time caught up with the old due time.
    NextDue = 0;
}

irr::u32 CBaseAnimator::getStartTime() const {
    return BaseTimer != 0 ? ScaledStart : StartTime;
}

void CBaseAnimator::setStartTime(irr::u32 time) {
    if (BaseTimer != 0) {
        ScaledStart = time;
    } else {
        StartTime = time;
    }
}

CBaseAnimator* attachAnimator(irr::scene::ISceneNode* node, CBaseAnimator* animator) {
    if (animator == nullptr) {
        return nullptr;
    }
    if (node == nullptr) {
        animator->drop();
        return nullptr;
    }
    animator->setNode(node);
    animator->onAttached(node);
    node->addAnimator(animator);
    animator->drop();
    return animator;
}

CBaseAnimator* attachAnimatorEveryFrame(irr::scene::ISceneNode* node, CBaseAnimator* animator) {
    CBaseAnimator* attached = attachAnimator(node, animator);
    if (attached != nullptr) {
        attached->setInterval(0);
    }
    return attached;
}

CBaseAnimator* attachAnimatorDormant(irr::scene::ISceneNode* node, CBaseAnimator* animator) {
    CBaseAnimator* attached = attachAnimator(node, animator);
    if (attached != nullptr) {
        attached->setInterval(CBaseAnimator::kDormantInterval);
    }
    return attached;
}

CBaseAnimator* attachAnimatorAfter(irr::u32 delayMs, irr::scene::ISceneNode* node,
                                   CBaseAnimator* animator) {
    if (delayMs == 0 || node == nullptr || animator == nullptr) {
        return attachAnimator(node, animator);
    }
    attachAnimator(node, new CDelayedAttachAnimator(delayMs, animator));
    return animator;
}

void detachAnimator(CBaseAnimator* animator) {
    if (animator != nullptr && animator->getNode() != nullptr) {
        animator->removeThisAnimator();
    }
}

void setAnimatorsBaseTimer(irr::scene::ISceneNode* node, int key) {
    if (node == nullptr) {
        return;
    }
    for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
        if (CBaseAnimator* engineAnimator = dynamic_cast<CBaseAnimator*>(animator)) {
            engineAnimator->setBaseTimer(key);
        }
    }
}
