#include "exclusive_link.h"

#include "input/focus_chain.h"
#include "scene/node_utilities.h"

CExclusiveLink::CExclusiveLink(CNodeBasement* linked) : LinkedId(ForceNodeToHaveID(linked)) {
    setInterval(kDormantInterval);
}

CExclusiveLink::~CExclusiveLink() {
    if (Added) {
        getFocusChain().removeModality(LinkedId);
    }
}

void CExclusiveLink::onAttached(irr::scene::ISceneNode*) {
    getFocusChain().addModality(LinkedId, CFocusChain::kExclusiveLevel);
    Added = true;
}
