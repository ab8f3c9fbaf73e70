#include "modal_dialog_marker.h"

#include "input/focus_chain.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"

CModalDialogMarker::CModalDialogMarker() {
    setInterval(kDormantInterval);
}

CModalDialogMarker::~CModalDialogMarker() {
    if (ModalId != 0) {
        getFocusChain().removeModality(ModalId);
    }
}

void CModalDialogMarker::onAttached(irr::scene::ISceneNode* node) {
    // The modal level is found from the nodes' IDs up their parent chains, so the dialog's
    // root must own its ID.
    CNodeBasement* root = asEngineNode(node);
    ModalId = root != nullptr ? ForceNodeToHaveID(root) : node->getID();
    getFocusChain().addModality(ModalId, CFocusChain::kNextModalLevel);
}
