#include "config_fixture.h"

#include "core/engine_config.h"
#include "core/module_highscores.h"
#include "core/module_userprofile.h"
#include "utils/text_file_check.h"

#include <cmath>

namespace {

using namespace std::string_literals;

// game.ini, game_options.ini, profiles and high-score tables with bad bytes, cut lines and absurd
// numbers.
class ConfigFileEdges : public ConfigTest {
protected:
    std::string userPath(const std::string& name) const { return userFolder() + name; }
};

TEST_F(ConfigFileEdges, GameIniWithByteOrderMarkReadsItsFirstKey) {
    writeGameIni("\xEF\xBB\xBF"
                 "Debug=3\nLanguage=data_de\n");
    EngineConfig config;
    config.load();
    EXPECT_EQ(config.Debug, 3);
    EXPECT_EQ(config.getGameIniValue("Language"), "data_de");
}

TEST_F(ConfigFileEdges, GameIniZeroByteEndsItAndAbsurdNumbersStayInRange) {
    writeGameIni("LogLevel=99999999999\nExitAfterFrames=-99999999999\n"
                 "Debug=1\0\nVSync=1\n"s);
    EngineConfig config;
    config.load();
    EXPECT_EQ(config.LogLevel, 99999999);
    EXPECT_EQ(config.ExitAfterFrames, -99999999);
    EXPECT_EQ(config.Debug, 1);
    EXPECT_EQ(config.VSync, 0);
    EXPECT_TRUE(boxes.sawText("Line 3 of " + programFolder() + "game.ini holds a zero byte"));
}

TEST_F(ConfigFileEdges, GameIniWithAnOverlongLineIsRefusedWithItsLine) {
    writeGameIni("Debug=2\nVersion=" + std::string(kMaxTextLineBytes, '9') + "\n");
    EngineConfig config;
    config.load();
    EXPECT_EQ(config.Debug, 0);
    EXPECT_TRUE(boxes.sawText("Line 2 of " + programFolder() + "game.ini is longer than"));
}

TEST_F(ConfigFileEdges, ProfileNumbersBeyondTheRangeReadAsZeroAndLongLinesAreKept) {
    writeGameIni("EffectsVolume=0.5\nMusicVolume=0.5\n");
    EngineConfig config;
    // A script may keep a long value in the profile: the player's own file is never refused for
    // it, or the next save would lose everything in it.
    const std::string longValue(kMaxTextLineBytes * 2, 'v');
    writeUserFile("pr_QW5u.ini", "EffectsVolume=1.0e999\nMusicVolume=-0\nXResolution=99999999999\n"
                                 "Option[long]=" +
                                     longValue +
                                     "\nOptionDouble[nan]=nan\nOptionDouble[inf]=inf\n"
                                     "Language=\x81\xFF\n");
    CUserProfile profile("Ann", config, nullptr);
    profile.load();
    EXPECT_EQ(profile.getEffectsVolume(), 0.0f);
    EXPECT_FALSE(std::signbit(profile.getMusicVolume()));
    EXPECT_EQ(profile.getXResolution(), 99999999);
    EXPECT_EQ(profile.getOptions().getStringOption("long"), longValue);
    EXPECT_EQ(profile.getOptions().getDoubleOption("nan", 3.0f), 0.0f);
    EXPECT_EQ(profile.getOptions().getDoubleOption("inf", 3.0f), 0.0f);
    EXPECT_EQ(profile.getLanguage(), "\x81\xFF");
    EXPECT_TRUE(boxes.sawText("'1.0e999'"));
    EXPECT_FALSE(boxes.sawText("is longer than"));
}

TEST_F(ConfigFileEdges, ProfileZeroByteKeepsTheKeysBeforeIt) {
    writeGameIni("EffectsVolume=0.5\n");
    EngineConfig config;
    writeUserFile("pr_QW5u.ini", "EffectsVolume=0.25\nMusicVol\0ume=0.75\n"s);
    CUserProfile profile("Ann", config, nullptr);
    profile.load();
    EXPECT_FLOAT_EQ(profile.getEffectsVolume(), 0.25f);
    EXPECT_TRUE(boxes.sawText("Line 2 of " + userPath("pr_QW5u.ini") + " holds a zero byte"));
}

TEST_F(ConfigFileEdges, HighScoresWithAbsurdScoresAndCutLinesStayInRange) {
    writeUserFile("hiscores.ini", "Line0=1;FFFFFFFFFFFF;99999999999999999999999;Big\n"
                                  "Line1=1;1;-99999999999999999999999;Small\n"
                                  "Line2=1;\xFF\x81;7;\x90\x9D\nLine3=1;00000003;12");
    CHighScoreTable table;
    ASSERT_TRUE(table.loadHighScores("main", userPath("hiscores.ini")));
    // A score beyond the table's range is its largest (or, negative, wraps as -1 does).
    EXPECT_EQ(table.entry(0).Score, 0xFFFFFFFFu);
    EXPECT_EQ(table.entry(0).PlayerName, "Big");
    EXPECT_EQ(table.entry(1).Score, 0u);
    EXPECT_EQ(table.entry(2).Score, 0u);
    EXPECT_EQ(table.entry(3).Score, 12u);
    EXPECT_EQ(table.entry(3).PlayerName, "");
}

TEST_F(ConfigFileEdges, HighScoreTableWithAZeroByteKeepsTheLinesBeforeIt) {
    writeUserFile("hiscores.ini", "Line0=1;1;50;Ann\nLine1=1;2;4\0"
                                  "0;Bob\n"s);
    CHighScoreTable table;
    ASSERT_TRUE(table.loadHighScores("main", userPath("hiscores.ini")));
    EXPECT_EQ(table.entry(0).Score, 50u);
    EXPECT_EQ(table.entry(1).Score, 4u);
    EXPECT_TRUE(boxes.sawText("Line 2 of " + userPath("hiscores.ini") + " holds a zero byte"));
}

} // namespace
