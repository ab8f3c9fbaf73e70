#include "effects_fixture.h"

#include "animators/aframeanimator.h"

#include <memory>

namespace {

using FrameAnimation = EffectTest;

CSpriteNode* animatedStrip(const std::string& animation) {
    return dynamic_cast<CSpriteNode*>(
        createSprite("raw:\\-Texture:\\gui\\strip.png\n-Animation.Texture:" + animation + "\n", 1,
                     1, irr::core::vector3df(), nullptr, nullptr, "frame_animator_test:1"));
}

TEST_F(FrameAnimation, EightFramesOver800MsShowFrameKFrom100KMsAndLoop) {
    CSpriteNode* sprite = animatedStrip("t800 m8x1");
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(countOf<CFrameAnimator>(sprite), 1);
    EXPECT_STREQ(firstOf<CFrameAnimator>(sprite)->getName(), "ATL443");
    EXPECT_EQ(sprite->getAtlasW(), 8.0f);
    EXPECT_EQ(sprite->getAtlasH(), 1.0f);
    for (irr::u32 elapsed = 0; elapsed <= 2000; elapsed += 25) {
        frameAt(kStart + elapsed);
        EXPECT_EQ(sprite->getAtlasX(), static_cast<float>((elapsed / 100) % 8)) << elapsed;
        EXPECT_EQ(sprite->getAtlasY(), 0.0f);
    }
}

TEST_F(FrameAnimation, GridLayoutsPlayRowByRowAndSingleRowLayoutsPlayTheirRow) {
    CSpriteNode* grid = animatedStrip("t400 m2x2");
    CSpriteNode* row = animatedStrip("t300 m3-2/4");
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(row, nullptr);
    const float gridCells[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (irr::u32 elapsed = 0; elapsed < 800; elapsed += 25) {
        frameAt(kStart + elapsed);
        int k = static_cast<int>(elapsed / 100) % 4;
        EXPECT_EQ(grid->getAtlasX(), gridCells[k][0]) << elapsed;
        EXPECT_EQ(grid->getAtlasY(), gridCells[k][1]) << elapsed;
        EXPECT_EQ(row->getAtlasX(), static_cast<float>((elapsed / 100) % 3)) << elapsed;
        EXPECT_EQ(row->getAtlasY(), 1.0f);
        EXPECT_EQ(row->getAtlasW(), 3.0f);
        EXPECT_EQ(row->getAtlasH(), 4.0f);
    }
}

TEST_F(FrameAnimation, ASecondAnimationReplacesTheFirstOnTheSameNode) {
    CSpriteNode* sprite = animatedStrip("t800 m8x1");
    ASSERT_NE(sprite, nullptr);
    auto column = std::make_shared<const CFrameAnimator::FrameList>(
        CFrameAnimator::FrameList{{0, 0}, {0, 1}, {0, 2}});
    attachAnimator(sprite, new CFrameAnimator(300, 1, 3, column, 0));
    EXPECT_EQ(sprite->getAtlasH(), 3.0f);
    frameAt(kStart);
    EXPECT_EQ(countOf<CFrameAnimator>(sprite), 1);
    EXPECT_NE(sprite->findAnimator("ATL443", false), nullptr);
    framesFromTo(kStart + 25, kStart + 200, 25);
    EXPECT_EQ(sprite->getAtlasX(), 0.0f);
    EXPECT_EQ(sprite->getAtlasY(), 2.0f);
    EXPECT_EQ(sprite->getAtlasW(), 1.0f);
}

TEST_F(FrameAnimation, ALayoutWithoutFramesGetsNoAnimationAndAnEmptyListShowsNothing) {
    CSpriteNode* noLayout = animatedStrip("t100");
    CSpriteNode* noColumns = animatedStrip("t100 m0x4");
    ASSERT_NE(noLayout, nullptr);
    ASSERT_NE(noColumns, nullptr);
    EXPECT_EQ(countOf<CFrameAnimator>(noLayout), 0);
    EXPECT_EQ(countOf<CFrameAnimator>(noColumns), 0);
    EXPECT_EQ(createFrameAnimation(100, ""), nullptr);

    CSpriteNode* sprite = spriteWith("-Atlas:x1 y0 w2 h1\n");
    ASSERT_NE(sprite, nullptr);
    attachAnimator(sprite, new CFrameAnimator(
                               100, 4, 1, std::make_shared<const CFrameAnimator::FrameList>(), 0));
    framesFromTo(kStart, kStart + 300, 25);
    EXPECT_EQ(sprite->getAtlasX(), 1.0f);
    EXPECT_EQ(sprite->getAtlasW(), 2.0f);
    EXPECT_EQ(countOf<CFrameAnimator>(sprite), 1);
}

} // namespace
