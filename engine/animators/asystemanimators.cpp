#include "asystemanimators.h"

#include "core/vellumengine.h"
#include "debug_overlay.h"
#include "platform/clock.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <algorithm>

namespace {

const int kPauseLevel = 2;

} // namespace

CSystemAnimator::CSystemAnimator() {
    setInterval(0);
    listFiles(PreloadList, languageDataPath(""), "");
    listFiles(PreloadList, resolveDataPath(""), "");
}

void CSystemAnimator::onTick(irr::scene::ISceneNode*, irr::u32 time) {
    CVellumEngine& engine = getEngine();
    if (engine.getStage() == STAGE_PRELOADING) {
        ProfileScope scope(__FILE__, __LINE__);
        preloadNext();
    }
    if (engine.getPauseLevel() > 1) {
        sleepMilliseconds(kPausedSleep);
    }
    ProfileScope scope(__FILE__, __LINE__);
    checkCursorAndFocus(time);
    collectGarbage(time);
    refreshDebugOverlay();
}

void CSystemAnimator::preloadNext() {
    CVellumEngine& engine = getEngine();
    const int count = static_cast<int>(PreloadList.size());
    if (PreloadIndex < count) {
        const int perFrame = std::max(1, (count + kPreloadFrames - 1) / kPreloadFrames);
        const int end = std::min(count, PreloadIndex + perFrame);
        for (; PreloadIndex < end; ++PreloadIndex) {
            engine.preloadResource(PreloadList[PreloadIndex]);
        }
        engine.setPreloadProgress(static_cast<float>(PreloadIndex) / static_cast<float>(count));
        return;
    }
    engine.setStage(STAGE_RUNNING);
    engine.getScripting().compileAllScripts();
    setInterval(kRunningInterval);
}

void CSystemAnimator::checkCursorAndFocus(irr::u32 time) {
    // At least (not more than) the interval: ticks every 500 ms check every time.
    if (time - LastSlowCheck < kSlowCheckInterval) {
        return;
    }
    LastSlowCheck = time;
    CVellumEngine& engine = getEngine();
    engine.getInput().updateCursor();
    irr::IrrlichtDevice* device = engine.getDevice();
    bool active = device != nullptr && device->isWindowActive();
    if (active && WindowActive != 1) {
        WindowActive = 1;
        engine.setPauseLevel(kPauseLevel, false);
    } else if (!active && WindowActive != 0) {
        WindowActive = 0;
        engine.setPauseLevel(kPauseLevel, true);
    }
}

void CSystemAnimator::collectGarbage(irr::u32 time) {
    if (time - LastGarbageCollection <= kGarbageCollectionInterval) {
        return;
    }
    LastGarbageCollection = time;
    getEngine().getScripting().collectScriptGarbage();
}
