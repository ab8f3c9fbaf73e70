// The bundled game played from its main menu by recorded input on the virtual display: the
// options screen and its volume slider, the high-score table, the pause screen of level 1 and
// the screens that follow a won or lost level. Every screenshot is kept for looking at.

#include "menu_run.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Depths of the dialogs' items: the main menu lies at z 0; the screens over it or over a level
// at -1.5 (name prompt and notes at -2), their buttons 0.2 further in front.
const float kMenuZ = 0.0f;
const float kScreenItemZ = -1.7f;
const float kPromptItemZ = -2.2f;
const float kPauseButtonZ = -1.2f;

const int kEscape = 27;
const int kBackspace = 8;

// The main menu of a player without a level to continue.
const float kNewGameY = 3.25f;
const float kOptionsY = 0.75f;
const float kHighScoresY = -1.75f;
// Options: the music bar spans x -0.5 .. 9.5 at y -2.5.
const float kMusicBarLeft = -0.5f;
const float kMusicBarWidth = 10.0f;
const float kMusicBarY = -2.5f;
const float kBackY = -8.2f;
// The pause button of a level, the pause screen's buttons.
const float kPauseButtonX = 16.9f;
const float kPauseButtonY = -13.3f;
const float kResumeY = 0.6f;
const float kPauseMenuY = -2.0f;
// Result screens: the left of their two buttons; the name prompt's OK.
const float kLeftButtonX = -4.5f;
const float kResultButtonY = -2.4f;
const float kGameEndButtonY = -3.0f;
const float kPromptOkY = -3.2f;

// "New game" is clicked at frame 80; level 1 is open (behind a fading curtain) by frame 110.
const int kNewGameFrame = 80;
std::string newGame() {
    return clickAt(kNewGameFrame, 0, kNewGameY, kMenuZ);
}

// Replay lines: a hole dropped by a click of `button` ("left" or "right") on the scene point
// (x, y) of the level's plane (16 pixels to the unit, y upwards), with the pointer moved there
// ten frames before.
std::string holeAt(int frame, const std::string& button, float x, float y) {
    const std::string at = std::to_string(static_cast<int>(320 + 16 * x)) + " " +
                           std::to_string(static_cast<int>(240 - 16 * y));
    return std::to_string(frame - 10) + " mouse move " + at + "\n" + std::to_string(frame) +
           " mouse " + button + "-down " + at + " buttons=" + (button == "left" ? "1" : "2") +
           "\n" + std::to_string(frame + 2) + " mouse " + button + "-up " + at + "\n";
}

// Counts the calls of the two level endings (and still runs the game's own).
const char* const kCountLevelEndings =
    "::goodCalls <- 0; ::badCalls <- 0;"
    "::gameGood <- ::levelFinished_Good; ::gameBad <- ::levelFinished_Bad;"
    "::levelFinished_Good <- function(next) { ::goodCalls++; ::gameGood(next); };"
    "::levelFinished_Bad <- function(next) { ::badCalls++; ::gameBad(next); };";

// Notes the first frame the ship is out of sight (its centre half its diagonal beyond the 40 by
// 30 units of the screen), and the first frames the result and the name prompt are open.
const char* const kWatchTheEnd =
    "::shipGoneAt <- 0; ::resultAt <- 0; ::promptAt <- 0;"
    "::shipInSight <- function() { local ship = core_GetNode(\"mad_ship\");"
    "  return ship != null && fabs(ship._x) < 21.7 && fabs(ship._y) < 16.7; };"
    "::noteTheEnd <- function(frame) {"
    "  if (::shipGoneAt == 0 && !::shipInSight()) ::shipGoneAt = frame;"
    "  if (::resultAt == 0 && core_IsDialogOpened(\"level_won\")) ::resultAt = frame;"
    "  if (::promptAt == 0 && core_IsDialogOpened(\"highscore_name\")) ::promptAt = frame; };";

} // namespace

