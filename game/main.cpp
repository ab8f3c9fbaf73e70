#include "core/game_folder_option.h"
#include "core/server_game.h"
#include "game_check.h"
#include "gameimplementation.h"
#include "platform/locale_text.h"
#include "platform/process.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"
#include "utils/vellum_error.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    setCommandLine(argc, argv);
    // A game folder that cannot be run ends the process before any window opens.
    const std::string gameProblem = chooseGameFolder();
    if (!gameProblem.empty()) {
        std::fprintf(stderr, "vellum: %s\n", gameProblem.c_str());
        return 1;
    }
    adoptUserLocale();
    CGameImplementation* game = new CGameImplementation();
    std::string checkOption;
    if (getCommandLineOption("check", checkOption, false)) {
        // Reads the whole game and reports its problems; no window, no sound.
        const int checkStatus = runGameCheck(game);
        game->drop();
        return checkStatus;
    }
    int status = 0;
    try {
        run(game);
    } catch (const CVellumError& error) {
        rawMessageBox(std::string("Error occured!\n'") + error.what() + "'", 0);
        // A failure must not look like a clean run to whoever started the game.
        status = 1;
    }
    // The engine holds its own reference until process exit.
    game->drop();
    return status;
}
