#include "animators/afadeanimators.h"
#include "animators/apositionanimators.h"
#include "eyecandy_scene.h"
#include "scene/node_utilities.h"

#include <gtest/gtest.h>

namespace {

class NodeEffects : public EyeCandyScene {
protected:
    void SetUp() override {
        EyeCandyScene::SetUp();
        node = create("plain", "-Texture:orange.png\n-Size:w4 h2\n");
        ASSERT_NE(node, nullptr);
        // Held by the test so that it can look at the node after the scene let go of it.
        node->grab();
    }
    void TearDown() override {
        node->drop();
        EyeCandyScene::TearDown();
    }

    bool inScene() const { return node->getParent() != nullptr; }

    CNodeBasement* node = nullptr;
};

TEST_F(NodeEffects, DelayHidesTheNodeThenFadesItIn) {
    game->nodeEffectHook(node, "delay[2 a1]", true);
    EXPECT_EQ(node->getAlpha(), 0);
    for (irr::u32 time = kStart; time < kStart + 2000; time += 10) {
        frameAt(time);
        ASSERT_EQ(node->getAlpha(), 0) << "at " << time - kStart << " ms";
    }
    // The fade starts within a step interval or two of the delay.
    framesFromTo(kStart + 2000, kStart + 2550, 10);
    EXPECT_GT(node->getAlpha(), 0.4f);
    EXPECT_LT(node->getAlpha(), 0.6f);
    framesFromTo(kStart + 2560, kStart + 3100, 10);
    EXPECT_EQ(node->getAlpha(), 1);
    EXPECT_EQ(animatorOf<CAlphaFadeAnimator>(node), nullptr);
}

TEST_F(NodeEffects, DelayWithoutFadeTimeFadesInOverOneSecond) {
    for (const char* effect : {"delay[1]", "delay[1 a0]"}) {
        node->setAlpha(1);
        const irr::u32 start = device->getTimer()->getTime();
        game->nodeEffectHook(node, effect, true);
        framesFromTo(start, start + 1550, 10);
        EXPECT_GT(node->getAlpha(), 0.4f) << effect;
        EXPECT_LT(node->getAlpha(), 0.6f) << effect;
        framesFromTo(start + 1560, start + 2100, 10);
        EXPECT_EQ(node->getAlpha(), 1) << effect;
    }
}

TEST_F(NodeEffects, DelayActsOnlyAtCreation) {
    game->nodeEffectHook(node, "delay[2 a1]", false);
    framesFromTo(kStart, kStart + 500, 50);
    EXPECT_EQ(node->getAlpha(), 1);
    EXPECT_TRUE(node->getAnimators().empty());
}

TEST_F(NodeEffects, FadeoutFadesOverItsSecondHalfThenDeletesTheNode) {
    game->nodeEffectHook(node, "fadeout[3]", true);
    framesFromTo(kStart, kStart + 1490, 10);
    EXPECT_EQ(node->getAlphaFactor(), 1);
    framesFromTo(kStart + 1500, kStart + 2250, 10);
    EXPECT_NEAR(node->getAlphaFactor(), 0.5f, 0.05f);
    framesFromTo(kStart + 2260, kStart + 2700, 10);
    EXPECT_TRUE(inScene());
    framesFromTo(kStart + 2710, kStart + 3050, 10);
    EXPECT_FALSE(inScene());
}

TEST_F(NodeEffects, FadeoutAsOnDestroyEffectDelaysTheDeletion) {
    node->setOnDestroyText("delay[5] fadeout[1]");
    deleteNode(node);
    frameAt(kStart);
    EXPECT_TRUE(inScene());
    EXPECT_EQ(node->getAlpha(), 1);
    framesFromTo(kStart + 10, kStart + 1100, 10);
    EXPECT_FALSE(inScene());
}

TEST_F(NodeEffects, SizeoutScalesTheNodeOverItsTime) {
    game->nodeEffectHook(node, "sizeout[s0.5 t2]", false);
    framesFromTo(kStart, kStart + 1000, 10);
    EXPECT_NEAR(node->getSize().Width, 3, 0.05f);
    EXPECT_NEAR(node->getSize().Height, 1.5f, 0.025f);
    framesFromTo(kStart + 1010, kStart + 2100, 10);
    EXPECT_FLOAT_EQ(node->getSize().Width, 2);
    EXPECT_FLOAT_EQ(node->getSize().Height, 1);
    EXPECT_EQ(animatorOf<CSizeAnimator>(node), nullptr);
}

TEST_F(NodeEffects, CreationEffectsOfADescriptionReachTheNode) {
    CNodeBasement* made = create("effects", "-Texture:orange.png\n-Size:w2 h1\n"
                                            "-Animation.OnCreate:delay[1 a1] sizeout[s3 t1]\n");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getAlpha(), 0);
    EXPECT_NE(animatorOf<CSizeAnimator>(made), nullptr);
    framesFromTo(kStart, kStart + 2100, 10);
    EXPECT_EQ(made->getAlpha(), 1);
    EXPECT_FLOAT_EQ(made->getSize().Width, 6);
    EXPECT_FLOAT_EQ(made->getSize().Height, 3);
}

} // namespace
