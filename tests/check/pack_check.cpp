#include "pack_check.h"

#include "check/check_run.h"
#include "game_check.h"
#include "gameimplementation.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <cstdio>

PackCheck checkGameFolder(const std::string& gameFolder) {
    setGameFolder(gameFolder);
    PackCheck result;
    auto* game = new CGameImplementation();
    std::FILE* out = std::tmpfile();
    result.status = runCheck(game, gameCheckExtensions(), out);
    game->drop();
    std::rewind(out);
    std::string text;
    for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out)) {
        text += static_cast<char>(c);
    }
    std::fclose(out);
    result.lines = splitList(text, '\n', false);
    setGameFolder("");
    return result;
}
