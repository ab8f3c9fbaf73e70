// The script functions over the high-score table "main" that the game's menus use.

#include "script_core_api/core_api_fixture.h"

#include <string>

namespace {

class HighScoreFunctionsTest : public CoreApiTest {
protected:
    void SetUp() override {
        CoreApiTest::SetUp();
        getEngine().getConfig().HighScores.resetHighScores(true);
    }
    static const CHighScoreTable& table() { return getEngine().getConfig().HighScores; }
};

} // namespace

TEST_F(HighScoreFunctionsTest, EntriesComeBackBestFirstWithTheirPlaces) {
    EXPECT_EQ(eval("core_AddHighScore(500, \"Ann\", 1)").toInt(), 1);
    EXPECT_EQ(eval("core_AddHighScore(900, \"Bob\", 2)").toInt(), 1);
    EXPECT_EQ(eval("core_AddHighScore(700, \"Cy\", 3)").toInt(), 2);
    EXPECT_EQ(eval("core_GetHighScores().len()").toInt(), 3);
    run("::rows <- core_GetHighScores();");
    EXPECT_EQ(eval("::rows[0]._name").toString(), "Bob");
    EXPECT_EQ(eval("::rows[1]._score").toInt(), 700);
    EXPECT_EQ(eval("::rows[2]._place").toInt(), 3);
    EXPECT_TRUE(table().isDirty());
}

TEST_F(HighScoreFunctionsTest, ARunThatKeepsItsStampKeepsOneGrowingEntry) {
    eval("core_AddHighScore(1000, \"Zoe\", 77)");
    eval("core_AddHighScore(800, \"Max\", 5)");
    EXPECT_EQ(eval("core_AddHighScore(3000, \"Zoe\", 77)").toInt(), 1);
    EXPECT_EQ(eval("core_GetHighScores().len()").toInt(), 2);
    EXPECT_EQ(table().entry(0).Score, 3000u);
    EXPECT_EQ(table().entry(1).PlayerName, "Max");
}

TEST_F(HighScoreFunctionsTest, PlacesCountOnlyScoresThatEnterTheTable) {
    EXPECT_EQ(eval("core_GetHighScorePlace(10)").toInt(), 1);
    EXPECT_EQ(eval("core_GetHighScorePlace(0)").toInt(), 0);
    EXPECT_EQ(eval("core_AddHighScore(0, \"Nil\", 9)").toInt(), 0);
    EXPECT_EQ(eval("core_AddHighScore(-5, \"Neg\", 9)").toInt(), 0);
    for (int i = 1; i <= 8; ++i) {
        eval("core_AddHighScore(" + std::to_string(i * 100) + ", \"P\", " + std::to_string(i) +
             ")");
    }
    EXPECT_EQ(eval("core_GetHighScorePlace(100)").toInt(), 0);
    EXPECT_EQ(eval("core_GetHighScorePlace(450)").toInt(), 5);
    EXPECT_EQ(eval("core_AddHighScore(50, \"Low\", 20)").toInt(), 0);
}

TEST_F(HighScoreFunctionsTest, LongNamesAreCutToTheTablesLength) {
    eval("core_AddHighScore(100, \"" + std::string(60, 'n') + "\", 1)");
    EXPECT_EQ(table().entry(0).PlayerName, std::string(40, 'n'));
}
