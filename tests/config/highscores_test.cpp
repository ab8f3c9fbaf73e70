#include "config_fixture.h"

#include "core/module_highscores.h"
#include "platform/files.h"
#include "utils/utils_str.h"

namespace {

const char* const kEmptyTable = "Line0=0;00000000;0;\nLine1=0;00000000;0;\nLine2=0;00000000;0;\n"
                                "Line3=0;00000000;0;\nLine4=0;00000000;0;\nLine5=0;00000000;0;\n"
                                "Line6=0;00000000;0;\nLine7=0;00000000;0;\n";

std::vector<uint32_t> scores(const CHighScoreTable& table) {
    std::vector<uint32_t> result;
    for (int i = 0; i < CHighScoreTable::kEntryCount; ++i) {
        result.push_back(table.entry(i).Score);
    }
    return result;
}

} // namespace

class HighScoreTest : public ConfigTest {
protected:
    std::string userPath(const std::string& name) const { return userFolder() + name; }

    // A table loaded from a file holding the given scores, stamps 1, 2, 3...
    CHighScoreTable tableWith(const std::vector<uint32_t>& values) {
        std::string text;
        for (size_t i = 0; i < values.size(); ++i) {
            text += "Line" + std::to_string(i) + "=0;" + format8(i + 1) + ";" +
                    std::to_string(values[i]) + ";P" + std::to_string(i) + "\n";
        }
        writeUserFile("hiscores.ini", text);
        CHighScoreTable table;
        table.loadHighScores("main", userPath("hiscores.ini"));
        return table;
    }

    static std::string format8(size_t value) {
        char text[32];
        std::snprintf(text, sizeof text, "%08zX", value);
        return text;
    }
};

TEST_F(HighScoreTest, LoadReadsFlagStampScoreNameAndInternals) {
    writeUserFile("hiscores.ini", "Line0=1;00ABCDEF;1500;Alice Smith;x\nLine0_internals= lvl=3 \n"
                                  "Line1=0;ffffffff;-1;Bob\n");
    CHighScoreTable table;
    EXPECT_TRUE(table.loadHighScores("main", userPath("hiscores.ini")));
    EXPECT_EQ(table.entry(0).Flag, 1);
    EXPECT_EQ(table.entry(0).Stamp, 0x00ABCDEFu);
    EXPECT_EQ(table.entry(0).Score, 1500u);
    EXPECT_EQ(table.entry(0).PlayerName, "Alice Smith;x");
    EXPECT_EQ(table.entry(0).Internals, "lvl=3");
    EXPECT_EQ(table.entry(1).Flag, 0);
    EXPECT_EQ(table.entry(1).Stamp, 0xFFFFFFFFu);
    EXPECT_EQ(table.entry(1).Score, 0xFFFFFFFFu);
    EXPECT_EQ(table.entry(1).Internals, "");
    EXPECT_FALSE(table.isDirty());
}

TEST_F(HighScoreTest, AMissingLineEndsLoadingEvenWhenLaterLinesExist) {
    writeUserFile("hiscores.ini", "Line0=0;1;30;A\nLine1=0;2;20;B\nLine2=0;3;10;C\n"
                                  "Line4=0;5;5;E\nLine5=0;6;4;F\n");
    CHighScoreTable table;
    table.loadHighScores("main", userPath("hiscores.ini"));
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{30, 20, 10, 0, 0, 0, 0, 0}));
    EXPECT_EQ(table.entry(4).PlayerName, "");
}

TEST_F(HighScoreTest, LoadCutsOverlongNamesAndInternals) {
    writeUserFile("hiscores.ini", "Line0=0;1;30;" + std::string(50, 'n') +
                                      "\nLine0_internals=" + std::string(2000, 'i') + "\n");
    CHighScoreTable table;
    table.loadHighScores("main", userPath("hiscores.ini"));
    EXPECT_EQ(table.entry(0).PlayerName, std::string(40, 'n'));
    EXPECT_EQ(table.entry(0).Internals, std::string(1024, 'i'));
}

TEST_F(HighScoreTest, EmptyFileResetsAndRenewsTheUsersCopyOfTheDefaults) {
    folder.write("program/hiscores.ini", "Line0=0;1;100;Default\n");
    writeUserFile("hiscores_main.ini", "stale");
    CHighScoreTable table;
    table.loadHighScores("main", userPath("hiscores.ini"));
    EXPECT_EQ(readUserFile("hiscores_main.ini"), "Line0=0;1;100;Default\n");
    EXPECT_EQ(table.entry(0).Score, 0u);
    EXPECT_TRUE(table.isDirty());
    EXPECT_TRUE(table.saveHighScores(userPath("hiscores.ini")));
    EXPECT_EQ(readUserFile("hiscores.ini"), kEmptyTable);
}

TEST_F(HighScoreTest, ResetWithoutDefaultsRemovesTheUsersStaleCopy) {
    writeUserFile("hiscores_main.ini", "stale");
    CHighScoreTable table;
    table.loadHighScores("main", userPath("hiscores.ini"));
    EXPECT_FALSE(userFileExists("hiscores_main.ini"));
    EXPECT_TRUE(table.isDirty());
}

TEST_F(HighScoreTest, ResetKeepingFilesOnlyEmptiesTheTable) {
    CHighScoreTable table = tableWith({10, 5});
    EXPECT_TRUE(table.resetHighScores(true));
    EXPECT_EQ(scores(table), std::vector<uint32_t>(8, 0));
    EXPECT_TRUE(table.isDirty());
    EXPECT_FALSE(userFileExists("hiscores_main.ini"));
}

