#pragma once

#include "script_api.h"
#include "userstats.h"

#include "core/module_userprofile.h"
#include "game_level/level_fixture.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <string>

// The level game with the game's profile statistics.
class ApiGame : public LevelGame {
public:
    IProfileExtension* createProfileExtension() override { return new CGameStatistics(); }
};

// The level test scene with the game's script functions registered, an active profile with the
// game's statistics, the bar descriptions the functions name and English option labels.
class GameApiTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        auto* apiGame = new ApiGame();
        getEngine().setClient(apiGame);
        apiGame->drop();
        getEngine().setActiveProfile("Tester");
        registerGameScriptFunctions(getEngine().getScripting().vm());
        for (const char* bar : {"gui/loading_bg.spr", "gui/loading.spr", "gui/volslider_bg.spr",
                                "gui/volslider.spr"}) {
            writeUnitSprite(bar);
        }
        program.folder().write("data_en/strings.lng", "OPTION.LABEL.FULLSCREEN=Full screen\n"
                                                      "OPTION.LABEL.WINDOWED=Windowed\n"
                                                      "OPTION.LABEL.WINCURSOR=System cursor\n"
                                                      "OPTION.LABEL.FANCYCURSOR=Game cursor\n"
                                                      "MENU.FULLSCREEN.WARNING=Restart the game\n");
        clearLocalizationCaches();
    }
    void TearDown() override {
        LevelTest::TearDown();
        getEngine().setActiveProfile("");
    }

    static CUserProfile* profile() { return getEngine().getActiveProfile(); }
    // The profile file as last written.
    static std::string savedProfile() {
        std::string text;
        readFileRaw(profile()->profilePath(), text);
        return text;
    }
    static squirrel::Object eval(const std::string& expression) {
        return run("return " + expression + ";");
    }
    // A sprite of the orange image named `name`, `width` by `height`, at (x, 0, 0), with a label
    // when `labelled`.
    static CNodeBasement* optionNode(const std::string& name, float width, float height,
                                     float x = 0, bool labelled = false) {
        std::string text = "-Texture:\\gui\\orange.png\n-Name:" + name + "\n-Size:w" +
                           std::to_string(width) + " h" + std::to_string(height) + "\n";
        if (labelled) {
            text += "-Label:?label\n";
        }
        return createSprite("raw:\\" + text, 1, 1, {x, 0, 0}, nullptr, nullptr, "game_api_test");
    }
};
