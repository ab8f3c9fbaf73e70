#pragma once

#include "animators/abaseanimators.h"

#include <string>

class CNodeBasement;

// What the cursor over a node does ("ONOVRAN"): while the cursor is over the node (and the node
// may receive input and is not disabled) an image is shown over it; coming over plays a sound and
// runs the in-script, leaving runs the out-script. It makes its node hit-testable and joins the
// hover handlers, which the input module steps when the node under the cursor changes and on
// every press.
class CHoverBehaviour : public CBaseAnimator {
public:
    static const char* const kName;

    CHoverBehaviour(const std::string& image, const std::string& sound);
    ~CHoverBehaviour() override;

    void setInScript(const std::string& script) { InScript = script; }
    void setOutScript(const std::string& script) { OutScript = script; }
    // The description or dialog file the scripts were written in, for their error reports.
    void setOriginFile(const std::string& file) { OriginFile = file; }
    // A disabled node shows no hover (the click behaviour sets it from the auto-disabling).
    void setDisabled(bool disabled) { Disabled = disabled; }
    bool isHovering() const { return HoverNodeId != 0; }

    void onAttached(irr::scene::ISceneNode* node) override;
    // Deletes the image shown over the node, leaves the hover handlers and hit testing.
    void finish() override;
    // Nothing while the game is paused (level 2 and up).
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

private:
    void comeOver();
    void goAway(bool hoverAllowed);
    void leave();

    CNodeBasement* Target = nullptr;
    bool Disabled = false;
    std::string Image;
    std::string Sound;
    std::string InScript;
    std::string OutScript;
    std::string OriginFile;
    // The image shown over the node, or the engine's root node's ID while hovering without an
    // image; 0 while not hovering.
    int HoverNodeId = 0;
    bool Joined = false;
};
