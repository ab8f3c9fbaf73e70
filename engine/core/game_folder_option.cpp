#include "game_folder_option.h"

#include "platform/files.h"
#include "platform/native_path.h"
#include "utils/utils_fs.h"

std::string chooseGameFolder() {
    std::string given;
    if (!getCommandLineOptionAsWritten("game", given)) {
        return std::string();
    }
    if (given.empty()) {
        return "-game needs the game's folder: -game=DIR";
    }
    std::string folder = absoluteEnginePath(given);
    // The native form shows the folder's names as they are on the disk.
    std::string shown = toNativePath(folder);
    if (!isFolder(folder)) {
        return "game folder " + shown + " does not exist";
    }
    if (!isFolder(folder + "\\data")) {
        return "game folder " + shown + " holds no data folder (" + shown + "/data)";
    }
    setGameFolder(folder);
    return std::string();
}
