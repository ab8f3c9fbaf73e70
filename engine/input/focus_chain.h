#pragma once

#include "platform/locks.h"

#include <irrlicht/irrlicht.h>

#include <atomic>
#include <string>
#include <vector>

class CBaseAnimator;
class CNodeBasement;

// Which behaviours an input is handed to.
enum class InputHandlers {
    Click,
    Hover,
};

// The process's focus registry: which nodes hit testing considers, which node the cursor is over
// and which were pressed, released and right-clicked, the modal levels that decide which nodes
// may receive input, and the behaviours that inputs are handed to. One lock guards it all; it is
// used from the main thread (input events, frames, scripts). It comes after the scene lock and
// the input lock (see CVellumEngine) and is never held while behaviours run; the methods that
// look nodes up take the scene lock before it.
class CFocusChain {
public:
    // Levels of ModalityList entries besides the modal levels 1, 2, ...
    static constexpr int kNextModalLevel = -1;
    static constexpr int kExclusiveLevel = -2;

    CFocusChain();
    CFocusChain(const CFocusChain&) = delete;
    CFocusChain& operator=(const CFocusChain&) = delete;

    // The ID of the nearest visible clickable under the screen point, 0 for none. A pixel-perfect
    // sprite only counts where its texture is opaque.
    int pickNode(const irr::core::position2di& screenPoint);

    // Level kNextModalLevel makes the node the next modal dialog (logged); kExclusiveLevel adds
    // an exclusive entry, which lets only that node's subtree receive input while it is last.
    void addModality(int id, int level);
    // Removes the first entry of the ID.
    void removeModality(int id);
    // The level the node belongs to: the last entry of its ID (exclusive entries skipped when
    // asked), else its parent's level, up the parent chain; 0 outside every entry. An ID that no
    // node holds is the fatal error "Broken modality in user focus chain!!!".
    int getModalityLevel(int id, bool skipExclusive);
    // True when no modal level is open, or the node belongs to the last entry's level.
    bool isInputAllowed(int id);
    // The level of the last entry (the last one that is not exclusive when asked); 0 for none.
    int getTopModality(bool skipExclusive);
    // One "+ID:name" line per open modal dialog.
    std::string getModalityLog();

    // Hit testing considers the node until unregistered (in registration order, which decides
    // between nodes at the same distance). Entries are kept by node, so a node renamed later
    // stays clickable; the owner unregisters before the node goes away.
    void registerClickable(CNodeBasement* node, bool pixelPerfect);
    void unregisterClickable(CNodeBasement* node);
    size_t clickableCount();

    // The behaviours an input is handed to, in the order they joined.
    void addHandler(InputHandlers list, CBaseAnimator* handler);
    void removeHandler(InputHandlers list, CBaseAnimator* handler);
    // A copy of the list with a reference to each entry (the caller drops them), so behaviours
    // that join or leave while an input is handed on do not disturb the walk.
    std::vector<CBaseAnimator*> takeHandlers(InputHandlers list);

    // Clears every one of the IDs below that equals the ID (its node ID entry went away).
    void forgetId(int id);

    int underCursorId() const { return UnderCursorId; }
    int pressedId() const { return PressedId; }
    int releasedId() const { return ReleasedId; }
    int rightClickId() const { return RightClickId; }
    void setUnderCursorId(int id) { UnderCursorId = id; }
    void setPressedId(int id) { PressedId = id; }
    void setReleasedId(int id) { ReleasedId = id; }
    void setRightClickId(int id) { RightClickId = id; }
    // The number of the left-button press whose release is ReleasedId (input module's count).
    int releasedPress() const { return ReleasedPress; }
    void setReleasedPress(int press) { ReleasedPress = press; }

    // Screen pixels of the last left press or right click.
    irr::core::vector2df getLastClickPosition();
    void setLastClickPosition(const irr::core::vector2df& position);

    // Behaviours count themselves when they handled the input being handed on.
    void resetHandled() { Handled = 0; }
    void countHandled() { ++Handled; }
    int handledCount() const { return Handled; }

private:
    struct ModalityEntry {
        int Id;
        std::string Name;
        int Level;
    };
    struct Clickable {
        CNodeBasement* Node;
        std::string Name;
        int Level;
        bool PixelPerfect;
    };

    static std::string modalityLine(const ModalityEntry& entry);
    // Whether the ray meets the sprite where its texture is opaque (always for a node without a
    // readable texture).
    static bool hitsOpaquePixel(CNodeBasement* node, const irr::core::line3df& ray);
    std::vector<CBaseAnimator*>& handlers(InputHandlers list);
    // The developer-machine check that the parent's ID leads back to the parent.
    void checkParentId(CNodeBasement* node, irr::scene::ISceneNode* parent);

    CriticalSectionLock Lock;
    std::string ModalityLog;
    std::vector<ModalityEntry> ModalityList;
    std::vector<Clickable> Clickables;
    std::vector<CBaseAnimator*> ClickHandlers;
    std::vector<CBaseAnimator*> HoverHandlers;
    std::atomic<int> UnderCursorId{0};
    std::atomic<int> PressedId{0};
    std::atomic<int> ReleasedId{0};
    std::atomic<int> RightClickId{0};
    std::atomic<int> ReleasedPress{0};
    irr::core::vector2df LastClickPosition;
    int Handled = 0;
};

// The process's focus chain, created on first use (it then starts forgetting the IDs that leave
// the node ID table).
CFocusChain& getFocusChain();
