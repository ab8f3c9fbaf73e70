// Frame times of the game's own heaviest level (many sprites, text and physics), run unattended:
// the bundled game data is copied into a program folder of its own whose start-up script opens
// the level directly once the game runs; game time advances a fixed 20 ms per frame, so every
// run plays the same frames. After a short settling time it measures 600 frames of the real
// main loop (animation, physics, scripts, drawing) and prints
//   level=NAME frame_ms=F frame_ms_p95=P
// (the median wall-clock time per frame and its 95th percentile), then a comment line with the
// mean and the slowest frame. The level's name may be given as the first argument; level5 is the
// biggest.

#include "core/server_game.h"
#include "core/vellumengine.h"
#include "frame_times.h"
#include "gameimplementation.h"
#include "platform/message_box.h"
#include "platform/native_path.h"
#include "script/module_scripting.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const int kSettlingFrames = 60;
const int kMeasuredFrames = 600;
const int kFrameTimeMs = 20;

const char* const kStartupDefinitions = R"(
::levelOpen <- 0;
function startGame()
{
    ::levelWait <- core_SetInterval(50, "openLevel();");
}
function openLevel()
{
    if (core_GetGameState() < 500)
        return;
    core_CancelInterval(::levelWait);
    core_OpenDialog(::levelToOpen);
    ::levelOpen <- 1;
}
function levelFinished_Good(next) {}
function levelFinished_Bad(next) {}
)";

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

// A program folder with the game's data folders, of its scripts only the rules, a start-up
// script that opens the level, and a game.ini for an unattended run without sound.
fs::path makeProgramFolder(const std::string& level) {
    std::string pattern = (fs::temp_directory_path() / "vellum-level-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        return fs::path();
    }
    const fs::path folder(pattern);
    const std::string source = __FILE__;
    const std::string repository = source.substr(0, source.rfind("bench/sprites/"));
    for (const char* data : {"data", "data_en", "data_de"}) {
        fs::copy(repository + data, folder / data, fs::copy_options::recursive);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / "data" / "scripts")) {
        if (entry.path().filename() != "rules.nut") {
            fs::remove(entry.path());
        }
    }
    writeFile(folder / "data" / "scripts" / "startup.nut",
              "::levelToOpen <- \"" + level + "\";\n" + kStartupDefinitions);
    writeFile(folder / "game.ini",
              "Version=bench\nAppDataFolder=VellumBench\nDebug=0\nLogLevel=0\nHiQuality=1\n"
              "Renderer=1\nBitsPerPixel=32\nVSync=0\nSoundDevice=0\nFullscreen=0\nWinCursor=0\n"
              "EffectsVolume=0\nMusicVolume=0\nXResolution=800\nYResolution=600\n"
              "Language=data_en\nFixedFrameTime=" +
                  std::to_string(kFrameTimeMs) + "\nExitAfterFrames=" +
                  std::to_string(kSettlingFrames + kMeasuredFrames + 2000) + "\n");
    writeFile(folder / "Profile" / ".keep", "");
    return folder;
}

// The game, timing its frames from the one on which the level has opened.
class LevelTimingGame : public CGameImplementation {
public:
    explicit LevelTimingGame(const std::string& level) : level(level) {}

    void onFrame() override {
        CVellumEngine& engine = getEngine();
        if (!open) {
            open = engine.getScripting().callScriptCode("return ::levelOpen;").toInt() != 0;
            return;
        }
        const Clock::time_point now = Clock::now();
        if (++framesSinceOpen > kSettlingFrames) {
            times.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        }
        last = now;
        if (static_cast<int>(times.size()) == kMeasuredFrames) {
            report();
            engine.requestExit();
        }
    }

    bool finished() const { return static_cast<int>(times.size()) == kMeasuredFrames; }

private:
    void report() const {
        double total = 0;
        for (double time : times) {
            total += time;
        }
        const FrameTimes figures = summarizeFrameTimes(times);
        std::printf("level=%s frame_ms=%.2f frame_ms_p95=%.2f\n", level.c_str(), figures.median,
                    figures.p95);
        std::printf("#   over %i frames after %i settling frames: mean %.2f ms, slowest %.2f ms, "
                    "%i draw calls in the last frame\n",
                    kMeasuredFrames, kSettlingFrames, total / double(times.size()),
                    *std::max_element(times.begin(), times.end()),
                    getEngine().getRenderer().switchCount());
        std::fflush(stdout);
    }

    std::string level;
    bool open = false;
    int framesSinceOpen = 0;
    Clock::time_point last;
    std::vector<double> times;
};

} // namespace

int main(int argc, char** argv) {
    const std::string level = argc > 1 ? argv[1] : "level5";
    const fs::path folder = makeProgramFolder(level);
    if (folder.empty()) {
        std::fprintf(stderr, "cannot create a program folder\n");
        return 1;
    }
    const std::string programFolder = toEnginePath(folder.string() + "/");
    setProgramFolder(programFolder);
    setDebugLogFolder(programFolder);
    setUnattendedRun(true);
    auto* game = new LevelTimingGame(level);
    run(game);
    const bool finished = game->finished();
    game->drop();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    if (!finished) {
        std::fprintf(stderr, "the level did not run for %i frames\n", kMeasuredFrames);
        return 1;
    }
    return 0;
}