TEST_F(HighScoreTest, SaveWritesOnlyWhenChangedAndRoundTrips) {
    CHighScoreTable table = tableWith({300});
    EXPECT_FALSE(table.saveHighScores(userPath("out.ini")));
    EXPECT_FALSE(userFileExists("out.ini"));
    EXPECT_EQ(table.addScore(0x80000000u, "Big", 0xAB, "note"), 1);
    EXPECT_TRUE(table.saveHighScores(userPath("out.ini")));
    EXPECT_FALSE(table.saveHighScores(userPath("out.ini")));
    std::string text = readUserFile("out.ini");
    EXPECT_TRUE(startsWith(text, "Line0=0;000000AB;-2147483648;Big\nLine0_internals=note\n"
                                 "Line1=0;00000001;300;P0\nLine2=0;00000000;0;\n"));

    CHighScoreTable reread;
    reread.loadHighScores("main", userPath("out.ini"));
    EXPECT_EQ(reread.entry(0).Score, 0x80000000u);
    EXPECT_EQ(reread.entry(0).Internals, "note");
    EXPECT_EQ(reread.entry(1).PlayerName, "P0");
    EXPECT_EQ(reread.entry(1).Stamp, 1u);
}

TEST_F(HighScoreTest, AFailedWriteKeepsTheOldFileAndTheTableChanged) {
    CHighScoreTable table = tableWith({300});
    std::string before = readUserFile("hiscores.ini");
    table.addScore(400, "X", 9, "");
    setRenameHook([](const std::string&, const std::string&) { return false; });
    EXPECT_FALSE(table.saveHighScores(userPath("hiscores.ini")));
    setRenameHook(nullptr);
    EXPECT_EQ(readUserFile("hiscores.ini"), before);
    EXPECT_TRUE(table.isDirty());
    EXPECT_TRUE(table.saveHighScores(userPath("hiscores.ini")));
}

TEST_F(HighScoreTest, FindRankIsTheFirstLowerEntry) {
    CHighScoreTable table = tableWith({1500, 900, 900});
    EXPECT_EQ(table.findRank(2000), 0);
    EXPECT_EQ(table.findRank(900), 3);
    EXPECT_EQ(table.findRank(901), 1);
    CHighScoreTable full = tableWith({8, 7, 6, 5, 4, 3, 2, 1});
    EXPECT_EQ(full.findRank(1), 8);
    EXPECT_EQ(full.findRank(0xFFFFFFFFu), 0);
}

TEST_F(HighScoreTest, InsertPlacesAfterEqualScoresAndRefusesTheSameScoreAndStamp) {
    CHighScoreTable table = tableWith({1500, 900, 900});
    EXPECT_EQ(table.insertScore(1000, "New", 77, 1, "i"), 2);
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{1500, 1000, 900, 900, 0, 0, 0, 0}));
    EXPECT_EQ(table.entry(1).PlayerName, "New");
    EXPECT_EQ(table.entry(1).Flag, 1);
    EXPECT_EQ(table.entry(1).Internals, "i");
    EXPECT_EQ(table.entry(2).PlayerName, "P1");
    EXPECT_EQ(table.insertScore(1000, "Other", 77, 0, ""), 0);
    EXPECT_EQ(table.insertScore(900, "Tie", 5, 0, ""), 5);
    EXPECT_EQ(table.entry(4).PlayerName, "Tie");
    EXPECT_EQ(table.insertScore(0, "Zero", 6, 0, ""), 0);
    EXPECT_FALSE(table.isDirty());
}

TEST_F(HighScoreTest, InsertForAnExistingNameAndStampReplacesItsEntry) {
    CHighScoreTable table = tableWith({1500, 900, 800});
    // P0 has stamp 1: its 1500 is removed and the new 850 is placed by value.
    EXPECT_EQ(table.insertScore(850, "P0", 1, 0, ""), 2);
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{900, 850, 800, 0, 0, 0, 0, 0}));
    EXPECT_EQ(table.entry(1).PlayerName, "P0");
}

TEST_F(HighScoreTest, RemovingAnEntryMarksTheTableChangedEvenWhenTheInsertFails) {
    writeUserFile("hiscores.ini", "Line0=0;5;1500;X\nLine1=0;5;900;Y\n");
    CHighScoreTable table;
    table.loadHighScores("main", userPath("hiscores.ini"));
    // X's entry is removed first; then Y's entry has the same score and stamp.
    EXPECT_EQ(table.insertScore(900, "X", 5, 0, ""), 0);
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{900, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(table.isDirty());
}

TEST_F(HighScoreTest, AFullTableRefusesAScoreNotAboveTheLastEntry) {
    CHighScoreTable table = tableWith({80, 70, 60, 50, 40, 30, 20, 10});
    EXPECT_EQ(table.addScore(10, "Low", 99, ""), 0);
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{80, 70, 60, 50, 40, 30, 20, 10}));
    EXPECT_FALSE(table.isDirty());
    EXPECT_EQ(table.addScore(11, "Edge", 99, ""), 8);
    EXPECT_EQ(table.entry(7).PlayerName, "Edge");
    EXPECT_TRUE(table.isDirty());
}

TEST_F(HighScoreTest, AddScoreWithoutStampStampsTheCurrentTime) {
    CHighScoreTable table = tableWith({});
    uint32_t before = highScoreStamp(std::time(nullptr));
    EXPECT_EQ(table.addScore(50, "Now", 0, ""), 1);
    uint32_t after = highScoreStamp(std::time(nullptr));
    EXPECT_LE(table.entry(0).Stamp - before, after - before);
}

TEST(HighScoreStamp, WeighsTheUtcCalendarFieldsIn32Bits) {
    EXPECT_EQ(highScoreStamp(0), 2688507616u);
    // 2026-12-09 05:06:44 UTC.
    EXPECT_EQ(highScoreStamp(1796792804), 1399605524u);
}
