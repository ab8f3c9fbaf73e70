#pragma once

#include "animators/abaseanimators.h"

#include <cstdint>
#include <string>

class CNodeBasement;

// What a click on a node does ("ONCLAN"): the script actions for a click (left button released
// over the node), a right click and a drag (left button held over the node), a sound and a
// feedback image, and optionally a key that clicks it. It makes its node hit-testable and joins
// the click handlers, which the input module steps once per release; it only steps on its own
// (polls) with a key shortcut or a click speed.
class CClickBehaviour : public CBaseAnimator {
public:
    static const char* const kName;
    // A click action that swallows the click: no script runs and it does not count as handled.
    static const char* const kSwallowAction;

    // Click results.
    enum ClickResult {
        kNotAllowed = 0,
        kClicked = 1,
        kDisabled = -1,
        kSwallowed = 99,
    };
    // Which action a click runs.
    enum ClickMode {
        kLeftClick = 0,
        kRightClick = 1,
        kDrag = 2,
    };
    // A shortcut that fires on any key or unhandled click (the any-input flag).
    static constexpr int kAnyInputShortcut = -1;

    // A behaviour made while the left button is held ignores the release of that press: the
    // press that made it (a drag action opening a dialog, say) must not click what appears
    // under the cursor.
    CClickBehaviour(const std::string& image, const std::string& clickAction,
                    const std::string& sound, bool pixelPerfect);
    ~CClickBehaviour() override;

    void setClickAction(const std::string& action) { ClickAction = action; }
    void setRightClickAction(const std::string& action) { RightClickAction = action; }
    void setDragAction(const std::string& action) { DragAction = action; }
    // The description or dialog file the actions were written in, for their error reports.
    void setOriginFile(const std::string& file) { OriginFile = file; }
    // A virtual-key code that clicks the node, or kAnyInputShortcut; set before attaching.
    void setKeyShortcut(int key) { KeyShortcut = key; }
    // Polls every `ms` instead of waiting to be stepped, and takes the release of a press in
    // progress; set before attaching.
    void setClickSpeed(int ms);

    // Gives the node an ID, makes it hit-testable and joins the click handlers.
    void onAttached(irr::scene::ISceneNode* node) override;
    // Leaves the click handlers and hit testing.
    void finish() override;
    // With no node, the node attached to. Nothing while the game is paused.
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

    // Clicks the node as `mode`: checks modality and disabling, plays the sound, shows the image
    // and runs the action. Returns a ClickResult.
    int clickNode(int mode);

private:
    // True when the shortcut was pressed (the step ends then).
    bool handleShortcut();
    bool isShortcutPressed();
    void showClickImage(CNodeBasement* node);
    void leave();

    std::string Image;
    std::string ClickAction;
    std::string RightClickAction;
    std::string DragAction;
    std::string OriginFile;
    bool Dragging = false;
    std::string Sound;
    int KeyShortcut = 0;
    uint32_t AnyInputSince;
    CNodeBasement* Target = nullptr;
    bool ShortcutLatched = false;
    bool PixelPerfect;
    // The number of the press whose release is ignored; 0 for none.
    int LockedPress = 0;
    bool Polling = false;
    bool Joined = false;
};
