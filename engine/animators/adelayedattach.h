#pragma once

#include "animators/abaseanimators.h"

// Attaches another animator to its own node once a delay of device time has passed, with the
// other animator's time starting at that moment, then removes itself. The other animator is held
// until then; when the node goes away first it is released and never attached.
class CDelayedAttachAnimator : public CBaseAnimator {
public:
    // Takes over the caller's reference of `animator`.
    CDelayedAttachAnimator(irr::u32 delayMs, CBaseAnimator* animator);
    ~CDelayedAttachAnimator() override;

    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;
    void finish() override;

private:
    void releasePending();

    irr::u32 DueTime;
    CBaseAnimator* Pending;
};
