#include "core/module_userprofile.h"
#include "gameimplementation.h"
#include "support/test_program.h"
#include "userstats.h"

#include <gtest/gtest.h>

TEST(GameStatistics, NewProfileSavesAnEmptyCurrentLevelLine) {
    CGameStatistics statistics;
    statistics.initDefaults("", nullptr);
    std::string text = "Fullscreen=0\n";
    statistics.save(text, nullptr);
    EXPECT_EQ(text, "Fullscreen=0\nsCurrentLevel=\n");
}

TEST(GameStatistics, LevelNameKeepsInnerBlanksAndLosesOuterOnes) {
    CGameStatistics statistics;
    statistics.load("\nXResolution=800\nsCurrentLevel=  level two b \nLanguage=data_en\n", nullptr);
    EXPECT_EQ(statistics.getCurrentLevel(), "level two b");
    statistics.load("\nXResolution=800\n", nullptr);
    EXPECT_EQ(statistics.getCurrentLevel(), "");
}

TEST(GameStatistics, CurrentLevelTravelsThroughTheProfileFile) {
    TestProgram program;
    EngineConfig config;
    config.load();
    CGameImplementation game;
    {
        CUserProfile profile("Ann", config, game.createProfileExtension());
        static_cast<CGameStatistics*>(profile.getExtension())->setCurrentLevel("cave 3");
        profile.markChanged();
        ASSERT_TRUE(profile.save());
    }
    CUserProfile reread("Ann", config, game.createProfileExtension());
    reread.load();
    EXPECT_EQ(static_cast<CGameStatistics*>(reread.getExtension())->getCurrentLevel(), "cave 3");
}
