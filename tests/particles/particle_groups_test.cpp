#include "platform/message_box.h"
#include "scene/particle_groups.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class ParticleGroups : public testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
        setRandomSeed(12345);
    }

    // Joins or leaves the group until it has `count` live sprites.
    static void fill(const std::string& name, int count) {
        ParticleGroup group;
        int live = getParticleGroup(name, group) ? group.LiveCount : 0;
        for (; live < count; ++live) {
            joinParticleGroup(name);
        }
        for (; live > count; --live) {
            leaveParticleGroup(name);
        }
    }

    // A group name no earlier test of this process used.
    static std::string freshName(const std::string& stem) {
        static int used = 0;
        return stem + std::to_string(++used);
    }

    static int admittedOf(const std::string& name, int requests) {
        int admitted = 0;
        for (int i = 0; i < requests; ++i) {
            admitted += admitParticle(name) ? 1 : 0;
        }
        return admitted;
    }

    TemporaryFolder program;
    MessageBoxRecorder boxes;
};

TEST_F(ParticleGroups, LoadingReportsWhetherTheTextHoldsGroups) {
    EXPECT_FALSE(loadParticleGroups("\n-Texture:a.png\n"));
    EXPECT_TRUE(loadParticleGroups("\n[ParticleGroup]\n-Name: pg_sparks \n-100%:10\n-50%:20\n"
                                   "[ParticleGroup]\n-Name:pg_smoke\n"));
    ParticleGroup group;
    ASSERT_TRUE(getParticleGroup("pg_sparks", group));
    EXPECT_EQ(group.FullLimit, 10);
    EXPECT_EQ(group.HalfLimit, 20);
    EXPECT_EQ(group.LiveCount, 0);
    ASSERT_TRUE(getParticleGroup("pg_smoke", group));
    EXPECT_EQ(group.FullLimit, 99999);
    EXPECT_EQ(group.HalfLimit, 0);
}

TEST_F(ParticleGroups, AdmissionFollowsBothLimits) {
    loadParticleGroups("[ParticleGroup]\n-Name:pg_limits\n-100%:10\n-50%:20\n");
    fill("pg_limits", 0);
    EXPECT_EQ(admittedOf("pg_limits", 200), 200);
    fill("pg_limits", 10);
    EXPECT_EQ(admittedOf("pg_limits", 200), 200);

    fill("pg_limits", 11);
    int admitted = admittedOf("pg_limits", 1000);
    EXPECT_GT(admitted, 400);
    EXPECT_LT(admitted, 580);

    fill("pg_limits", 20);
    admitted = admittedOf("pg_limits", 1000);
    EXPECT_GT(admitted, 400);
    EXPECT_LT(admitted, 580);

    fill("pg_limits", 21);
    EXPECT_EQ(admittedOf("pg_limits", 200), 0);

    for (int i = 0; i < 11; ++i) {
        leaveParticleGroup("pg_limits");
    }
    EXPECT_EQ(admittedOf("pg_limits", 200), 200);
}

TEST_F(ParticleGroups, OnlyAFullLimitRefusesEverythingBeyondIt) {
    loadParticleGroups("[ParticleGroup]\n-Name:pg_full_only\n-100%:10\n");
    fill("pg_full_only", 0);
    fill("pg_full_only", 10);
    EXPECT_TRUE(admitParticle("pg_full_only"));
    fill("pg_full_only", 11);
    EXPECT_EQ(admittedOf("pg_full_only", 200), 0);
}

TEST_F(ParticleGroups, GroupWithoutLimitsAdmitsUpToItsDefaultLimit) {
    loadParticleGroups("[ParticleGroup]\n-Name:pg_unlimited\n");
    fill("pg_unlimited", 0);
    fill("pg_unlimited", 99999);
    EXPECT_TRUE(admitParticle("pg_unlimited"));
    fill("pg_unlimited", 100000);
    EXPECT_FALSE(admitParticle("pg_unlimited"));
}

TEST_F(ParticleGroups, EmptyAndUnknownNamesAreAdmittedAndUnknownOnesCounted) {
    EXPECT_TRUE(admitParticle(""));
    joinParticleGroup("");
    ParticleGroup group;
    EXPECT_FALSE(getParticleGroup("", group));

    std::string unknown = freshName("pg_never_defined_");
    EXPECT_TRUE(admitParticle(unknown));
    EXPECT_FALSE(getParticleGroup(unknown, group));
    joinParticleGroup(unknown);
    joinParticleGroup(unknown);
    ASSERT_TRUE(getParticleGroup(unknown, group));
    EXPECT_EQ(group.LiveCount, 2);
    EXPECT_EQ(group.FullLimit, 99999);
    EXPECT_TRUE(admitParticle(unknown));
    leaveParticleGroup(unknown);
    ASSERT_TRUE(getParticleGroup(unknown, group));
    EXPECT_EQ(group.LiveCount, 1);
}

TEST_F(ParticleGroups, RedefinitionReplacesLimitsButKeepsLiveSprites) {
    loadParticleGroups("[ParticleGroup]\n-Name:pg_redefined\n-100%:50\n");
    fill("pg_redefined", 0);
    fill("pg_redefined", 5);
    loadParticleGroups("[ParticleGroup]\n-Name:pg_redefined\n-100%:3\n");
    ParticleGroup group;
    ASSERT_TRUE(getParticleGroup("pg_redefined", group));
    EXPECT_EQ(group.FullLimit, 3);
    EXPECT_EQ(group.LiveCount, 5);
    EXPECT_FALSE(admitParticle("pg_redefined"));
}

TEST_F(ParticleGroups, LeavingNeverCountsBelowZero) {
    loadParticleGroups("[ParticleGroup]\n-Name:pg_leaving\n-100%:0\n");
    leaveParticleGroup("pg_leaving");
    ParticleGroup group;
    ASSERT_TRUE(getParticleGroup("pg_leaving", group));
    EXPECT_EQ(group.LiveCount, 0);
    EXPECT_TRUE(admitParticle("pg_leaving"));
}

TEST_F(ParticleGroups, SectionWithoutANameIsFatal) {
    EXPECT_EXIT(
        {
            setMessageBoxHook([](const std::string& text, const std::string&, int) {
                fprintf(stderr, "box: %s\n", text.c_str());
                return 1;
            });
            loadParticleGroups("[ParticleGroup]\n-100%:3\n");
        },
        testing::ExitedWithCode(1), "Bad particle group name!");
}

} // namespace
