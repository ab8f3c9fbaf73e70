// Times the loading stage of the real game on its bundled data: from the first frame of the main
// loop (preloading starts) to the frame on which the engine runs (every file preloaded and every
// script compiled), in wall-clock time with the game's own frame pacing. Prints
// `preload_files=N preload_ms=T`, N being the number of data files in the preload list.
#include "animators/asystemanimators.h"
#include "core/server_game.h"
#include "core/vellumengine.h"
#include "gameimplementation.h"
#include "platform/process.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

class PreloadTimingGame : public CGameImplementation {
public:
    void onFrame() override {
        CVellumEngine& engine = getEngine();
        if (!started) {
            started = true;
            start = Clock::now();
        }
        if (!done && engine.getStage() >= STAGE_RUNNING) {
            done = true;
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::printf("preload_files=%d preload_ms=%.0f\n", countPreloadFiles(), ms);
            std::fflush(stdout);
            engine.requestExit();
        }
    }

private:
    // The length of the system animator's preload list, on the root node.
    static int countPreloadFiles() {
        CNodeBasement* root = getNodeByName("pole");
        if (root == nullptr) {
            return 0;
        }
        for (irr::scene::ISceneNodeAnimator* animator : root->getAnimators()) {
            if (auto* system = dynamic_cast<CSystemAnimator*>(animator)) {
                return static_cast<int>(system->preloadList().size());
            }
        }
        return 0;
    }

    bool started = false;
    bool done = false;
    Clock::time_point start;
};

} // namespace

int main(int argc, char** argv) {
    setCommandLine(argc, argv);
    auto* game = new PreloadTimingGame();
    run(game);
    game->drop();
    return 0;
}
