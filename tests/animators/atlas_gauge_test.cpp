#include "animator_fixture.h"

#include "animators/aatlasgauge.h"
#include "scene/node_sprite.h"

namespace {

class AtlasGauge : public AnimatorTest {
protected:
    // A sprite showing row 1 of a 5 by 3 atlas.
    CSpriteNode* makeGaugeSprite() {
        CSpriteNode* sprite =
            new CSpriteNode(scene->getRootSceneNode(), scene, 8001, irr::core::vector3df(),
                            irr::core::dimension2df(1, 1));
        sprite->drop();
        sprite->setAtlas(0, 1, 5, 3, 0.01f);
        return sprite;
    }

    float watched = 0;
};

TEST_F(AtlasGauge, ValueBetweenZeroAndOneSelectsAColumnOfTheRow) {
    CSpriteNode* sprite = makeGaugeSprite();
    watched = 0.5f;
    attachAnimatorEveryFrame(sprite, new CAtlasGaugeAnimator(&watched, 0));
    frameAt(kStart + 10);
    EXPECT_EQ(sprite->getAtlasX(), 2);
    EXPECT_EQ(sprite->getAtlasY(), 1);
    EXPECT_EQ(sprite->getAtlasW(), 5);
    EXPECT_EQ(sprite->getAtlasH(), 3);
    EXPECT_EQ(sprite->getAtlasInset(), 0);

    const std::pair<float, float> valuesAndColumns[] = {{-0.5f, 0}, {0.01f, 1}, {0.25f, 1},
                                                        {0.26f, 2}, {1, 4},     {7, 4}};
    irr::u32 time = kStart + 20;
    for (const auto& [value, column] : valuesAndColumns) {
        watched = value;
        frameAt(time += 10);
        EXPECT_EQ(sprite->getAtlasX(), column) << "value " << value;
    }
    EXPECT_FLOAT_EQ(sprite->getAlphaFactor(), 1);
}

TEST_F(AtlasGauge, GaugeMovesAtMostMaxStepPerStep) {
    CSpriteNode* sprite = makeGaugeSprite();
    CAtlasGaugeAnimator* gauge = new CAtlasGaugeAnimator(&watched, 0);
    gauge->setMaxStep(0.25f);
    attachAnimatorEveryFrame(sprite, gauge);
    frameAt(kStart + 10);
    EXPECT_EQ(sprite->getAtlasX(), 0);
    watched = 1;
    const float columns[] = {1, 2, 3, 4, 4};
    irr::u32 time = kStart + 10;
    for (float column : columns) {
        frameAt(time += 10);
        EXPECT_EQ(sprite->getAtlasX(), column);
    }
    EXPECT_FLOAT_EQ(gauge->getShown(), 1);
}

TEST_F(AtlasGauge, FirstValueOutsideTheRangeShowsTheNearestEndAtOnce) {
    CSpriteNode* sprite = makeGaugeSprite();
    watched = 5;
    CAtlasGaugeAnimator* gauge = new CAtlasGaugeAnimator(&watched, 0);
    gauge->setMaxStep(0.01f);
    attachAnimatorEveryFrame(sprite, gauge);
    frameAt(kStart + 10);
    EXPECT_EQ(sprite->getAtlasX(), 4);
}

TEST_F(AtlasGauge, WithAFadeTimeItStaysHiddenAtItsFirstValueAndShowsAtEachChange) {
    CSpriteNode* sprite = makeGaugeSprite();
    watched = 0.5f;
    attachAnimatorEveryFrame(sprite, new CAtlasGaugeAnimator(&watched, 3000));
    EXPECT_FLOAT_EQ(sprite->getAlphaFactor(), 0) << "hidden until the first step";
    frameAt(kStart + 100);
    EXPECT_EQ(sprite->getAtlasX(), 2) << "the first value sets the column";
    EXPECT_FLOAT_EQ(sprite->getAlphaFactor(), 0) << "the first value is no change";
    frameAt(kStart + 3300);
    EXPECT_FLOAT_EQ(sprite->getAlphaFactor(), 0);

    watched = 0.75f;
    frameAt(kStart + 3400);
    EXPECT_FLOAT_EQ(sprite->getAlphaFactor(), 1);
    EXPECT_EQ(sprite->getAtlasX(), 3);
    frameAt(kStart + 6400);
    EXPECT_FLOAT_EQ(sprite->getAlphaFactor(), 1) << "the fade time has not passed yet";
    // 0.1 per 100 ms once it has.
    frameAt(kStart + 6600);
    EXPECT_NEAR(sprite->getAlphaFactor(), 0.8f, 1e-4f);
    frameAt(kStart + 7600);
    EXPECT_FLOAT_EQ(sprite->getAlphaFactor(), 0);
    frameAt(kStart + 9000);
    EXPECT_FLOAT_EQ(sprite->getAlphaFactor(), 0);
}

} // namespace
