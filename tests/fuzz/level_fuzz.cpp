// A level folder given as one input of several files (fuzz_host.h): "level.dlg", a dialog whose
// header marks it as a level and names its wave files, the wave files and the level's string
// file. The game itself is the engine's client, with the bundled game's actors and effects in the
// data folder, so the level is opened as the game opens it and its actors get their physics. A
// few frames start the level (the ship on its path, the name, the energy gauge); then every
// further wave is read as the end of the ship's path reads it, past the last one, and the scene
// is cleared.
#include "core/vellumengine.h"
#include "fuzz/fuzz_host.h"
#include "gameimplementation.h"
#include "level.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Frames run after opening, 100 ms apart: the first starts the level.
constexpr int kFrames = 4;

// The game as the engine's client, started (fonts, physics contacts) and with its script
// functions, made once for the process; it exits, as at the end of a game, before the engine
// goes.
CGameImplementation& game() {
    static CGameImplementation* made = [] {
        fuzz::scene();
        fuzz::copyGameData("actors");
        fuzz::copyGameData("effects");
        auto* client = new CGameImplementation();
        getEngine().setClient(client);
        client->drop();
        client->onStart();
        client->registerScriptFunctions();
        std::atexit([] { game().onExit(); });
        return client;
    }();
    return *made;
}

// The device time of the frames: it only moves on, from one input to the next, as it does in a
// game that opens level after level.
void runFrames() {
    static irr::u32 now = 1000;
    irr::ITimer* timer = fuzz::scene()->getTimer();
    for (int frame = 0; frame < kFrames; ++frame) {
        now += 100;
        timer->setTime(now);
        getEngine().getRenderer().renderAll();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    game();
    const std::string folder = fuzz::writeDataFolder("levels/fuzz", data, size);
    try {
        openDialog(folder + "level.dlg");
        runFrames();
        if (CGameDialogFactory* level = currentLevel()) {
            while (!level->loadWave(++level->currentWave)) {
            }
        }
    } catch (const fuzz::InputRefused&) {
    }
    getEngine().closeDialogs("");
    fuzz::clearScene();
    return 0;
}
