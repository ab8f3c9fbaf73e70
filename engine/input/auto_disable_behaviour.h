#pragma once

#include "animators/abaseanimators.h"

#include <string>

class CNodeBasement;

// Disables a node's click while a script condition holds ("ONDISBT"): every 500 ms it runs the
// condition; while it is true the node's clicks are swallowed, its hover is off and an image is
// shown over it, which makes the node exclusive (only its subtree receives input) while it lasts.
class CAutoDisableBehaviour : public CBaseAnimator {
public:
    static const char* const kName;
    static constexpr irr::u32 kInterval = 500;

    CAutoDisableBehaviour(const std::string& condition, const std::string& disabledImage);
    // The description or dialog file the condition was written in, for its error reports.
    void setOriginFile(const std::string& file) { OriginFile = file; }

    void onAttached(irr::scene::ISceneNode* node) override;
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

    bool isDisabled() const { return IsDisabled; }

private:
    std::string Condition;
    std::string DisabledImage;
    std::string OriginFile;
    bool IsDisabled = false;
    // The image shown while disabled; 0 for none.
    int DisabledNodeId = 0;
};
