// A whole small game given as one input of several files (fuzz_host.h): its game.ini, common data
// folder "data/..." and language folders ("data_en/..."). The check mode reads it through its own
// entry, as "vellum -check -game=DIR" does, with the game's own extensions, and writes its report
// nowhere. The game's user folder is a folder inside it (so that nothing reaches a real user's
// folder), and the engine's configuration, language and boxes are put back afterwards, so no
// input sees an earlier one's.
#include "check/check_run.h"
#include "core/vellumengine.h"
#include "fuzz/fuzz_host.h"
#include "game_check.h"
#include "gameimplementation.h"
#include "support/test_program.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The game's folder below the program's data folder.
const char kPackFolder[] = "pack";

// Where the report goes: nowhere, or with VELLUM_FUZZ_REPORT set standard error (to see what the
// check makes of an input). Made once, together with pointing the system's temporary folder,
// where the check keeps its debug log, at the program's folder.
std::FILE* reportSink() {
    static std::FILE* sink = [] {
        std::string folder = fuzz::program().folder().native();
        folder.pop_back();
        setenv("TMPDIR", folder.c_str(), 1);
        return std::getenv("VELLUM_FUZZ_REPORT") != nullptr ? stderr : std::fopen("/dev/null", "w");
    }();
    return sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* sink = reportSink();
    const std::string pack = fuzz::writeDataFolder(kPackFolder, data, size);
    const std::filesystem::path userFolder =
        fuzz::program().folder().native() + "data/" + kPackFolder + "/Profile";
    std::filesystem::remove_all(userFolder);
    std::filesystem::create_directory(userFolder);
    setGameFolder(pack);
    CVellumEngine& engine = getEngine();
    engine.getConfig() = EngineConfig();
    auto* game = new CGameImplementation();
    try {
        runCheck(game, gameCheckExtensions(), sink);
    } catch (const fuzz::InputRefused&) {
    }
    engine.setClient(nullptr);
    game->drop();
    setGameFolder("");
    engine.getConfig() = EngineConfig();
    setLanguage("data_en");
    fuzz::answerBoxes();
    return 0;
}
