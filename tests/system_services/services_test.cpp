#include "platform/key_state.h"
#include "utils/engine_state.h"
#include "utils/system.h"

#include <gtest/gtest.h>

#include <regex>

TEST(SystemServices, KeysReadZeroWhilePaused) {
    int pauseLevel = 0;
    setPauseLevelSource([&] { return pauseLevel; });
    setKeyState(0x41, true);
    EXPECT_EQ(isKeyDown(0x41), 1);
    EXPECT_EQ(isKeyDown(0x42), 0);
    pauseLevel = 1;
    EXPECT_EQ(isKeyDown(0x41), 1);
    pauseLevel = 2;
    EXPECT_EQ(isKeyDown(0x41), 0);
    pauseLevel = 99;
    EXPECT_EQ(isKeyDown(0x41), 0);
    setPauseLevelSource(nullptr);
    clearKeyStates();
    EXPECT_EQ(isKeyDown(0x41), 0);
    EXPECT_EQ(isKeyDown(-1), 0);
    EXPECT_EQ(isKeyDown(4000), 0);
}

TEST(SystemServices, TimeAndDateTextsUseUtcAnd24Hours) {
    std::time_t afternoon = 1700000000 + 3600 * 10; // 2023-11-15 08:13:20 UTC + 10 h
    EXPECT_EQ(timeText(afternoon), "08:13:20");
    EXPECT_EQ(timeText(1700000000 + 3600 * 20), "18:13:20");
    EXPECT_FALSE(dateText(afternoon).empty());
    EXPECT_TRUE(std::regex_match(timeText(), std::regex("\\d\\d:\\d\\d:\\d\\d")));
}

TEST(SystemServices, WideAndNarrowTextsRoundTrip) {
    EXPECT_EQ(toWide("Vellum 1.0"), L"Vellum 1.0");
    EXPECT_EQ(toNarrow(L"Vellum 1.0"), "Vellum 1.0");
    std::string bytes = "caf\xE9";
    EXPECT_EQ(toNarrow(toWide(bytes)), bytes);
}

TEST(SystemServices, OsInfoAndSpecialFolders) {
    std::string name;
    int major = -1;
    bool nt = false;
    ASSERT_TRUE(getOsInfo(name, major, nt));
    EXPECT_FALSE(name.empty());
    EXPECT_GE(major, 0);
    EXPECT_TRUE(nt);
    std::string appData = getSpecialFolder(kFolderRoamingAppData);
    EXPECT_EQ(appData.rfind("z:\\", 0), 0u);
    EXPECT_EQ(appData.back(), '\\');
    EXPECT_EQ(getSpecialFolder(0x05), "");
}
