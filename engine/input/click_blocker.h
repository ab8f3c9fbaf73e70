#pragma once

#include "animators/abaseanimators.h"

// "-Event.Mouse.Click.Block:": with the value 1 the node becomes hit-testable and swallows the
// clicks meant for the nodes behind it (a click behaviour whose action swallows the click).
class CClickBlocker : public CBaseAnimator {
public:
    explicit CClickBlocker(int value);

    void onAttached(irr::scene::ISceneNode* node) override;

private:
    int Value;
};