TEST(GameMenus, TheMusicBarTakesTheClickedVolumeIntoTheProfileAndScreensCloseAgain) {
    TestProgram program;
    MenuRun run;
    run.input = clickAt(80, 0, kOptionsY, kMenuZ) +
                clickAt(120, kMusicBarLeft + 0.75f * kMusicBarWidth, kMusicBarY, kScreenItemZ) +
                clickAt(150, 0, kBackY, kScreenItemZ) + clickAt(170, 0, kHighScoresY, kMenuZ) +
                keyPress(210, kEscape, kEscape);
    run.shots = {{70, "menus_main.png"},
                 {110, "menus_options.png"},
                 {140, "menus_options_music.png"},
                 {200, "menus_highscores_empty.png"}};
    run.checks = {{70, {"main_menu", "options"}},
                  {110, {"options"}},
                  {165, {"options"}},
                  {200, {"highscores"}},
                  {230, {"highscores", "main_menu"}}};
    run.lastFrame = 240;
    auto report = runMenus(program, run);

    EXPECT_EQ(report["main_menu@70"], 1);
    EXPECT_EQ(report["options@70"], 0);
    EXPECT_EQ(report["options@110"], 1);
    EXPECT_EQ(report["options@165"], 0);
    EXPECT_EQ(report["highscores@200"], 1);
    EXPECT_EQ(report["highscores@230"], 0);
    EXPECT_EQ(report["main_menu@230"], 1);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_EQ(report["languagefile"], 1);
    // Three quarters of the bar (the sound server keeps volumes within its margins).
    EXPECT_NEAR(std::atof(profileValue(program, "MusicVolume").c_str()), 0.75, 0.03);
    EXPECT_EQ(profileValue(program, "EffectsVolume"), "0.50");
}

TEST(GameMenus, EscapeAndThePauseButtonPauseLevelOneAndTheMainMenuOffersToContinueIt) {
    TestProgram program;
    MenuRun run;
    run.input = newGame() + keyPress(160, kEscape, kEscape) + keyPress(190, kEscape, kEscape) +
                clickAt(220, kPauseButtonX, kPauseButtonY, kPauseButtonZ) +
                clickAt(250, 0, kResumeY, kScreenItemZ) +
                clickAt(280, kPauseButtonX, kPauseButtonY, kPauseButtonZ) +
                clickAt(310, 0, kPauseMenuY, kScreenItemZ);
    run.shots = {
        {150, "menus_level1.png"}, {180, "menus_pause.png"}, {380, "menus_main_continue.png"}};
    run.checks = {
        {150, {"level1", "pause", "levelstate"}}, {180, {"pause", "levelstate"}},
        {210, {"pause", "levelstate"}},           {240, {"pause"}},
        {270, {"pause", "levelstate"}},           {380, {"main_menu", "level1", "pause"}}};
    run.lastFrame = 390;
    auto report = runMenus(program, run);

    EXPECT_EQ(report["level1@150"], 1);
    EXPECT_EQ(report["pause@150"], 0);
    EXPECT_EQ(report["levelstate@150"], 2);
    EXPECT_EQ(report["pause@180"], 1);
    EXPECT_EQ(report["levelstate@180"], 3);
    EXPECT_EQ(report["pause@210"], 0);
    EXPECT_EQ(report["levelstate@210"], 2);
    EXPECT_EQ(report["pause@240"], 1);
    EXPECT_EQ(report["pause@270"], 0);
    EXPECT_EQ(report["levelstate@270"], 2);
    EXPECT_EQ(report["main_menu@380"], 1);
    EXPECT_EQ(report["level1@380"], 0);
    EXPECT_EQ(report["pause@380"], 0);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_EQ(report["languagefile"], 1);
    EXPECT_EQ(profileValue(program, "sCurrentLevel"), "level1");
}

