// The check mode over the pack of planted mistakes in tests/check/pack: each mistake is reported
// at the file and line that holds it, nothing else is reported, and the status is 1.

#include "check/pack_check.h"
#include "support/temporary_folder.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// The check runs once over a copy of the pack; every test reads its report.
const PackCheck& packRun() {
    static const PackCheck* run = [] {
        static TemporaryFolder folder;
        std::filesystem::copy(VELLUM_SOURCE_DIR "/tests/check/pack", folder.native() + "pack",
                              std::filesystem::copy_options::recursive);
        return new PackCheck(checkGameFolder(folder.engine() + "pack\\"));
    }();
    return *run;
}

// Whether a reported line starts with the place and severity ("data/x.spr:3: error") and holds
// the fragment.
bool reported(const std::string& where, const std::string& fragment) {
    for (const std::string& line : packRun().lines) {
        if (startsWith(line, where + ": ") && line.find(fragment) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void expectReported(const std::vector<std::pair<std::string, std::string>>& expected) {
    for (const auto& [where, fragment] : expected) {
        EXPECT_TRUE(reported(where, fragment)) << where << " ... " << fragment;
    }
}

const std::string kMenu = "data/dialogs/main_menu.dlg:";
const std::string kWave = "data/levels/one/wave1.txt:";

} // namespace

TEST(CheckPack, KeysTheEngineDoesNotKnowAndValuesItReadsOtherwise) {
    expectReported({
        {kMenu + "8: error", "unknown key '-Positon:' (did you mean '-Position:'?)"},
        {kMenu + "13: error", "'x0,5' is written with a comma: the engine reads 0"},
        {kMenu + "14: error", "-Alpha: '0,5' is written with a comma"},
        {kMenu + "19: error", "-Size: '5' after the number is ignored"},
        {kMenu + "20: error", "-Position: '10' has no tag letter"},
        {kMenu + "25: error", "-RenderOrder: ' 1' starts with a blank: the engine reads 0"},
        {kMenu + "26: error", "-Tint: '0xFF00FF00' is not a colour"},
        {"data/gui/broken_image.spr:2: warning", "lacks the dash of the key '-Alpha:'"},
        {"data/gui/button.spr:4: warning", "has no colon: it is no key"},
    });
}

TEST(CheckPack, NamedFilesThatDoNotResolveAtTheLineThatNamesThem) {
    expectReported({
        {kMenu + "2: error", "image 'data/gui/menu_bg.png' does not exist"},
        {kMenu + "3: error", "music 'menu.ogg' does not exist"},
        {kMenu + "16: error", "sound effect 'klick' does not exist"},
        {kMenu + "18: error", "image 'data/gui/nothere.png' does not exist"},
        {kMenu + "32: error", "image 'data/gui/nothing.png' does not exist"},
        {"data/gui/button.spr:3: error", "description 'data/gui/button_hover.spr' does not exist"},
        {"data/gui/broken_image.spr:1: error", "'data/gui/broken.png' cannot be read as an image"},
        {kWave + "2: error", "description 'data/actors/ghost.spr' does not exist"},
        {"data/scripts/lost_include.nut:1: error", "'data/scripts/nowhere.inc' does not exist"},
        {"data/scripts/menus.nut:3: error", "no dialog is named 'main_manu'"},
        {"data/scripts/menus.nut:4: error", "sound effect 'clack' does not exist"},
        {"data/scripts/menus.nut:5: error", "music 'theme.ogg' does not exist"},
    });
}

TEST(CheckPack, StringKeysMissingInEnglishAreErrorsAndInOtherLanguagesWarnings) {
    expectReported({
        {kMenu + "22: error", "string key 'MENU.NOKEY' has no text in data_en/strings.lng"},
        {kMenu + "22: warning", "string key 'MENU.NOKEY' has no text in data_de/strings.lng"},
        {kMenu + "10: warning", "string key 'MENU.PLAY' has no text in data_de/strings.lng"},
        {"data/scripts/menus.nut:6: error", "'MENU.MISSING' has no text in data_en/strings.lng"},
    });
    EXPECT_FALSE(reported(kMenu + "10: error", "MENU.PLAY"));
}

TEST(CheckPack, ScriptAndActionErrorsAtTheAuthorsFileAndLine) {
    expectReported({
        // Line 5 of the file, although the included helpers come before it in the compiled text.
        {"data/scripts/broken.nut:5: error", "script does not compile: expression expected"},
        {kMenu + "5: error", "action does not compile"},
        {kMenu + "15: error", "calls 'startGaem', which no script defines"},
        // The game calls onKill when an object with object info dies.
        {"data/actors/rock.spr:4: error", "no script defines onKill()"},
        // Code given to a timer as text runs like an action.
        {"data/scripts/menus.nut:7: error", "calls 'openMenuu', which no script defines"},
    });
}

TEST(CheckPack, WhatTheEngineWouldStopOnWhileRunning) {
    expectReported({
        {kMenu + "21: error", "parent 'nowhere' is never named"},
        {"data/gui/anchored.spr:2: error", "anchor 'nowhere_point' is never defined"},
        {kMenu + "24: error", "without -Texture: and without -Text:"},
        {kMenu + "28: error", "macro parameter 'label' is not name=value"},
        {"data/actors/rock.spr:3: error", "physics shape 'circel' is neither box nor circle"},
        {"data/actors/rock.spr:3: error", "unknown physics item 'mass['"},
        // A fatal report of the engine's font reader ends only the reading of that file.
        {"data/gui/font-main.xml:0: error",
         "the engine stops here: Something wrong with Font chars"},
    });
    // The anchor of the file's own [Anchor] section is known.
    EXPECT_FALSE(reported("data/gui/anchored.spr:5: error", ""));
}

TEST(CheckPack, FilesTheEngineAndTheGameNeedAreEachNamed) {
    expectReported({
        {"data/gui/black.png:0: error", "the pause fader"},
        {"data/gui/cursor_point.png:0: error", "the drawn cursor in levels"},
        {"data/gui/font-alt.xml:0: error", "the alternative font"},
        {"data/scripts/startup.nut:3: error",
         "game_CreatePreloaderSlider needs 'data/gui/loading.spr'"},
        {"data/scripts/startup.nut:3: error",
         "game_CreatePreloaderSlider needs 'data/gui/loading_bg.spr'"},
        {"data/levels/one/level.dlg:13: error", "needs 'data/actors/black_hole.spr'"},
        {"data/levels/one/level.dlg:13: error", "needs 'data/actors/white_hole.spr'"},
        {"data/actors/rock.spr:4: error", "needs 'data/effects/health_bar.spr'"},
        {kMenu + "32: error", "frame markup needs 'data/gui/canvas_corner.spr'"},
    });
    // The pack has these; nothing is said about them.
    EXPECT_FALSE(reported("data/gui/cursor_usual.png:0: error", ""));
    EXPECT_FALSE(reported("data/gui/empty.png:0: error", ""));
}

TEST(CheckPack, LevelsWithoutAMainPathWithPointsOutOfOrderAndWaveKeysWithGaps) {
    expectReported({
        {"data/levels/one/level.dlg:6: error", "-Wave3: lies after a gap (no -Wave2:)"},
        {kWave + "7: warning", "Point[2] comes where Point[1] belongs"},
        {kWave + "7: error", "Point[2] lies after a gap (no Point[1])"},
        {kWave + "4: error", "the main path has 1 point(s)"},
        {kWave + "9: error", "fire spot 'firespot-left' has 1 point(s)"},
        {kWave + "3: error", "actor 'rock' has no size"},
        {"data/levels/two/wave1.txt:0: error", "the first wave has no point block named MainPath"},
        {"data/levels/one/level.dlg:4: warning", "next level 'level_tow' is no dialog name"},
        {"data/levels/two/level.dlg:2: warning", "data/levels/two/strings.lng has no LEVELNAME"},
    });
    // The gap hides the third wave: its file is never read.
    EXPECT_FALSE(reported("data/levels/one/wave3.txt", ""));
}

TEST(CheckPack, EveryProblemOnceThenTheSummaryAndStatusOne) {
    const PackCheck& run = packRun();
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back(), "51 errors, 8 warnings");
    EXPECT_EQ(run.lines.size(), 51u + 8u + 1u);
    EXPECT_EQ(run.status, 1);
    for (size_t i = 0; i + 1 < run.lines.size(); ++i) {
        EXPECT_TRUE(run.lines[i].find(": error: ") != std::string::npos ||
                    run.lines[i].find(": warning: ") != std::string::npos)
            << run.lines[i];
    }
}
