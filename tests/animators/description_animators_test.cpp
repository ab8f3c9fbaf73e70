#include "widgets/widget_fixture.h"

namespace {

using DescriptionAnimators = WidgetTest;

CSpriteNode* spriteFrom(const std::string& keys) {
    return dynamic_cast<CSpriteNode*>(createSprite("raw:\\-Texture:\\gui\\orange.png\n" + keys, 1,
                                                   1, irr::core::vector3df(), nullptr, nullptr,
                                                   "test:1"));
}

TEST_F(DescriptionAnimators, RotationKeyTurnsTheSpriteAndATinySpeedIsKeptButNeverTurns) {
    CSpriteNode* turning = spriteFrom("-Animation.Rotation:s0.5 t1\n");
    CSpriteNode* tiny = spriteFrom("-Animation.Rotation:s0.0005\n");
    CSpriteNode* none = spriteFrom("-Animation.Rotation:s0.00005\n");
    ASSERT_NE(turning, nullptr);
    ASSERT_NE(tiny, nullptr);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(turning->getAnimators().size(), 1u);
    EXPECT_EQ(tiny->getAnimators().size(), 1u);
    EXPECT_TRUE(none->getAnimators().empty());

    for (irr::u32 time = kStart; time <= kStart + 400; time += 50) {
        frameAt(time);
    }
    EXPECT_NEAR(turning->getFlatRotation(), 2.0f, 1e-4f);
    EXPECT_EQ(tiny->getFlatRotation(), 0.0f);
}

} // namespace
