// The game as `cmake --install` lays it out, into a staging folder (DESTDIR) under a prefix it
// was not built for: the installed program finds its game relative to its own place and plays
// it, started from another working folder.

#include "support/child_process.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(Install, TheInstalledProgramFindsItsGameBesideItAndPlaysItFromAnyFolder) {
    TemporaryFolder stage;
    ASSERT_EQ(runShellCommand("DESTDIR='" + stage.native() + "' '" VELLUM_CMAKE "' --install '" +
                              VELLUM_BUILD_DIR + "' --prefix /usr >'" + stage.native() +
                              "install.log' 2>&1"),
              0)
        << stage.read("install.log");
    const std::string root = stage.native() + "usr/";
    ASSERT_TRUE(std::filesystem::is_regular_file(root + "games/vellum"));
    for (const char* installed :
         {"share/games/vellum/game.ini", "share/games/vellum/data/scripts/startup.nut",
          "share/games/vellum/data_en/strings.lng", "share/games/vellum/data_de/strings.lng",
          "share/doc/vellum/authoring.md", "share/doc/vellum/script_reference.md",
          "share/icons/hicolor/48x48/apps/org.vellumengine.Vellum.png",
          "share/icons/hicolor/64x64/apps/org.vellumengine.Vellum.png",
          "share/icons/hicolor/128x128/apps/org.vellumengine.Vellum.png",
          "share/icons/hicolor/256x256/apps/org.vellumengine.Vellum.png"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(root + installed)) << installed;
    }
    EXPECT_FALSE(std::filesystem::is_symlink(root + "share/games/vellum/data"));
    // The menu entry, the software-centre record and the manual page, each as its validator or
    // reader accepts it (the validators come with tools/install-deps.sh). These system tools run
    // without the libraries the sanitizer build preloads into its test programs (and so into
    // their children): appstreamcli hangs with them.
    EXPECT_EQ(runShellCommand("env -u LD_PRELOAD desktop-file-validate '" + root +
                              "share/applications/org.vellumengine.Vellum.desktop'"),
              0);
    EXPECT_EQ(runShellCommand("env -u LD_PRELOAD appstreamcli validate --no-net '" + root +
                              "share/metainfo/org.vellumengine.Vellum.metainfo.xml' >/dev/null"),
              0);
    const std::string manual = stage.native() + "manual.txt";
    EXPECT_EQ(runShellCommand("env -u LD_PRELOAD MANWIDTH=200 man -l '" + root +
                              "share/man/man6/vellum.6' >'" + manual + "' 2>&1"),
              0);
    for (const char* option : {"-game=DIR", "-check", "-ul=FOLDER", "ExitAfterFrames"}) {
        EXPECT_NE(stage.read("manual.txt").find(option), std::string::npos) << option;
    }

    TemporaryFolder elsewhere;
    const std::string shot = elsewhere.native() + "installed.png";
    const int exitCode = runShellCommand(
        "cd '" + elsewhere.native() + "' && CI=1 XDG_DATA_HOME='" + elsewhere.native() +
        "home' XDG_STATE_HOME='" + elsewhere.native() + "state' '" + root +
        "games/vellum' ExitAfterFrames=45 FixedFrameTime=20 SoundDevice=0 " + "ScreenshotAt=40:'" +
        shot + "' >run.out 2>run.err");
    EXPECT_EQ(exitCode, 0) << elsewhere.read("run.err");
    EXPECT_GT(litShare(shot), 0.5f) << "the loading screen shows";
    EXPECT_TRUE(std::filesystem::exists(elsewhere.native() + "home/Vellum"))
        << "the players' files go to the user's data folder";
    // The installed program never writes beside itself: its logs go to the user's state folder.
    EXPECT_TRUE(std::filesystem::exists(elsewhere.native() + "state/Vellum/last_debug.log"));
    EXPECT_TRUE(
        std::filesystem::exists(elsewhere.native() + "state/Vellum/last_scriptcomp_error_all.log"));
    for (const char* folder : {"share/games/vellum/", "games/"}) {
        EXPECT_FALSE(std::filesystem::exists(root + folder + "last_debug.log")) << folder;
    }
    EXPECT_FALSE(std::filesystem::exists(elsewhere.native() + "last_debug.log"));
}