TEST(GameMenus, WinningTheLastLevelAsksForANameAndEntersTheRunInTheHighScores) {
    TestProgram program;
    MenuRun run;
    run.input =
        newGame() + keyPress(240, kBackspace, kBackspace) + keyPress(242, kBackspace, kBackspace) +
        keyPress(244, kBackspace, kBackspace) + keyPress(246, kBackspace, kBackspace) +
        keyPress(248, kBackspace, kBackspace) + keyPress(250, kBackspace, kBackspace) +
        typing(252, "zoe") + clickAt(270, 0, kPromptOkY, kPromptItemZ) +
        clickAt(320, kLeftButtonX, kGameEndButtonY, kScreenItemZ) + keyPress(370, kEscape, kEscape);
    run.code = {{150, "levelFinished_Good(\"end\");"}};
    run.shots = {{262, "menus_highscore_name.png"},
                 {310, "menus_game_end.png"},
                 {360, "menus_highscores.png"}};
    run.checks = {{200, {"highscore_name", "game_end"}},
                  {235, {"highscore_name", "game_end", "levelstate"}},
                  {300, {"highscore_name", "game_end"}},
                  {360, {"highscores", "game_end", "levelstate"}},
                  {390, {"highscores", "game_end", "levelstate"}}};
    run.lastFrame = 400;
    auto report = runMenus(program, run);

    // The game-end screen comes first, the name prompt over it a moment later; both pause the
    // level.
    EXPECT_EQ(report["highscore_name@200"], 0);
    EXPECT_EQ(report["game_end@200"], 1);
    EXPECT_EQ(report["highscore_name@235"], 1);
    EXPECT_EQ(report["game_end@235"], 1);
    EXPECT_EQ(report["levelstate@235"], 3);
    EXPECT_EQ(report["highscore_name@300"], 0);
    EXPECT_EQ(report["game_end@300"], 1);
    // The table takes the game-end screen's place until Escape closes it; the level stays paused.
    EXPECT_EQ(report["highscores@360"], 1);
    EXPECT_EQ(report["game_end@360"], 0);
    EXPECT_EQ(report["levelstate@360"], 3);
    EXPECT_EQ(report["highscores@390"], 0);
    EXPECT_EQ(report["game_end@390"], 1);
    EXPECT_EQ(report["levelstate@390"], 3);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_EQ(report["languagefile"], 1);
    // Level 1 is worth 1000; the typed name is capitalized.
    EXPECT_NE(program.folder().read("Profile/hiscores.ini").find(";1000;Zoe\n"), std::string::npos);
    EXPECT_EQ(profileValue(program, "OptionLong[RunOver]"), "1");
}

TEST(GameMenus, ALostLevelIsRetriedAndAWonOneShowsItsScoreUnderTheGivenName) {
    TestProgram program;
    MenuRun run;
    run.input = newGame() + clickAt(240, kLeftButtonX, kResultButtonY, kScreenItemZ) +
                clickAt(420, 0, kPromptOkY, kPromptItemZ);
    run.code = {{150, "levelFinished_Bad(\"level2\");"}, {320, "levelFinished_Good(\"level2\");"}};
    run.shots = {{230, "menus_level_lost.png"}, {450, "menus_level_won.png"}};
    run.checks = {{230, {"level_lost", "levelstate"}},
                  {300, {"level_lost", "level1", "levelstate"}},
                  {410, {"highscore_name"}},
                  {450, {"highscore_name", "level_won"}}};
    run.lastFrame = 460;
    auto report = runMenus(program, run);

    EXPECT_EQ(report["level_lost@230"], 1);
    EXPECT_EQ(report["levelstate@230"], 3);
    EXPECT_EQ(report["level_lost@300"], 0);
    EXPECT_EQ(report["level1@300"], 1);
    EXPECT_EQ(report["levelstate@300"], 2);
    EXPECT_EQ(report["highscore_name@410"], 1);
    EXPECT_EQ(report["highscore_name@450"], 0);
    EXPECT_EQ(report["level_won@450"], 1);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_EQ(report["languagefile"], 1);
    // One lost try costs 250 of the level's 1000; the prompt offered the profile's name.
    EXPECT_NE(program.folder().read("Profile/hiscores.ini").find(";750;Player\n"),
              std::string::npos);
}

