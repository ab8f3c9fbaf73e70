#pragma once

#include "animators/abaseanimators.h"

class CNodeBasement;

// While this animator's node lives, only the linked node's subtree receives input: attached, it
// adds an exclusive entry for the linked node to the focus chain; destroyed, it removes it.
class CExclusiveLink : public CBaseAnimator {
public:
    // Gives the linked node an ID.
    explicit CExclusiveLink(CNodeBasement* linked);
    ~CExclusiveLink() override;

    void onAttached(irr::scene::ISceneNode* node) override;

private:
    int LinkedId;
    bool Added = false;
};
