#include "wave_file.h"

#include "nodes/node_fixture.h"

#include <gtest/gtest.h>

namespace {

using irr::core::vector2df;

TEST(WaveFileList, EndsAtTheFirstMissingNumber) {
    const std::string header = "-Game-\n-Wave1:wave_a.txt\n-Wave2:wave_b.txt\n-Wave4:wave_d.txt\n";
    std::vector<std::string> files = readWaveFileList(header, "z:\\levels\\one\\");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], "z:\\levels\\one\\wave_a.txt");
    EXPECT_EQ(files[1], "z:\\levels\\one\\wave_b.txt");

    EXPECT_EQ(readWaveFileList("-Wave1:a.txt\n-Wave3:c.txt\n", "").size(), 1u);
    EXPECT_TRUE(readWaveFileList("-Wave2:b.txt\n", "").empty());
}

TEST(WaveActors, AreReadInFileOrderWithFallingDepthsInLevelUnits) {
    const std::string text = "Actor:rock r[45]:x1 y2 w0.5 h0.25\n"
                             "-Other:Actor:not_an_actor:x9\n"
                             "Actor:tree#3:x-1 y0.5 w1 h2\n"
                             "Actor:bush$x|y:x2\n"
                             "Actor:stone|z r[-90]:y1";
    std::vector<WaveActor> actors = readWaveActors(text);
    ASSERT_EQ(actors.size(), 4u);

    EXPECT_EQ(actors[0].name, "rock");
    EXPECT_FLOAT_EQ(actors[0].rotation, 45);
    EXPECT_FLOAT_EQ(actors[0].x, 40);
    EXPECT_FLOAT_EQ(actors[0].y, 80);
    EXPECT_FLOAT_EQ(actors[0].w, 20);
    EXPECT_FLOAT_EQ(actors[0].h, 10);

    EXPECT_EQ(actors[1].name, "tree");
    EXPECT_FLOAT_EQ(actors[1].rotation, 0);
    EXPECT_FLOAT_EQ(actors[1].x, -40);
    EXPECT_FLOAT_EQ(actors[1].y, 20);
    EXPECT_FLOAT_EQ(actors[1].w, 40);
    EXPECT_FLOAT_EQ(actors[1].h, 80);

    EXPECT_EQ(actors[2].name, "bush");
    EXPECT_FLOAT_EQ(actors[2].x, 80);
    EXPECT_EQ(actors[3].name, "stone");
    EXPECT_FLOAT_EQ(actors[3].rotation, -90);
    EXPECT_FLOAT_EQ(actors[3].y, 40);

    for (size_t i = 0; i < actors.size(); ++i) {
        EXPECT_EQ(actors[i].depth, -static_cast<int>(i));
    }
}

TEST(WaveActors, DescriptionPlacesEachActorAtItsDepth) {
    std::vector<WaveActor> actors = readWaveActors("\nActor:rock r[45]:x1 y2 w0.5 h0.25\n"
                                                   "Actor:tree:x-1 y0 w1 h1\n");
    EXPECT_EQ(buildActorDescription(actors), "[Sprite]\n"
                                             "-Texture:\\actors\\rock.spr\n"
                                             "-Position:x40.000000 y80.000000 s0\n"
                                             "-Size:w20.000000 h10.000000\n"
                                             "-Rotation:45.000000\n"
                                             "\n"
                                             "[Sprite]\n"
                                             "-Texture:\\actors\\tree.spr\n"
                                             "-Position:x-40.000000 y0.000000 s-1\n"
                                             "-Size:w40.000000 h40.000000\n"
                                             "-Rotation:0.000000\n"
                                             "\n");
}

