// The built game started as its own process with "-game=DIR": a copy of the bundled game in a
// folder with capitals and spaces runs from another working folder, takes its game.ini from there
// and writes there; a folder that is no game ends the process at once with one line naming it.

#include "support/child_process.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

const std::string kRepository = VELLUM_SOURCE_DIR "/";

struct ChildRun {
    int exitCode = -1;
    std::string output;
    std::string errors;
};

// Runs the built game in `workingFolder` with the arguments (already quoted for the shell) and
// without a display name unless `withDisplay`, collecting what it prints.
ChildRun runGame(const TemporaryFolder& workingFolder, const std::string& arguments,
                 bool withDisplay) {
    const std::string command = "cd '" + workingFolder.native() + "' && CI=1 " +
                                (withDisplay ? "" : "env -u DISPLAY ") +
                                "'" VELLUM_EXECUTABLE "' " + arguments + " >child.out 2>child.err";
    ChildRun run;
    run.exitCode = runShellCommand(command);
    run.output = workingFolder.read("child.out");
    run.errors = workingFolder.read("child.err");
    return run;
}

// A copy of the bundled game (common and English data, game.ini) in the folder `game`, with a
// "Profile" folder that keeps the player's files inside when `withProfile`.
void copyBundledGame(const std::string& game, bool withProfile) {
    std::filesystem::create_directories(withProfile ? game + "Profile" : game);
    for (const char* folder : {"data", "data_en"}) {
        std::filesystem::copy(kRepository + folder, game + folder,
                              std::filesystem::copy_options::recursive);
    }
    std::filesystem::copy_file(kRepository + "game.ini", game + "game.ini");
}

} // namespace

TEST(GameFolder, AGameInAFolderWithCapitalsAndSpacesRunsFromAnotherWorkingFolder) {
    TemporaryFolder top;
    const std::string game = top.native() + "My Games/Vellum Copy/";
    // The game's own game.ini says where its screenshot goes (relative: into the game folder);
    // the command line still overrides its keys.
    copyBundledGame(game, true);
    std::string text = top.read("My Games/Vellum Copy/game.ini");
    for (const auto& [key, value] :
         {std::pair<std::string, std::string>{"ScreenshotAt", "40:Shot Here.png"},
          {"ExitAfterFrames", "100000"}}) {
        const size_t at = text.find("\n" + key + "=");
        ASSERT_NE(at, std::string::npos) << key;
        text.replace(at + 1, text.find('\n', at + 1) - at - 1, key + "=" + value);
    }
    top.write("My Games/Vellum Copy/game.ini", text);
    TemporaryFolder elsewhere;
    const std::string relative = std::filesystem::relative(game, elsewhere.native()).string();

    ChildRun run = runGame(
        elsewhere, "\"-game=" + relative + "\" ExitAfterFrames=45 FixedFrameTime=20 SoundDevice=0",
        true);

    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(std::filesystem::exists(game + "last_debug.log")) << "logs go to the game folder";
    ASSERT_TRUE(std::filesystem::exists(game + "Shot Here.png")) << run.errors;
    EXPECT_GT(litShare(game + "Shot Here.png"), 0.5f) << "the loading screen shows";
    EXPECT_FALSE(std::filesystem::exists(elsewhere.native() + "Shot Here.png"));
    EXPECT_FALSE(std::filesystem::exists(elsewhere.native() + "last_debug.log"));
    // The player's files stay in the game's own Profile folder.
    EXPECT_FALSE(std::filesystem::is_empty(game + "Profile"));
}

TEST(GameFolder, AFolderThatIsNoGameEndsTheRunAtOnceWithOneLineNamingIt) {
    TemporaryFolder top;
    top.write("Empty Game/readme.txt", "no data folder here\n");

    ChildRun missing = runGame(top, "\"-game=No Such Game\"", false);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.errors,
              "vellum: game folder " + top.native() + "No Such Game does not exist\n");
    EXPECT_EQ(missing.output, "");

    ChildRun empty = runGame(top, "-game=" + top.native() + "Empty\\ Game", false);
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.errors, "vellum: game folder " + top.native() + "Empty Game holds no data " +
                                "folder (" + top.native() + "Empty Game/data)\n");
    // No game ran: nothing was written into the folder.
    EXPECT_FALSE(top.exists("Empty Game/last_debug.log"));
}

TEST(GameFolder, AGameFolderThePlayerMayNotWriteToKeepsItsLogsInThePlayersStateFolder) {
    TemporaryFolder top;
    const std::string game = top.native() + "Shared Game/";
    copyBundledGame(game, false);
    const std::string state = top.native() + "state/";
    const std::string data = top.native() + "userdata/";
    std::filesystem::create_directories(state);
    std::filesystem::create_directories(data);
    using std::filesystem::perms;
    std::filesystem::permissions(game,
                                 perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove);
    // The superuser may write anywhere: the game then runs as the unprivileged user "nobody",
    // who may read the game and the display's key and write the player's own folders only.
    std::string runAs;
    std::string display;
    if (geteuid() == 0) {
        runAs = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        std::filesystem::permissions(top.native(), perms::all);
        std::filesystem::permissions(state, perms::all);
        std::filesystem::permissions(data, perms::all);
        if (const char* authority = std::getenv("XAUTHORITY")) {
            std::filesystem::copy_file(authority, top.native() + "display-key");
            std::filesystem::permissions(top.native() + "display-key", perms::owner_read |
                                                                           perms::group_read |
                                                                           perms::others_read);
            display = "XAUTHORITY='" + top.native() + "display-key' ";
        }
    }
    const std::string command = "cd '" + top.native() + "' && CI=1 " + display +
                                "XDG_STATE_HOME='" + state + "' XDG_DATA_HOME='" + data + "' " +
                                runAs + "'" VELLUM_EXECUTABLE "' '-game=" + game +
                                "' ExitAfterFrames=30 FixedFrameTime=20 SoundDevice=0 "
                                ">child.out 2>child.err";

    const int exitCode = runShellCommand(command);
    std::filesystem::permissions(game, perms::owner_write, std::filesystem::perm_options::add);

    EXPECT_EQ(exitCode, 0) << top.read("child.err");
    EXPECT_TRUE(std::filesystem::exists(state + "Vellum/last_debug.log"));
    EXPECT_FALSE(std::filesystem::exists(game + "last_debug.log"));
}

TEST(GameFolder, WhatTheEngineLogsWhileShuttingDownReachesTheDebugLog) {
    TemporaryFolder top;
    const std::string game = top.native() + "Game/";
    copyBundledGame(game, true);
    TemporaryFolder elsewhere;

    // The sound thread stops as the engine goes, after the game's frames are over.
    const int exitCode = runShellCommand(
        "cd '" + elsewhere.native() +
        "' && CI=1 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=sound.raw '" VELLUM_EXECUTABLE
        "' '-game=" +
        game + "' ExitAfterFrames=30 FixedFrameTime=20 >child.out 2>child.err");

    EXPECT_EQ(exitCode, 0) << elsewhere.read("child.err");
    const std::string log = top.read("Game/last_debug.log");
    EXPECT_NE(log.find("Sound device thread started"), std::string::npos) << log;
    EXPECT_NE(log.find("Sound device thread stopped"), std::string::npos) << log;
}
