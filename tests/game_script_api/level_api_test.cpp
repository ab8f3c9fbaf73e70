#include "game_api_fixture.h"

#include "animators/afadeanimators.h"
#include "gameimplementation.h"
#include "input/focus_chain.h"
#include "input/modal_dialog_marker.h"
#include "scene/node_helpers.h"

namespace {

using LevelFunctions = GameApiTest;

TEST_F(LevelFunctions, WithoutALevelTheLevelFunctionsGiveEmptyAnswersAndChangeNothing) {
    ASSERT_EQ(currentLevel(), nullptr);
    EXPECT_EQ(eval("game_GetLevelState()").toInt(), 0);
    EXPECT_EQ(eval("typeof game_GetLevelState()").toString(), "integer");
    EXPECT_EQ(eval("game_GetCurrentLevelPath()").toString(), "");
    EXPECT_EQ(eval("game_GetNextLevelName()").toString(), "");
    run("game_SetLevelState(5);");
    EXPECT_EQ(eval("game_GetLevelState()").toInt(), 0);
    getFocusChain().setLastClickPosition(irr::core::vector2df(10, 20));
    EXPECT_EQ(eval("game_AddHoleMark(2)").type(), squirrel::Type::Bool);
    EXPECT_FALSE(eval("game_AddHoleMark(2)").toBool());
    EXPECT_EQ(eval("game_IsLevelInPlay()").type(), squirrel::Type::Bool);
    EXPECT_FALSE(eval("game_IsLevelInPlay()").toBool());
    // Functions without parameters refuse arguments; number switches refuse other types.
    EXPECT_THROW(run("game_GetLevelState(1);"), squirrel::SquirrelError);
    EXPECT_THROW(run("game_SetLevelState(\"2\");"), squirrel::SquirrelError);
}

TEST_F(LevelFunctions, TheLevelsNamesStateAndShotsAreReachedWhileItIsCurrent) {
    writeWave("w1.txt", mainPathBlock("Point[0]:x0 y0\nPoint[1]:x10 y0\n"));
    writeLevel("level1", "-Game-NextLevel:level2\n-Wave1:w1.txt\n");
    CNodeBasement* root = open("level1.dlg");
    ASSERT_NE(root, nullptr);
    CGameDialogFactory* level = levelOf(root);
    ASSERT_EQ(currentLevel(), level);
    frameAt(kStart);
    ASSERT_EQ(level->state, kLevelInPlay);

    EXPECT_EQ(eval("game_GetCurrentLevelPath()").toString(), level->levelFolder);
    EXPECT_EQ(level->levelFolder.substr(level->levelFolder.size() - 9), "\\dialogs\\");
    EXPECT_EQ(eval("game_GetNextLevelName()").toString(), "level2");
    EXPECT_EQ(eval("game_GetLevelState()").toInt(), kLevelInPlay);
    EXPECT_TRUE(eval("game_IsLevelInPlay()").toBool());

    // A black hole for button 2 and a white one for any other, where the player last clicked,
    // while the energy holds out.
    getFocusChain().setLastClickPosition(irr::core::vector2df(120, 80));
    level->energy = 0.6f;
    EXPECT_TRUE(eval("game_AddHoleMark(2)").toBool());
    ASSERT_EQ(level->shots.size(), 1u);
    EXPECT_EQ(level->shots[0].kind, HoleShot::kBlackHole);
    EXPECT_EQ(level->shots[0].position, irr::core::vector2df(120, 80));
    EXPECT_TRUE(eval("game_AddHoleMark(5)").toBool());
    ASSERT_EQ(level->shots.size(), 2u);
    EXPECT_EQ(level->shots[1].kind, HoleShot::kWhiteHole);
    level->energy = 0.3f;
    EXPECT_FALSE(eval("game_AddHoleMark(1)").toBool());
    EXPECT_EQ(level->shots.size(), 2u);

    // Scripts own the states past pausing.
    run("game_SetLevelState(12);");
    EXPECT_EQ(level->state, 12);
    EXPECT_EQ(eval("game_GetLevelState()").toInt(), 12);
    EXPECT_FALSE(eval("game_IsLevelInPlay()").toBool());
    run("game_SetLevelState(2.0);");
    EXPECT_TRUE(eval("game_IsLevelInPlay()").toBool());

    closeNow("level1");
    frameAt(kStart + 25);
    EXPECT_EQ(eval("game_GetNextLevelName()").toString(), "");
    EXPECT_EQ(eval("game_GetLevelState()").toInt(), 0);
}

TEST_F(LevelFunctions, CurrentLevelNameIsTheOneStoredInTheProfile) {
    EXPECT_EQ(eval("game_GetCurrentLevelName()").toString(), "");
    auto* statistics = dynamic_cast<CGameStatistics*>(profile()->getExtension());
    ASSERT_NE(statistics, nullptr);
    statistics->setCurrentLevel("level 3");
    EXPECT_EQ(eval("game_GetCurrentLevelName()").toString(), "level 3");
    // The name comes back with the player's profile file.
    profile()->markChanged();
    profile()->save();
    getEngine().setActiveProfile("");
    getEngine().setActiveProfile("Tester");
    EXPECT_EQ(eval("game_GetCurrentLevelName()").toString(), "level 3");
}

TEST_F(LevelFunctions, CurtainsFadeInOverEverythingAndTakeTheInputUntilRemoved) {
    program.writeData("gui/curtain.spr", "-Texture:\\gui\\orange.png\n-Size:w40 h30\n");
    CNodeBasement* button = optionNode("button", 1, 1);
    const int buttonId = ForceNodeToHaveID(button);
    ASSERT_TRUE(getFocusChain().isInputAllowed(buttonId));

    run("game_createFader_BlackCurtain(\"night\", 1000);");
    CNodeBasement* curtain = getNodeByName("night");
    ASSERT_NE(curtain, nullptr);
    EXPECT_EQ(curtain->getParent(), getEngine().rootNode());
    EXPECT_EQ(curtain->getPosition(), irr::core::vector3df(0, 0, -4.99f));
    EXPECT_EQ(curtain->getSize(), irr::core::dimension2df(40, 30));
    EXPECT_EQ(countAnimators<CAlphaFadeAnimator>(curtain), 1);
    EXPECT_EQ(countAnimators<CModalDialogMarker>(curtain), 1);
    EXPECT_FALSE(getFocusChain().isInputAllowed(buttonId));
    EXPECT_TRUE(getFocusChain().isInputAllowed(curtain->getID()));
    frameAt(kStart);
    frameAt(kStart + 500);
    EXPECT_NEAR(curtain->getAlpha(), 0.5f, 0.05f);
    frameAt(kStart + 1100);
    EXPECT_EQ(curtain->getAlpha(), 1.0f);

    // A name in use is a script error and leaves the scene as it was.
    EXPECT_THROW(run("game_createFader_WhiteCurtain(\"night\", 500);"), squirrel::SquirrelError);
    EXPECT_THROW(run("game_createFader_BlackCurtain(\"button\", 500);"), squirrel::SquirrelError);
    EXPECT_EQ(getNodeByName("night"), curtain);
    // Without a name (or with one that is not a string) nothing could ever lift the curtain:
    // the call fails and makes none.
    const irr::u32 children = getEngine().rootNode()->getChildren().size();
    for (const char* call :
         {"game_createFader_BlackCurtain();", "game_createFader_WhiteCurtain(5, 100);",
          "game_createFader_BlackCurtain(\"\", 100);", "game_createFader_BlackCurtain(null, 100);",
          "game_createFader_WhiteCurtain(\"dusk\", \"slow\");"}) {
        EXPECT_THROW(run(call), squirrel::SquirrelError) << call;
    }
    EXPECT_EQ(getEngine().rootNode()->getChildren().size(), children);

    run("game_createFader_WhiteCurtain(\"day\", 200);");
    CNodeBasement* white = getNodeByName("day");
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->getSize(), irr::core::dimension2df(40, 30));
    EXPECT_FALSE(getFocusChain().isInputAllowed(curtain->getID()));

