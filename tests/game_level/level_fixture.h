#pragma once

#include "level.h"
#include "level_controller.h"
#include "level_outcome.h"
#include "path_follower.h"
#include "pause_marker.h"
#include "userstats.h"

#include "dialogs/dialog_fixture.h"

#include <string>

// A game that makes levels of "-Game-" dialogs and runs the level time only while a level is in
// play, as the game does.
class LevelGame : public TimedGame {
public:
    CDialogFactory* createDialogFactory() override { return new CGameDialogFactory(); }
    IProfileExtension* createProfileExtension() override { return new CGameStatistics(); }
    float getBaseTimerSpeed(int key) override {
        return key == 1 ? (isLevelInPlay() ? 1.0f : 0.0f) : 1.0f;
    }
};

// Levels below "dialogs\": a ship and an aimer, wave files beside the level, an actor
// description, and script handlers that count the level's outcomes.
class LevelTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        auto* levelGame = new LevelGame();
        getEngine().setClient(levelGame);
        levelGame->drop();
        program.writeData("actors/rock.spr", "-Texture:\\gui\\orange.png\n-Name:rock\n");
        run("::next <- \"\";"
            "function levelFinished_Good(next) { bump(\"good\"); ::next = next; }"
            "function levelFinished_Bad(next) { bump(\"bad\"); }");
    }

    // A level whose header holds `keys`, with the ship and the aimer as its nodes.
    void writeLevel(const std::string& name, const std::string& keys) {
        writeDialog(name + ".dlg", "-DialogName:" + name + "\n-Game-\n" + keys +
                                       "[Sprite]\n-Texture:\\gui\\orange.png\n-Name:mad_ship\n"
                                       "[Sprite]\n-Texture:\\gui\\orange.png\n"
                                       "-Name:HoleMakerAimer\n");
    }
    void writeWave(const std::string& name, const std::string& text) {
        program.writeData("dialogs/" + name, text);
    }
    static std::string mainPathBlock(const std::string& points) {
        return "<Points>\n-Name:MainPath\n" + points + "</Points>\n";
    }
    static CGameDialogFactory* levelOf(CNodeBasement* root) {
        return dynamic_cast<CGameDialogFactory*>(root->getOwner());
    }
    static CPathFollower* shipFollower() {
        CNodeBasement* ship = getNodeByName("mad_ship");
        if (!ship) {
            return nullptr;
        }
        for (irr::scene::ISceneNodeAnimator* animator : ship->getAnimators()) {
            if (auto* follower = dynamic_cast<CPathFollower*>(animator)) {
                return follower;
            }
        }
        return nullptr;
    }
};
