#include "developer_keys.h"

#include "core/vellumengine.h"
#include "scene/text_warnings.h"
#include "utils/debug.h"

#include <irrlicht/irrlicht.h>

namespace {

// The debug weight that draws the sprites' node boxes.
const int kNodeBoxWeight = 2;
const int kReloadWarningMs = 5000;

} // namespace

bool handleDeveloperKey(int key) {
    CVellumEngine& engine = getEngine();
    switch (key) {
    case irr::KEY_KEY_B:
        engine.getConfig().Debug ^= kNodeBoxWeight;
        return true;
    case irr::KEY_KEY_I:
        debugOverlay = debugOverlay != 0 ? 0 : 1;
        return true;
    case irr::KEY_KEY_R:
        engine.clearCaches(false);
        engine.getScripting().reloadScripts(true);
        showWarning("Caches cleared, script reloaded", kReloadWarningMs);
        return true;
    default:
        return false;
    }
}