TEST(GameMenus, TheGermanLanguageFolderHasEveryTextOfTheMenus) {
    TestProgram program;
    MenuRun run;
    run.language = "data_de";
    run.input = clickAt(80, 0, kOptionsY, kMenuZ) + clickAt(120, 0, kBackY, kScreenItemZ) +
                clickAt(140, 0, kNewGameY, kMenuZ) + keyPress(220, kEscape, kEscape);
    run.shots = {
        {70, "menus_de_main.png"}, {110, "menus_de_options.png"}, {240, "menus_de_pause.png"}};
    run.checks = {{110, {"options"}}, {240, {"pause"}}};
    run.lastFrame = 250;
    auto report = runMenus(program, run);

    EXPECT_EQ(report["options@110"], 1);
    EXPECT_EQ(report["pause@240"], 1);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_EQ(report["languagefile"], 1);
}

TEST(GameMenus, LevelOneWonByPlayShowsItsResultAsTheShipLeavesThenAsksTheNameAndGoesOn) {
    TestProgram program;
    MenuRun run;
    // Level 1 opens at frame 106. A black hole beside the small rock, then white holes in front
    // of the station as each of the ship's three shots comes (times in frames after the opening).
    // The ship leaves the screen at the end of its last wave at about frame 1990.
    const int opened = 106;
    run.input = newGame() + holeAt(opened + 272, "right", -12, 1) +
                holeAt(opened + 422, "left", 10, -4) + holeAt(opened + 1242, "left", 10, -4) +
                holeAt(opened + 1492, "left", 10, -4) + clickAt(2200, 0, kPromptOkY, kPromptItemZ) +
                clickAt(2250, kLeftButtonX, kResultButtonY, kScreenItemZ);
    run.code = {{90, std::string(kCountLevelEndings) + kWatchTheEnd}};
    for (int frame = 1900; frame < 2200; ++frame) {
        run.code[frame] = "::noteTheEnd(" + std::to_string(frame) + ");";
    }
    run.shots = {{opened + 500, "menus_level1_holes.png"},
                 {2040, "menus_level1_won.png"},
                 {2120, "menus_level1_name.png"},
                 {2240, "menus_level1_named.png"},
                 {2330, "menus_level2.png"}};
    run.checks = {{1900, {"::goodCalls", "level1"}},
                  {2199, {"::shipGoneAt", "::resultAt", "::promptAt"}},
                  {2240, {"level_won", "highscore_name"}},
                  {2330, {"::goodCalls", "::badCalls", "level1", "level2", "levelstate"}}};
    run.lastFrame = 2331;
    auto report = runMenus(program, run);

    EXPECT_EQ(report["::goodCalls@1900"], 0);
    EXPECT_EQ(report["level1@1900"], 1);
    // "Level complete!" within a second (50 frames) of the ship leaving the screen, and the name
    // prompt over it only after it could be read a while.
    const int shipGone = report["::shipGoneAt@2199"];
    const int result = report["::resultAt@2199"];
    const int prompt = report["::promptAt@2199"];
    SCOPED_TRACE("ship gone at frame " + std::to_string(shipGone) + ", result at " +
                 std::to_string(result) + ", prompt at " + std::to_string(prompt));
    EXPECT_GT(shipGone, 1900);
    EXPECT_GT(result, shipGone);
    EXPECT_LE(result - shipGone, 50);
    EXPECT_GE(prompt - result, 50);
    EXPECT_LT(prompt, 2200);
    EXPECT_EQ(report["level_won@2240"], 1);
    EXPECT_EQ(report["highscore_name@2240"], 0);
    EXPECT_EQ(report["::goodCalls@2330"], 1);
    EXPECT_EQ(report["::badCalls@2330"], 0);
    EXPECT_EQ(report["level1@2330"], 0);
    EXPECT_EQ(report["level2@2330"], 1);
    EXPECT_EQ(report["levelstate@2330"], 2);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_EQ(report["languagefile"], 1);
    EXPECT_EQ(profileValue(program, "sCurrentLevel"), "level2");
    EXPECT_NE(program.folder().read("Profile/hiscores.ini").find(";1000;Player\n"),
              std::string::npos);
}