    run("core_DeleteSprite(\"day\"); core_DeleteSprite(\"night\");");
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_TRUE(getFocusChain().isInputAllowed(buttonId));
}

TEST_F(LevelFunctions, PreloaderBarFollowsTheLoadProgressAndGoesOnRequest) {
    CVellumEngine& engine = getEngine();
    engine.setPreloadProgress(0.25f);
    const size_t before = scene->root()->getChildren().size();
    run("game_CreatePreloaderSlider();");
    ASSERT_EQ(scene->root()->getChildren().size(), before + 1);
    auto* first = asEngineNode(*scene->root()->getChildren().getLast());
    ASSERT_NE(first, nullptr);
    auto* bar = dynamic_cast<CSlider*>(first->getOwner());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getBackground()->getSize(), irr::core::dimension2df(10, 10));
    frameAt(kStart);
    EXPECT_NEAR(bar->getFill()->getSize().Width, 2.5f, 0.01f);

    // A second bar takes the slot; the first stays until the scripts clear the scene.
    run("game_CreatePreloaderSlider();");
    CNodeBasement* second = asEngineNode(*scene->root()->getChildren().getLast());
    ASSERT_NE(second, first);
    run("game_DeletePreloaderSlider();");
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(scene->root()->getChildren().size(), before + 1);
    EXPECT_EQ(*scene->root()->getChildren().getLast(), first);
    // Nothing is left in the slot, and a bar already gone with its scene is only let go.
    run("game_DeletePreloaderSlider(); game_CreatePreloaderSlider();");
    scene->scene()->clear();
    run("game_DeletePreloaderSlider(); game_initOptionsDialog();");
    engine.setPreloadProgress(0);
}

TEST_F(LevelFunctions, TheGameRegistersItsFunctionsThroughItsGameInterface) {
    run("delete ::game_GetLevelState;");
    EXPECT_EQ(eval("\"game_GetLevelState\" in getroottable()").toBool(), false);
    auto* game = new CGameImplementation();
    game->registerScriptFunctions();
    game->drop();
    EXPECT_EQ(eval("game_GetLevelState()").toInt(), 0);
}

} // namespace
