// The built game started as its own process with "-game=DIR": a copy of the bundled game in a
// folder with capitals and spaces runs from another working folder, takes its game.ini from there
// and writes there; a folder that is no game ends the process at once with one line naming it.

#include "support/child_process.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

} // namespace

TEST(GameFolder, AGameInAFolderWithCapitalsAndSpacesRunsFromAnotherWorkingFolder) {
    TemporaryFolder top;
    const std::string game = top.native() + "My Games/Vellum Copy/";
    std::filesystem::create_directories(game + "Profile");
    for (const char* folder : {"data", "data_en"}) {
        std::filesystem::copy(kRepository + folder, game + folder,
                              std::filesystem::copy_options::recursive);
    }
    // The game's own game.ini says where its screenshot goes (relative: into the game folder);
    // the command line still overrides its keys.
    std::filesystem::copy_file(kRepository + "game.ini", game + "game.ini");
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
