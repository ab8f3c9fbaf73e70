#include "menu_run.h"

#include "core/server_game.h"
#include "core/vellumengine.h"
#include "gameimplementation.h"
#include "platform/message_box.h"
#include "scene/picture_area.h"
#include "script/module_scripting.h"
#include "support/game_data.h"
#include "support/kept_screenshot.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// The camera looks at z = 0 from this far in front; the picture shows 40 by 30 units there.
const float kCameraDistance = 20.65f;
const float kUnitsAcross = 40.0f;
const int kFrameTime = 20;

// The game, reporting at the frames asked for.
class MenuRunGame : public CGameImplementation {
public:
    MenuRunGame(const std::string& reportPath, const MenuRun& plan)
        : report(std::fopen(reportPath.c_str(), "w")), plan(plan) {}
    ~MenuRunGame() override { std::fclose(report); }

    void onFrame() override {
        ++frame;
        CScriptHost& scripting = getEngine().getScripting();
        auto action = plan.actions.find(frame);
        if (action != plan.actions.end()) {
            action->second();
        }
        auto code = plan.code.find(frame);
        if (code != plan.code.end()) {
            scripting.callScriptCode(code->second);
        }
        auto checks = plan.checks.find(frame);
        if (checks != plan.checks.end()) {
            for (const std::string& name : checks->second) {
                std::string query;
                if (name == "levelstate") {
                    query = "return game_GetLevelState();";
                } else if (name.compare(0, 2, "::") == 0) {
                    query = "return " + name + ";";
                } else {
                    query = "return core_IsDialogOpened(\"" + name + "\") ? 1 : 0;";
                }
                std::fprintf(report, "%s@%d %d\n", name.c_str(), frame,
                             scripting.callScriptCode(query).toInt());
            }
        }
        if (frame == plan.lastFrame) {
            std::fprintf(report, "boxes %d\n", boxes);
        }
        std::fflush(report);
    }
    int boxes = 0;

private:
    std::FILE* report;
    const MenuRun& plan;
    int frame = 0;
};

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string runIni(const MenuRun& plan, const std::string& folder) {
    std::string ini = TestProgram::defaultGameIni();
    ini.replace(ini.find("Language=data_en"), 16, "Language=" + plan.language);
    const std::string size = "XResolution=640\nYResolution=480";
    ini.replace(ini.find(size), size.size(),
                "XResolution=" + std::to_string(plan.window.width) +
                    "\nYResolution=" + std::to_string(plan.window.height));
    ini += "ExitAfterFrames=" + std::to_string(plan.lastFrame + 1) +
           "\nFixedFrameTime=" + std::to_string(kFrameTime) + "\nInputReplay=" + folder +
           "input.txt\nScreenshotAt=";
    for (const auto& [frame, name] : plan.shots) {
        ini += std::to_string(frame) + ":" + folder + name + ",";
    }
    return ini + "\n";
}

} // namespace

std::string screenPoint(float x, float y, float z, WindowSize window) {
    const irr::core::recti picture = fitPictureArea(irr::core::dimension2du(
        static_cast<irr::u32>(window.width), static_cast<irr::u32>(window.height)));
    const float pixelsPerUnit = static_cast<float>(picture.getWidth()) / kUnitsAcross;
    const float scale = kCameraDistance / (kCameraDistance + z) * pixelsPerUnit;
    const irr::core::position2di centre = picture.getCenter();
    return std::to_string(centre.X + static_cast<int>(x * scale)) + " " +
           std::to_string(centre.Y - static_cast<int>(y * scale));
}

std::string clickAt(int frame, float x, float y, float z, WindowSize window) {
    const std::string point = screenPoint(x, y, z, window);
    return std::to_string(frame) + " mouse move " + point + "\n" + std::to_string(frame + 1) +
           " mouse left-down " + point + " buttons=1\n" + std::to_string(frame + 3) +
           " mouse left-up " + point + "\n";
}

std::string keyPress(int frame, int keyCode, int character) {
    const std::string codes = std::to_string(keyCode) + " " + std::to_string(character);
    return std::to_string(frame) + " key down " + codes + " 0 0\n" + std::to_string(frame + 1) +
           " key up " + codes + " 0 0\n";
}

std::string typing(int frame, const std::string& word) {
    std::string lines;
    for (char c : word) {
        lines += keyPress(frame, c - 'a' + 'A', c);
        frame += 2;
    }
    return lines;
}

MenuReport runMenus(const TestProgram& program, const MenuRun& menuRun) {
    const std::string folder = program.folder().native();
    program.folder().write("game.ini", runIni(menuRun, folder));
    program.folder().write("input.txt", menuRun.input);
    copyGameData(program);
    const std::string languageFile = folder + menuRun.language + "/strings.lng";
    const std::string languageText = fileText(languageFile);
    const std::string reportPath = folder + "report.txt";
    EXPECT_EXIT(
        {
            auto* game = new MenuRunGame(reportPath, menuRun);
            setMessageBoxHook([game](const std::string& text, const std::string&, int) {
                std::fprintf(stderr, "box: %s\n", text.c_str());
                ++game->boxes;
                return 1;
            });
            runTestGame(game);
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    MenuReport report;
    std::istringstream lines(fileText(reportPath));
    std::string name;
    int value = 0;
    while (lines >> name >> value) {
        report.values[name] = value;
    }
    report.values["languagefile"] = fileText(languageFile) == languageText ? 1 : 0;
    for (const auto& [frame, shot] : menuRun.shots) {
        keepScreenshot(folder + shot, shot);
    }
    return report;
}

int MenuReport::operator[](const std::string& name) const {
    auto found = values.find(name);
    if (found == values.end()) {
        ADD_FAILURE() << "the run did not report " << name;
        return -1;
    }
    return found->second;
}

std::string profileValue(const TestProgram& program, const std::string& key) {
    std::istringstream lines(program.folder().read("Profile/pr_UGxheWVy.ini"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size() + 1, key + "=") == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return "";
}
