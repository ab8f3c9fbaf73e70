#include "config_fixture.h"

#include "core/engine_config.h"

using Names = std::vector<std::string>;

TEST_F(ConfigTest, GameIniIsFramedByLineBreaksAndCached) {
    writeGameIni("Fullscreen=1\nLanguage=data_en");
    EngineConfig config;
    EXPECT_EQ(config.getGameIni(), "\nFullscreen=1\nLanguage=data_en\n");
    writeGameIni("Fullscreen=0\n");
    EXPECT_EQ(config.getGameIniValue("Fullscreen"), "1");
    EXPECT_EQ(config.getGameIniValue("Language"), "data_en");
}

TEST_F(ConfigTest, CommandLinePiecesOverrideAndDisableGameIniLines) {
    writeGameIni("Fullscreen=1\nFullscreenMode=2\nDebug=0\n");
    useCommandLine({"Fullscreen=0", "noequals", "a=b=c", "=5", "Debug=3"});
    EngineConfig config;
    EXPECT_EQ(config.getGameIni(), "\n//Fullscreen=1\n//FullscreenMode=2\n//Debug=0\n\n"
                                   "\nFullscreen=0\n\nDebug=3\n");
    EXPECT_EQ(config.getGameIniValue("Fullscreen"), "0");
    EXPECT_EQ(config.getGameIniValue("Debug"), "3");
}

TEST_F(ConfigTest, LoadReadsEveryKeyOfGameIni) {
    writeGameIni("Version=2.5\nAppDataFolder=Whatever\nDebug=6\nLogLevel=2\nHiQuality=1\n"
                 "ShowTooltipAlways=1\nRenderer=1\nSoundDevice=1\nAntialiasing=1\nVSync=1\n"
                 "BitsPerPixel=16\nExitAfterFrames=40\nFixedFrameTime=16\n"
                 "ScreenshotAt=3:/tmp/a.png, 7:/tmp/b c.png,bad,9:\n");
    EngineConfig config;
    config.load();
    EXPECT_EQ(config.Version, "2.5");
    EXPECT_EQ(config.Debug, 6);
    EXPECT_EQ(config.LogLevel, 2);
    EXPECT_EQ(config.HiQuality, 1);
    EXPECT_EQ(config.ShowTooltipAlways, 1);
    EXPECT_EQ(config.Renderer, 1);
    EXPECT_EQ(config.SoundDevice, 1);
    EXPECT_EQ(config.Antialiasing, 1);
    EXPECT_EQ(config.VSync, 1);
    EXPECT_EQ(config.BitsPerPixel, 16);
    EXPECT_EQ(config.ExitAfterFrames, 40);
    EXPECT_EQ(config.FixedFrameTime, 16);
    ASSERT_EQ(config.ScreenshotAt.size(), 2u);
    EXPECT_EQ(config.ScreenshotAt[0].frame, 3);
    EXPECT_EQ(config.ScreenshotAt[0].path, "/tmp/a.png");
    EXPECT_EQ(config.ScreenshotAt[1].frame, 7);
    EXPECT_EQ(config.ScreenshotAt[1].path, "/tmp/b c.png");
}

TEST_F(ConfigTest, MissingGameIniGivesTheFallbackValues) {
    EngineConfig config;
    EXPECT_EQ(config.Version, "0.0a");
    config.load();
    EXPECT_EQ(config.Version, "");
    EXPECT_EQ(config.Renderer, 3);
    EXPECT_EQ(config.BitsPerPixel, 32);
    EXPECT_EQ(config.Debug, 0);
    EXPECT_EQ(config.SoundDevice, 0);
    EXPECT_EQ(config.ExitAfterFrames, 0);
    EXPECT_TRUE(config.ScreenshotAt.empty());
    EXPECT_EQ(config.largeTextures, 1);
}

TEST_F(ConfigTest, AGameFolderTakesItsOwnGameIniOrElseTheProgramsUnderAUserFolderOfItsOwn) {
    writeGameIni("AppDataFolder=Vellum\nLanguage=data_en\nXResolution=1024\n");
    folder.write("Tiny Game/data/.keep", "");
    setGameFolder(folder.engine() + "Tiny Game\\");
    EngineConfig defaults;
    EXPECT_EQ(defaults.getGameIniValue("XResolution"), "1024");
    EXPECT_EQ(defaults.getGameIniValue("Language"), "data_en");
    EXPECT_EQ(defaults.getGameIniValue("AppDataFolder"), "tiny game");

    folder.write("Tiny Game/game.ini", "Language=data_de\nVersion=0.1\n");
    EngineConfig own;
    EXPECT_EQ(own.getGameIniValue("Language"), "data_de");
    EXPECT_EQ(own.getGameIniValue("XResolution"), "") << "nothing mixes in from the program's";
    EXPECT_EQ(own.getGameIniValue("AppDataFolder"), "tiny game");

    folder.write("Tiny Game/game.ini", "AppDataFolder=TinyGame\n");
    useCommandLine({"AppDataFolder=Elsewhere"});
    EngineConfig named;
    EXPECT_EQ(named.getGameIniValue("AppDataFolder"), "Elsewhere");
    setGameFolder("");
}

