#include "level_fixture.h"

namespace {

using irr::core::vector2df;

using LevelWaves = LevelTest;

TEST_F(LevelWaves, NextWaveLoadsAtThePathEndAndTheLastEndWinsOnce) {
    writeWave("w1.txt", mainPathBlock("Point[0]:x0 y0\nPoint[1]:x1 y0\n"));
    writeWave("w2.txt", "Actor:rock:x1 y2 w1 h1\n" +
                            mainPathBlock("Point[0]:x5 y5\nPoint[1]:x6 y5\nPoint[2]:x6 y6\n") +
                            "<Points>\n-Name:firespot-left now\nPoint[0]:x1 y1\nPoint[1]:x2 y2\n"
                            "</Points>\n");
    writeLevel("level1", "-Game-NextLevel:level2\n-Wave1:w1.txt\n-Wave2:w2.txt\n");
    CNodeBasement* root = open("level1.dlg");
    ASSERT_NE(root, nullptr);
    CGameDialogFactory* level = levelOf(root);
    // Actors of later waves are never created.
    EXPECT_EQ(getNodeByName("rock"), nullptr);
    frameAt(kStart);
    CPathFollower* follower = shipFollower();
    ASSERT_NE(follower, nullptr);
    framesFromTo(kStart, kStart + 900, 50);
    EXPECT_EQ(level->currentWave, 0);
    EXPECT_TRUE(level->fireSpots.empty());

    framesFromTo(kStart + 950, kStart + 1200, 50);
    EXPECT_EQ(level->currentWave, 1);
    ASSERT_EQ(follower->getPath().size(), 3u);
    EXPECT_EQ(follower->getPath()[0], vector2df(200, 200));
    ASSERT_EQ(level->fireSpots.size(), 1u);
    EXPECT_EQ(level->fireSpots[0].name, "left");
    EXPECT_EQ(count("good"), 0);

    // The second path has three segments.
    framesFromTo(kStart + 1250, kStart + 4000, 50);
    EXPECT_EQ(count("good"), 1);
    EXPECT_EQ(run("return ::next;").toString(), "level2");
    EXPECT_EQ(shipFollower(), nullptr);
    // Whatever ends the level later calls no script.
    EXPECT_FALSE(levelWon());
    EXPECT_TRUE(level->loadWave(5));
    framesFromTo(kStart + 4050, kStart + 6000, 100);
    EXPECT_EQ(count("good"), 1);
    closeNow("level1");
}

TEST_F(LevelWaves, MissingWaveFileGivesNoPathAndNoActors) {
    writeLevel("level1", "-Wave1:nowhere.txt\n");
    CNodeBasement* root = open("level1.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_FALSE(boxes.boxes().empty());
    EXPECT_EQ(levelOf(root)->waveFiles.size(), 1u);
    EXPECT_TRUE(levelOf(root)->mainPath.empty());
    closeNow("level1");
}

TEST_F(LevelWaves, ShipPassingFireSpotsTellsTheScriptsOnceEachWithTheTutorialFirst) {
    run("::fired <- \"\"; ::tutorial <- \"\";"
        "function spotText(t) { return t._name + \":\" + t._x.tointeger() + \",\" +"
        "  t._y.tointeger() + \">\" + t._xTo.tointeger() + \",\" + t._yTo.tointeger() + \";\"; }"
        "function activateFirespot(t) { ::fired += spotText(t); }"
        "function showFireTutorial(t) { ::tutorial += spotText(t); }");
    writeWave("w1.txt", mainPathBlock("Point[0]:x0 y0\nPoint[1]:x10 y0\nPoint[2]:x10 y10\n"
                                      "Point[3]:x0 y10\n") +
                            "<Points>\n-Name:firespot-a\nPoint[0]:x10 y0\nPoint[1]:x12 y1\n"
                            "</Points>\n<Points>\n-Name:firespot-b\nPoint[0]:x10 y10\n"
                            "Point[1]:x9 y12\n</Points>\n"
                            "<Points>\n-Name:firespot-away\nPoint[0]:x50 y50\n"
                            "Point[1]:x51 y50\n</Points>\n");
    writeLevel("level1", "-Game-ShowTutorialOn1stFire:1\n-Wave1:w1.txt\n-Wave2:w1.txt\n");
    CNodeBasement* root = open("level1.dlg");
    ASSERT_NE(root, nullptr);
    CGameDialogFactory* level = levelOf(root);
    frameAt(kStart);
    framesFromTo(kStart + 50, kStart + 950, 50);
    EXPECT_EQ(run("return ::fired;").toString(), "");
    framesFromTo(kStart + 1000, kStart + 2500, 50);
    EXPECT_EQ(run("return ::fired;").toString(), "a:400,0>480,40;b:400,400>360,480;");
    EXPECT_EQ(run("return ::tutorial;").toString(), "a:400,0>480,40;");
    EXPECT_EQ(level->showTutorialOnFirstFire, 0);
    // The second wave brings the same spots again; the first copies stay fired, the new ones fire
    // once more, and the tutorial is not shown again.
    framesFromTo(kStart + 2550, kStart + 6500, 50);
    EXPECT_EQ(run("return ::fired;").toString(),
              "a:400,0>480,40;b:400,400>360,480;a:400,0>480,40;b:400,400>360,480;");
    EXPECT_EQ(run("return ::tutorial;").toString(), "a:400,0>480,40;");
    closeNow("level1");
}

} // namespace
