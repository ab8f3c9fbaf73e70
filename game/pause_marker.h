#pragma once

#include "animators/abaseanimators.h"

// Marks a dialog that pauses the level while it is open. The level stays paused until the last
// of several open pausing dialogs closes.
class CPauseMarker : public CBaseAnimator {
public:
    CPauseMarker();
    ~CPauseMarker() override;

    // Pausing dialogs open now.
    static int openCount();
};