TEST_F(ConfigTest, FirstRunActivatesPlayerUntilTheConfigurationIsSaved) {
    writeGameIni("Version=1\n");
    EngineConfig config;
    config.load();
    EXPECT_EQ(config.firstRun, 1);
    EXPECT_EQ(config.ActiveProfile, "Player");
    EXPECT_TRUE(config.PastProfiles.empty());
    config.PastProfiles = {"Player", "", "Bob"};
    config.save();
    EXPECT_EQ(config.firstRun, 0);
    EXPECT_EQ(readUserFile("game_options.ini"), "ActiveProfile=Player\nPastProfiles=Player,,Bob\n");

    EngineConfig next;
    next.load();
    EXPECT_EQ(next.firstRun, 0);
    EXPECT_EQ(next.ActiveProfile, "Player");
    EXPECT_EQ(next.PastProfiles, (Names{"Player", "Bob"}));
}

TEST_F(ConfigTest, OptionsComeFromGameIniOnlyWhenTheUserHasNoOptionsFile) {
    writeGameIni("ActiveProfile=Default\nPastProfiles=Default\n");
    EngineConfig fromProgram;
    fromProgram.load();
    EXPECT_EQ(fromProgram.ActiveProfile, "Default");
    EXPECT_EQ(fromProgram.firstRun, 0);

    writeUserFile("game_options.ini", "ActiveProfile= Ann \nPastProfiles=Ann,,Bob,");
    EngineConfig fromUser;
    fromUser.load();
    EXPECT_EQ(fromUser.ActiveProfile, "Ann");
    EXPECT_EQ(fromUser.PastProfiles, (Names{"Ann", "Bob"}));
}

TEST_F(ConfigTest, HighScoresComeFromTheUserFileBeforeTheProgramFile) {
    folder.write("program/hiscores.ini", "Line0=0;00000001;500;Program\n");
    EngineConfig config;
    config.load();
    EXPECT_EQ(config.HighScores.tableName(), "main");
    EXPECT_EQ(config.HighScores.entry(0).PlayerName, "Program");

    writeUserFile("hiscores.ini", "Line0=0;00000001;700;User\n");
    EngineConfig withUserFile;
    withUserFile.load();
    EXPECT_EQ(withUserFile.HighScores.entry(0).PlayerName, "User");
    EXPECT_FALSE(withUserFile.HighScores.isDirty());
}

TEST_F(ConfigTest, SaveWritesHighScoresToTheUserFileOnlyWhenChanged) {
    folder.write("program/hiscores.ini", "Line0=0;00000001;500;Program\n");
    EngineConfig config;
    config.load();
    config.save();
    EXPECT_FALSE(userFileExists("hiscores.ini"));
    config.HighScores.addScore(900, "New", 5, "");
    config.save();
    EXPECT_NE(readUserFile("hiscores.ini").find("Line0=0;00000005;900;New\n"), std::string::npos);
    EXPECT_EQ(folder.read("program/hiscores.ini"), "Line0=0;00000001;500;Program\n");
}

TEST(PastProfiles, KeepsAPlayerAmongTheThreeMostRecentInPlace) {
    Names list{"A", "B"};
    updatePastProfiles(list, "B");
    EXPECT_EQ(list, (Names{"A", "B"}));
    list = {"A", "B", "C"};
    updatePastProfiles(list, "C");
    EXPECT_EQ(list, (Names{"A", "B", "C"}));
}

TEST(PastProfiles, MovesALaterPlayerToTheFront) {
    Names list{"A", "C", "D", "B", "E"};
    updatePastProfiles(list, "B");
    EXPECT_EQ(list, (Names{"B", "A", "C", "D", "E"}));
}

TEST(PastProfiles, AddsANewPlayerAtTheFront) {
    Names list;
    updatePastProfiles(list, "A");
    EXPECT_EQ(list, (Names{"A"}));
    updatePastProfiles(list, "B");
    EXPECT_EQ(list, (Names{"B", "A"}));
}

TEST(PastProfiles, DropsDuplicatesEmptiesAndEntriesBeyondTheTenth) {
    Names list{"A", "", "A", "B", "A"};
    updatePastProfiles(list, "A");
    EXPECT_EQ(list, (Names{"A", "B"}));
    list = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    updatePastProfiles(list, "new");
    EXPECT_EQ(list, (Names{"new", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    updatePastProfiles(list, "10");
    EXPECT_EQ(list, (Names{"10", "new", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}
