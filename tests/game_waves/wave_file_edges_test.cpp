#include "wave_file.h"

#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/text_file_check.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace std::string_literals;

using irr::core::vector2df;

bool isFinitePoint(const vector2df& point) {
    return std::isfinite(point.X) && std::isfinite(point.Y);
}

// Wave files with absurd numbers, cut blocks and bad bytes.
TEST(WaveFileEdges, NumbersBeyondTheRangeAreReportedAndReadAsZero) {
    MessageBoxRecorder boxes;
    std::vector<WaveActor> actors =
        readWaveActors("Actor:rock r[1e999]:x1.0e999 y-1e308 w3.0e38 h0.0e999\n"
                       "Actor:tree r[-0]:x1" +
                       std::string(400, '0') + " y0." + std::string(400, '9') + " w-0 h1\n");
    ASSERT_EQ(actors.size(), 2u);
    EXPECT_EQ(actors[0].rotation, 0.0f);
    EXPECT_EQ(actors[0].x, 0.0f);
    EXPECT_EQ(actors[0].y, 0.0f);
    // Inside the float range in the file, beyond it in level units.
    EXPECT_EQ(actors[0].w, 0.0f);
    EXPECT_EQ(actors[0].h, 0.0f);
    EXPECT_TRUE(boxes.sawText("The number '1e999' is beyond the range"));
    EXPECT_TRUE(boxes.sawText("The number '1.0e999' is beyond the range"));
    EXPECT_TRUE(boxes.sawText("The number '-1e308' is beyond the range"));
    EXPECT_TRUE(boxes.sawText("The number '3e+38 editor units' is beyond the range"));
    // Four hundred digits are out of range; as many fraction digits are a number near 1.
    EXPECT_EQ(actors[1].x, 0.0f);
    EXPECT_FLOAT_EQ(actors[1].y, kEditorUnit);
    EXPECT_FALSE(std::signbit(actors[1].rotation));
    EXPECT_FALSE(std::signbit(actors[1].w));
    // The description made of them holds only finite numbers.
    const std::string description = buildActorDescription(actors);
    EXPECT_EQ(description.find("inf"), std::string::npos) << description;
    EXPECT_EQ(description.find("nan"), std::string::npos) << description;
}

TEST(WaveFileEdges, PointsBeyondTheRangeGiveFinitePathsAndFireSpots) {
    MessageBoxRecorder boxes;
    WavePoints points = readWavePoints("<Points>\n-Name:MainPath\nPoint[0]:x1e999 y2\n"
                                       "Point[1]:xnan yinf\nPoint[2]:x1.0e38 y-1.0e38\n</Points>\n"
                                       "<Points>\n-Name:firespot-a\nPoint[0]:x-1e400 y0.0e400\n"
                                       "Point[1]:x1 y1\n</Points>\n");
    ASSERT_EQ(points.mainPath.size(), 3u);
    for (const vector2df& point : points.mainPath) {
        EXPECT_TRUE(isFinitePoint(point));
    }
    EXPECT_EQ(points.mainPath[0], vector2df(0, 80));
    EXPECT_EQ(points.mainPath[1], vector2df(0, 0));
    EXPECT_EQ(points.mainPath[2], vector2df(0, 0));
    ASSERT_EQ(points.fireSpots.size(), 1u);
    EXPECT_EQ(points.fireSpots[0].start, vector2df(0, 0));
    EXPECT_FALSE(boxes.boxes().empty());
}

TEST(WaveFileEdges, CutFilesReadWhatIsWhole) {
    // Cut in the middle of an actor line: the actor has what was written.
    std::vector<WaveActor> actors = readWaveActors("Actor:rock:x1 y2\nActor:tree:x3 y");
    ASSERT_EQ(actors.size(), 2u);
    EXPECT_EQ(actors[1].name, "tree");
    EXPECT_FLOAT_EQ(actors[1].x, 3 * kEditorUnit);
    EXPECT_EQ(actors[1].y, 0.0f);
    EXPECT_EQ(readWaveActors("Actor:").size(), 1u);
    EXPECT_EQ(readWaveActors("Actor:")[0].name, "");
    // Cut in the middle of a point block: the block without its end is not read (the check
    // mode names its line), the whole blocks before it are.
    WavePoints points = readWavePoints("<Points>\n-Name:firespot-a\nPoint[0]:x1 y1\n"
                                       "Point[1]:x2 y2\n</Points>\n<Points>\n-Name:MainPath\n"
                                       "Point[0]:x1 y1\nPoint[1]:x");
    EXPECT_FALSE(points.hasMainPath);
    EXPECT_EQ(points.fireSpots.size(), 1u);
    EXPECT_FALSE(readWavePoints("<Points>\n-Name:Main").hasMainPath);
    EXPECT_FALSE(readWavePoints("<Poi").hasMainPath);
}

TEST(WaveFileEdges, BadBytesInNamesAreKeptAndNeverCrash) {
    MessageBoxRecorder boxes;
    std::vector<WaveActor> actors =
        readWaveActors("Actor:r\x81\xFF\x9D:x1\nActor:\xEF\xBB\xBF:y1\n");
    ASSERT_EQ(actors.size(), 2u);
    EXPECT_EQ(actors[0].name, "r\x81\xFF\x9D");
    WavePoints points = readWavePoints("<Points>\n-Name:firespot-\x90\x8F\nPoint[0]:x1 y1\n"
                                       "Point[1]:x2 y2\n</Points>\n");
    ASSERT_EQ(points.fireSpots.size(), 1u);
    EXPECT_EQ(points.fireSpots[0].name, "\x90\x8F");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST(WaveFileEdges, WaveFilesPassTheTextFileChecks) {
    MessageBoxRecorder boxes;
    TemporaryFolder folder;
    setProgramFolder(folder.engine());
    setDebugLogFolder(folder.engine());
    clearTextCache();
    folder.write("zero.txt", "Actor:rock:x1\nActor:tr\0ee:x2\n"s);
    EXPECT_EQ(readWaveActors(readWaveText(folder.engine() + "zero.txt")).size(), 2u);
    EXPECT_TRUE(boxes.sawText("Line 2 of " + folder.engine() + "zero.txt holds a zero byte"));
    folder.write("long.txt", "Actor:rock:x1 " + std::string(kMaxTextLineBytes, ' ') + "\n");
    EXPECT_EQ(readWaveText(folder.engine() + "long.txt"), "");
    EXPECT_TRUE(boxes.sawText("Line 1 of " + folder.engine() + "long.txt is longer than"));
}

} // namespace
