#pragma once

#include "animators/abaseanimators.h"
#include "input/focus_chain.h"

// Hands one input to the behaviours of a handler list on the next frame: attached to the engine's
// root node ("pole") to be stepped every frame, it removes itself on its first step and hands the
// input on.
class CInputDispatcher : public CBaseAnimator {
public:
    CInputDispatcher(InputHandlers list, bool isRelease);

    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

private:
    InputHandlers List;
    bool IsRelease;
};

// Queues the input for the next frame on the node named "pole"; without that node the input is
// handed on at once.
void queueInputDispatch(InputHandlers list, bool isRelease);
// Steps every behaviour of the list once (without a node, at time 0), in order, over a copy of the
// list. A release that no behaviour counted as handled marks an input for the any-input flag; a
// release is offered once, so the released and right-clicked IDs are cleared afterwards.
void dispatchInput(InputHandlers list, bool isRelease);