TEST(GameMenus, LeavingTheResultBeforeTheNamePromptKeepsTheOfferedNameInTheHighScores) {
    TestProgram program;
    MenuRun run;
    // The result opens at about frame 155 and the prompt would follow a second later; "Next
    // level" is clicked before that.
    run.input = newGame() + clickAt(180, kLeftButtonX, kResultButtonY, kScreenItemZ);
    run.code = {{90, "core_SetProfileOption(\"LastHighScoreName\", \"Ada\");"},
                {150, "levelFinished_Good(\"level2\");"}};
    run.shots = {{175, "menus_level_won_at_once.png"}};
    run.checks = {{175, {"level_won", "highscore_name"}},
                  {260, {"highscore_name", "level_won", "level2"}}};
    run.lastFrame = 270;
    auto report = runMenus(program, run);

    EXPECT_EQ(report["level_won@175"], 1);
    EXPECT_EQ(report["highscore_name@175"], 0);
    EXPECT_EQ(report["highscore_name@260"], 0);
    EXPECT_EQ(report["level_won@260"], 0);
    EXPECT_EQ(report["level2@260"], 1);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_NE(program.folder().read("Profile/hiscores.ini").find(";1000;Ada\n"), std::string::npos);
    EXPECT_EQ(profileValue(program, "Option[RunName]"), "Ada");
}

TEST(GameMenus, TheNamePromptOffersTheLastNameSelectedSoThatTypingReplacesIt) {
    TestProgram program;
    MenuRun run;
    run.input = newGame() + typing(230, "max") + clickAt(245, 0, kPromptOkY, kPromptItemZ);
    run.code = {{90, "core_SetProfileOption(\"LastHighScoreName\", \"Zoe\");"},
                {150, "levelFinished_Good(\"level2\");"}};
    run.shots = {{225, "menus_name_offered.png"}};
    run.checks = {{225, {"highscore_name"}}, {270, {"highscore_name", "level_won"}}};
    run.lastFrame = 280;
    auto report = runMenus(program, run);

    EXPECT_EQ(report["highscore_name@225"], 1);
    EXPECT_EQ(report["highscore_name@270"], 0);
    EXPECT_EQ(report["level_won@270"], 1);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_NE(program.folder().read("Profile/hiscores.ini").find(";1000;Max\n"), std::string::npos);
}

TEST(GameMenus, LevelOneLeftAloneIsLostWhenTheStationFallsAndTryAgainStartsItAfresh) {
    TestProgram program;
    MenuRun run;
    // The ship's third shot destroys the station at about frame 1820; the result screen follows.
    run.input = newGame() + clickAt(1920, kLeftButtonX, kResultButtonY, kScreenItemZ);
    run.code = {{90, kCountLevelEndings}};
    run.shots = {{1910, "menus_level1_lost.png"}, {2000, "menus_level1_retried.png"}};
    run.checks = {{1800, {"::badCalls"}},
                  {1910, {"::badCalls", "level_lost"}},
                  {2000, {"::badCalls", "::goodCalls", "level_lost", "level1", "levelstate"}}};
    run.lastFrame = 2001;
    auto report = runMenus(program, run);

    EXPECT_EQ(report["::badCalls@1800"], 0);
    EXPECT_EQ(report["::badCalls@1910"], 1);
    EXPECT_EQ(report["level_lost@1910"], 1);
    EXPECT_EQ(report["::badCalls@2000"], 1);
    EXPECT_EQ(report["::goodCalls@2000"], 0);
    EXPECT_EQ(report["level_lost@2000"], 0);
    EXPECT_EQ(report["level1@2000"], 1);
    EXPECT_EQ(report["levelstate@2000"], 2);
    EXPECT_EQ(report["boxes"], 0);
    EXPECT_EQ(report["languagefile"], 1);
}
