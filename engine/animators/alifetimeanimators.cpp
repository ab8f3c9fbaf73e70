#include "alifetimeanimators.h"

#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "utils/debug.h"

#include <algorithm>
#include <cstdint>

namespace {

// Below this share of its factor a fading node is deleted at once.
const float kLastFadeShare = 0.1f;
const int kDone = -1;

} // namespace

const char* const CSelfDestructAnimator::kName = "SELDES";

CSelfDestructAnimator::CSelfDestructAnimator(int delayMs, int fadeMs)
    : Delay(delayMs), FadeTime(fadeMs) {
    setName(kName);
}

void CSelfDestructAnimator::onAttached(irr::scene::ISceneNode* node) {
    if (CNodeBasement* engineNode = asEngineNode(node)) {
        FactorAtAttach = engineNode->getAlphaFactor();
    }
}

void CSelfDestructAnimator::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    if (Delay == kDone) {
        return;
    }
    int64_t now = time;
    int64_t end = static_cast<int64_t>(getStartTime()) + Delay;
    if (FadeTime != 0 && end - FadeTime < now) {
        float left = 1.0f - static_cast<float>(now + FadeTime - end) / static_cast<float>(FadeTime);
        if (CNodeBasement* engineNode = asEngineNode(node)) {
            engineNode->setAlphaFactor(left * FactorAtAttach);
        }
        if (left < kLastFadeShare) {
            end = now - 1;
        }
    }
    if (end < now) {
        deleteNode(node);
        removeThisAnimator();
        Delay = kDone;
        FadeTime = 0;
    }
}

CHideParentAnimator::CHideParentAnimator(int targetId) : TargetId(targetId) {
    setInterval(kDormantInterval);
    CNodeBasement* target = getNodeById(targetId);
    if (target == nullptr) {
        reportError("InvalidVisibi node supply!", false);
        return;
    }
    target->setHideCount(target->getHideCount() + 1);
}

CHideParentAnimator::~CHideParentAnimator() {
    CVellumEngine& engine = getEngine();
    if (engine.getPauseLevel() >= 99 || engine.getStage() >= STAGE_EXITING) {
        return;
    }
    if (CNodeBasement* target = getNodeById(TargetId)) {
        target->setHideCount(target->getHideCount() - 1);
    }
}

CCounterHolder::CCounterHolder(std::atomic<int>* counter) : Counter(counter) {
    setInterval(kDormantInterval);
    ++*Counter;
}

CCounterHolder::~CCounterHolder() {
    release();
}

void CCounterHolder::finish() {
    CBaseAnimator::finish();
    release();
}

void CCounterHolder::release() {
    if (Released == 0) {
        Released = 1;
        --*Counter;
    }
}

CListMembership::CListMembership(std::vector<irr::scene::ISceneNode*>* list) : List(list) {
    setInterval(kDormantInterval);
}

CListMembership::~CListMembership() {
    leave();
}

void CListMembership::onAttached(irr::scene::ISceneNode* node) {
    Member = node;
    List->push_back(node);
}

void CListMembership::finish() {
    leave();
}

void CListMembership::leave() {
    if (Done != 0) {
        return;
    }
    Done = 1;
    CBaseAnimator::finish();
    if (Member == nullptr) {
        return;
    }
    auto entry = std::find(List->begin(), List->end(), Member);
    if (entry != List->end()) {
        List->erase(entry);
    }
}