TEST(WaveActors, ReadingTheSameWaveAgainGivesTheSameActors) {
    MessageBoxRecorder boxes;
    TemporaryFolder folder;
    setProgramFolder(folder.engine());
    setDebugLogFolder(folder.engine());
    folder.write("wave1.txt", "Actor:rock:x1 y1 w1 h1\nActor:tree:x2 y2 w1 h1\n"
                              "<Points>\n-Name:MainPath\nPoint[0]: x1 y1\n</Points>\n");
    const std::string path = folder.engine() + "wave1.txt";

    const std::string first = readWaveText(path);
    std::vector<WaveActor> played = readWaveActors(first);
    WavePoints playedPoints = readWavePoints(first);
    const std::string again = readWaveText(path);
    std::vector<WaveActor> replayed = readWaveActors(again);

    EXPECT_EQ(again, first);
    ASSERT_EQ(played.size(), 2u);
    ASSERT_EQ(replayed.size(), 2u);
    EXPECT_EQ(buildActorDescription(replayed), buildActorDescription(played));
    EXPECT_EQ(readWavePoints(again).mainPath, playedPoints.mainPath);
}

TEST(WaveFileText, MissingFileIsReportedAndGivesNothing) {
    MessageBoxRecorder boxes;
    TemporaryFolder folder;
    setProgramFolder(folder.engine());
    setDebugLogFolder(folder.engine());
    EXPECT_EQ(readWaveText(folder.engine() + "missing.txt"), "");
    EXPECT_TRUE(boxes.sawText("missing.txt"));
}

TEST(WavePoints, MainPathIsReadInLevelUnitsUpToTheFirstMissingIndex) {
    const std::string text = "<Points>-Name:MainPath\n"
                             "Point[0]: x1 y2\n"
                             "Point[1]: x-0.5 y3\n"
                             "Point[3]: x9 y9\n"
                             "</Points>\n";
    WavePoints points = readWavePoints(text);
    ASSERT_TRUE(points.hasMainPath);
    ASSERT_EQ(points.mainPath.size(), 2u);
    EXPECT_EQ(points.mainPath[0], vector2df(40, 80));
    EXPECT_EQ(points.mainPath[1], vector2df(-20, 120));
    EXPECT_TRUE(points.fireSpots.empty());

    EXPECT_FALSE(readWavePoints("<Points>\n-Name:Other\nPoint[0]: x1 y1\n</Points>").hasMainPath);
    EXPECT_FALSE(readWavePoints("Actor:rock:x1\n").hasMainPath);
}

TEST(WavePoints, LaterMainPathReplacesEarlierAndBlocksCanBeBoth) {
    const std::string text = "<Points>\n-Name:MainPath first\nPoint[0]: x1 y1\n</Points>\n"
                             "<Points>\n-Name:firespot-left MainPath\n"
                             "Point[0]: x2 y0\nPoint[1]: x3 y0\nPoint[2]: x4 y0\n</Points>\n"
                             "<Points>\n-Name:-firespot-right more words\n"
                             "Point[0]: x0 y1\nPoint[1]: x0 y2\n</Points>\n";
    WavePoints points = readWavePoints(text);
    ASSERT_EQ(points.mainPath.size(), 3u);
    EXPECT_EQ(points.mainPath[0], vector2df(80, 0));
    ASSERT_EQ(points.fireSpots.size(), 2u);
    EXPECT_EQ(points.fireSpots[0].name, "left");
    EXPECT_EQ(points.fireSpots[0].start, vector2df(80, 0));
    EXPECT_EQ(points.fireSpots[0].end, vector2df(120, 0));
    EXPECT_EQ(points.fireSpots[0].activated, 0);
    EXPECT_EQ(points.fireSpots[1].name, "right");
    EXPECT_EQ(points.fireSpots[1].end, vector2df(0, 80));
}

TEST(WavePoints, FireSpotWithoutStartAndEndIsSkipped) {
    TemporaryFolder folder;
    setDebugLogFolder(folder.engine());
    const std::string text = "<Points>\n-Name:firespot-lonely\nPoint[0]: x1 y1\n</Points>\n"
                             "<Points>\n-Name:firespot-empty\n</Points>\n"
                             "<Points>\n-Name:firespot-abcdefghijklmnopqrstuvwxyz\n"
                             "Point[0]: x1 y1\nPoint[1]: x2 y2\n</Points>\n";
    WavePoints points = readWavePoints(text);
    ASSERT_EQ(points.fireSpots.size(), 1u);
    EXPECT_EQ(points.fireSpots[0].name, "abcdefghijklmnopqrs");
}

} // namespace
