#include "support/temporary_folder.h"
#include "utils/debug.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

class DebugLog : public testing::Test {
protected:
    void SetUp() override { setDebugLogFolder(folder.engine()); }

    TemporaryFolder folder;
};

} // namespace

TEST_F(DebugLog, LinesCarryDateTimeTabTextAndLocation) {
    EXPECT_EXIT(
        {
            logDebug("plain");
            logDebug("located", "server_game.cpp", 42);
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    std::string log = folder.read("last_debug.log");
    std::regex line("[^\t\n]+ \\d\\d:\\d\\d:\\d\\d\tplain\n[^\t\n]+ \\d\\d:\\d\\d:\\d\\d\t"
                    "located \\(server_game.cpp:42\\)\n");
    EXPECT_TRUE(std::regex_match(log, line)) << log;
}

TEST_F(DebugLog, FirstLineOfARunFollowsTheEarlierRunsLog) {
    folder.write("last_debug.log", "earlier run\n");
    EXPECT_EXIT(
        {
            logDebug("this run");
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    std::string log = folder.read("last_debug.log");
    EXPECT_EQ(log.rfind("earlier run\n", 0), 0u) << log;
    EXPECT_NE(log.find("\tthis run\n"), std::string::npos);
}

TEST_F(DebugLog, UnlocatedEntriesNeverWriteHoweverLongTheLog) {
    folder.write("last_debug.log", "old");
    logDebug(std::string(60000, 'u'));
    logDebug(std::string(60000, 'v'));
    EXPECT_EQ(folder.read("last_debug.log"), "old");
}

TEST_F(DebugLog, LocatedEntryPastTheLimitWritesAndKeepsTheLastPart) {
    folder.write("last_debug.log", "old");
    logDebug(std::string(49000, 'a'), "f.cpp", 1);
    EXPECT_EQ(folder.read("last_debug.log"), "old");

    logDebug(std::string(2000, 'b'), "f.cpp", 2);
    std::string written = folder.read("last_debug.log");
    EXPECT_EQ(written.rfind("old", 0), 0u);
    EXPECT_NE(written.find(std::string(2000, 'b') + " (f.cpp:2)"), std::string::npos);
    EXPECT_EQ(written.back(), ')');

    // Memory now holds the last 30000 characters plus the line end; the next write shows it.
    logDebug(std::string(25000, 'c'), "f.cpp", 3);
    written = folder.read("last_debug.log");
    EXPECT_EQ(written.find("old"), std::string::npos);
    EXPECT_EQ(written.rfind(std::string(27000, 'a'), 0), 0u);
    EXPECT_GT(written.size(), 30000u + 25000u + 10u);
    EXPECT_LT(written.size(), 30000u + 25000u + 100u);
}
