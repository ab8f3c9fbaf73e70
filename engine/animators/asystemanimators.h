#pragma once

#include "animators/abaseanimators.h"

#include <string>
#include <vector>

// The engine's own animator on the root node. While the engine preloads it preloads the data files
// (the language folder's files first, then the common folder's), one per frame, or as many per
// frame as keep the loading screen to kPreloadFrames frames for long lists, and keeps the
// preload progress, then sets the running stage and from then on runs every 500 ms. On each of
// its ticks it sleeps a little while the game is paused, and at most every 500 ms it updates the
// cursor and pauses the game when the window stops being active (resuming when it is active
// again). Every 2000 ms it collects the scripts' garbage; when preloading ends it compiles the
// scripts.
class CSystemAnimator : public CBaseAnimator {
public:
    static constexpr irr::u32 kRunningInterval = 500;
    static constexpr irr::u32 kSlowCheckInterval = 500;
    static constexpr irr::u32 kPausedSleep = 100;
    static constexpr irr::u32 kGarbageCollectionInterval = 2000;
    // Frames a long preload list is spread over. One file per frame would hold the loading screen
    // for a frame time per file (the frame limiter alone makes that 12 ms each).
    static constexpr int kPreloadFrames = 30;

    CSystemAnimator();

    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

    const std::vector<std::string>& preloadList() const { return PreloadList; }

private:
    void preloadNext();
    void checkCursorAndFocus(irr::u32 time);
    void collectGarbage(irr::u32 time);

    int PreloadIndex = 0;
    std::vector<std::string> PreloadList;
    irr::u32 LastSlowCheck = 0;
    int WindowActive = 0;
    irr::u32 LastGarbageCollection = 0;
};
