#include "bundled_level_run.h"

#include "core/server_game.h"
#include "core/vellumengine.h"
#include "gameimplementation.h"
#include "level.h"
#include "level_controller.h"
#include "object_info.h"
#include "platform/message_box.h"
#include "scene/node_base.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "script/module_scripting.h"
#include "support/game_data.h"
#include "support/report_file.h"
#include "support/test_game.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const char* const kStartupDefinitions = R"(
function startGame()
{
    ::levelWait <- core_SetInterval(50, "openLevel();");
}
function openLevel()
{
    if (core_GetGameState() < 500)
        return;
    core_CancelInterval(::levelWait);
    core_OpenDialog(::levelToOpen);
}
::good <- 0;
::bad <- 0;
function levelFinished_Good(next) { ::good++; }
function levelFinished_Bad(next) { ::bad++; }
)";

// The game's data with, of its scripts, only the rules, and a start-up script that opens the
// level once the game runs and counts the level's endings.
void installGameData(const TestProgram& program, const std::string& level) {
    copyGameData(program);
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(program.folder().native()) / "data" / "scripts")) {
        if (entry.path().filename() != "rules.nut") {
            fs::remove(entry.path());
        }
    }
    program.writeData("scripts/startup.nut",
                      "::levelToOpen <- \"" + level + "\";\n" + kStartupDefinitions);
}

// Every node below `node` (itself included) that is a live object of the type.
int countObjects(irr::scene::ISceneNode* node, const std::string& type) {
    int count = 0;
    CObjectInfoAnimator* info = findObjectInfo(node);
    if (info != nullptr && !info->isDead() && info->getObjectType() == type) {
        ++count;
    }
    for (irr::scene::ISceneNode* child : node->getChildren()) {
        count += countObjects(child, type);
    }
    return count;
}

// The camera looks at the objects' plane (z = 0) from this far in front of it.
const float kCameraDistance = 20.65f;
const char* const kNotePanelImage = "_panel.png";

// Health bars below `node` (itself included) that are not faded out.
int countShownHealthBars(irr::scene::ISceneNode* node) {
    int count = 0;
    CObjectInfoAnimator* info = findObjectInfo(node);
    if (info != nullptr && info->getHealthBar() != nullptr &&
        info->getHealthBar()->getAlphaFactor() > 0) {
        ++count;
    }
    for (irr::scene::ISceneNode* child : node->getChildren()) {
        count += countShownHealthBars(child);
    }
    return count;
}

// The first node below `node` whose name ends with `ending` (sprites are named after their
// image).
irr::scene::ISceneNode* findNamedEnding(irr::scene::ISceneNode* node, const std::string& ending) {
    const std::string name = node->getName();
    if (name.size() >= ending.size() &&
        name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
        return node;
    }
    for (irr::scene::ISceneNode* child : node->getChildren()) {
        if (irr::scene::ISceneNode* found = findNamedEnding(child, ending)) {
            return found;
        }
    }
    return nullptr;
}

// The game, writing what the test asks about to a report file.
class ReportingGame : public CGameImplementation {
public:
    ReportingGame(const BundledLevelRun& run, const std::string& reportPath)
        : run(run), report(std::fopen(reportPath.c_str(), "w")) {}
    ~ReportingGame() override { std::fclose(report); }

    void onFrame() override {
        ++frame;
        irr::scene::ISceneNode* root = getEngine().getSceneManager()->getRootSceneNode();
        if (frame == run.shotFrame) {
            tell("ship", getNodeByName("mad_ship"));
            std::fprintf(report, "target@%d %d\n", frame, countObjects(root, "TARGET"));
        }
        if (std::find(run.probeFrames.begin(), run.probeFrames.end(), frame) !=
            run.probeFrames.end()) {
            probe(root);
        }
        if (frame == run.frames) {
            CScriptHost& scripting = getEngine().getScripting();
            std::fprintf(report, "good %d\nbad %d\nboxes %d\ntarget %d\nrocks %d\n",
                         scripting.callScriptCode("return ::good;").toInt(),
                         scripting.callScriptCode("return ::bad;").toInt(), boxes,
                         countObjects(root, "TARGET"), countObjects(root, "rock"));
            std::fflush(report);
        }
    }
    int boxes = 0;

private:
    void probe(irr::scene::ISceneNode* root) {
        auto* gauge = dynamic_cast<CSpriteNode*>(getNodeByName("generator_energy"));
        if (CGameDialogFactory* level = currentLevel(); level != nullptr && gauge != nullptr) {
            const float energy = std::min(1.0f, std::max(0.0f, level->energy));
            std::fprintf(report, "energy@%d %.3f %.0f %.0f\n", frame, level->energy,
                         std::ceil(energy * (gauge->getAtlasW() - 1)), gauge->getAtlasX());
        }
        std::fprintf(report, "bars@%d %d\n", frame, countShownHealthBars(root));
        if (CNodeBasement* note = asEngineNode(findNamedEnding(root, kNotePanelImage))) {
            const irr::core::vector3df at = note->getAbsolutePosition();
            const irr::core::dimension2df size = note->getSize();
            const float scale = kCameraDistance / (kCameraDistance + at.Z);
            std::fprintf(report, "note@%d %.3f %.3f %.3f %.3f\n", frame,
                         (at.X - size.Width / 2) * scale, (at.Y - size.Height / 2) * scale,
                         (at.X + size.Width / 2) * scale, (at.Y + size.Height / 2) * scale);
        }
    }
    void tell(const std::string& what, CNodeBasement* node) {
        irr::core::vector3df at = node ? node->getAbsolutePosition() : irr::core::vector3df(999);
        std::fprintf(report, "%s@%d %.3f %.3f\n", what.c_str(), frame, at.X, at.Y);
    }
    BundledLevelRun run;
    std::FILE* report;
    int frame = 0;
};

std::string runIni(const BundledLevelRun& run, const std::string& replayPath) {
    std::string ini = TestProgram::defaultGameIni() +
                      "ExitAfterFrames=" + std::to_string(run.frames + 1) +
                      "\nFixedFrameTime=" + std::to_string(run.frameTime) + "\n";
    if (run.shotFrame > 0) {
        ini += "ScreenshotAt=" + std::to_string(run.shotFrame) + ":" + run.shotPath + "\n";
    }
    if (!replayPath.empty()) {
        ini += "InputReplay=" + replayPath + "\n";
    }
    return ini;
}

} // namespace

std::map<std::string, std::vector<float>> runBundledLevel(const BundledLevelRun& run) {
    TestProgram files;
    const std::string reportPath = files.folder().native() + "report.txt";
    std::string replayPath;
    if (!run.replay.empty()) {
        replayPath = files.folder().native() + "input.txt";
        files.folder().write("input.txt", run.replay);
    }
    TestProgram program(runIni(run, replayPath));
    installGameData(program, run.level);
    EXPECT_EXIT(
        {
            auto* game = new ReportingGame(run, reportPath);
            setMessageBoxHook([game](const std::string& text, const std::string&, int) {
                std::fprintf(stderr, "box: %s\n", text.c_str());
                ++game->boxes;
                return 1;
            });
            runTestGame(game);
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    return readReportFile(reportPath);
}
