#include "adelayedattach.h"

CDelayedAttachAnimator::CDelayedAttachAnimator(irr::u32 delayMs, CBaseAnimator* animator)
    : DueTime(deviceTime() + delayMs), Pending(animator) {}

CDelayedAttachAnimator::~CDelayedAttachAnimator() {
    releasePending();
}

void CDelayedAttachAnimator::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    if (DueTime == 0 || time < DueTime) {
        return;
    }
    DueTime = 0;
    CBaseAnimator* pending = Pending;
    Pending = nullptr;
    pending->setStartTime(time);
    attachAnimator(node, pending);
    removeThisAnimator();
}

void CDelayedAttachAnimator::finish() {
    CBaseAnimator::finish();
    releasePending();
}

void CDelayedAttachAnimator::releasePending() {
    if (Pending != nullptr) {
        Pending->drop();
        Pending = nullptr;
    }
}
