#include "script_api.h"

#include "core/vellumengine.h"
#include "game_data_files.h"
#include "scene/node_base.h"
#include "scene/node_helpers.h"
#include "script/module_scripting_core.h"
#include "utils/utils_fs.h"

namespace {

struct GameFunctionEntry {
    const char* name;
    const char* mask;
    CoreFunction function;
};

const GameFunctionEntry kGameFunctions[] = {
    {"game_CreatePreloaderSlider", "", game_CreatePreloaderSlider},
    {"game_DeletePreloaderSlider", "", game_DeletePreloaderSlider},
    {"game_initOptionsDialog", "", game_initOptionsDialog},
    {"game_SwitchFullScreen", "n", game_SwitchFullScreen},
    {"game_SwitchWinCursor", "n", game_SwitchWinCursor},
    {"game_SwitchVolume", "n", game_SwitchVolume},
    {"game_SwitchEffect", "n", game_SwitchEffect},
    {"game_GetCurrentLevelName", "", game_GetCurrentLevelName},
    {"game_GetCurrentLevelPath", "", game_GetCurrentLevelPath},
    {"game_GetNextLevelName", "", game_GetNextLevelName},
    {"game_createFader_BlackCurtain", "*", game_createFader_BlackCurtain},
    {"game_createFader_WhiteCurtain", "*", game_createFader_WhiteCurtain},
    {"game_IsLevelInPlay", "", game_IsLevelInPlay},
    {"game_AddHoleMark", "*", game_AddHoleMark},
    {"game_SetLevelState", "n", game_SetLevelState},
    {"game_GetLevelState", "", game_GetLevelState},
};

// The follow rate of the loading-screen bar.
constexpr float kPreloaderFollowRate = 1000.0f;

// The loading-screen bar of the process. Its container is held (one reference) so that the slot
// never points at a bar whose nodes are gone: the container owns the slider, and a container
// that was taken out of the scene by other means is only let go.
struct PreloaderSlot {
    CSlider* slider = nullptr;
    CNodeBasement* container = nullptr;

    // Empties the slot without touching the bar itself.
    void release() {
        if (container != nullptr) {
            container->drop();
        }
        slider = nullptr;
        container = nullptr;
    }
};

PreloaderSlot& preloaderSlot() {
    static PreloaderSlot slot;
    return slot;
}

} // namespace

void registerGameScriptFunctions(squirrel::VM& vm) {
    for (const GameFunctionEntry& entry : kGameFunctions) {
        registerCoreFunction(vm, entry.name, entry.mask, entry.function);
    }
}

squirrel::Object game_CreatePreloaderSlider(squirrel::CallContext&) {
    CVellumEngine& engine = getEngine();
    auto* slider = new CSlider(irr::core::vector3df(0, 0, 0), engine.preloadProgressValue(),
                               resolveDataPath(gamefiles::kLoadingBackground),
                               resolveDataPath(gamefiles::kLoadingBar), 10, 10, nullptr, false);
    slider->setFollowRate(kPreloaderFollowRate);
    // A second bar replaces the first in the slot; the first stays on screen.
    PreloaderSlot& slot = preloaderSlot();
    slot.release();
    slot.slider = slider;
    slot.container = slider->getContainer();
    slot.container->grab();
    return squirrel::Object();
}

squirrel::Object game_DeletePreloaderSlider(squirrel::CallContext&) {
    PreloaderSlot& slot = preloaderSlot();
    if (slot.slider == nullptr) {
        return squirrel::Object();
    }
    if (slot.container->getParent() != nullptr) {
        slot.slider->dismiss(0);
    }
    slot.release();
    return squirrel::Object();
}

squirrel::Object game_initOptionsDialog(squirrel::CallContext&) {
    return squirrel::Object();
}
