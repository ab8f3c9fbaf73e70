#pragma once

#include "animators/abaseanimators.h"

// Makes its node (a dialog's root) the topmost modal level while the animator lives: attached
// (dormant) by the dialog factory to dialogs with "-ModalDialog:", it adds the modality when
// attached and removes it when destroyed.
class CModalDialogMarker : public CBaseAnimator {
public:
    CModalDialogMarker();
    ~CModalDialogMarker() override;

    void onAttached(irr::scene::ISceneNode* node) override;

private:
    int ModalId = 0;
};
