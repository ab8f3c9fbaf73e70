#include "widget_fixture.h"

#include "animators/abaseanimators.h"
#include "scene/node_helpers.h"

namespace {

// A bar of 4 by 0.5 with a background, bound to `value`.
class Slider : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        writeUnitSprite("gui/bar.spr");
        writeUnitSprite("gui/bar_bg.spr");
    }

    CSlider* makeSlider(bool vertical = false) {
        return vertical ? new CSlider(irr::core::vector3df(1, 1, 0), &value, "gui\\bar_bg.spr",
                                      "gui\\bar.spr", 0.5f, 4, nullptr, true)
                        : new CSlider(irr::core::vector3df(1, 1, 0), &value, "gui\\bar_bg.spr",
                                      "gui\\bar.spr", 4, 0.5f, nullptr, false);
    }

    // The share of the bar the fill shows; 0 while it is hidden.
    float shownShare(CSlider* slider) {
        CSpriteNode* fill = slider->getFill();
        return fill->isVisible() ? fill->getSize().Width / 4 : 0;
    }

    float value = 0;
};

TEST_F(Slider, BarIsBuiltCentredAndShowsNothingBeforeItsFirstStep) {
    value = 0.5f;
    CSlider* slider = makeSlider();
    CNodeBasement* container = slider->getContainer();
    EXPECT_EQ(container->getOwner(), slider);
    EXPECT_EQ(container->getPosition(), irr::core::vector3df(1, 1, 0));
    EXPECT_EQ(container->getAlpha(), 0.0f);
    ASSERT_EQ(container->getChildren().size(), 2u);
    EXPECT_EQ(*container->getChildren().begin(), slider->getBackground());
    EXPECT_EQ(slider->getBackground()->getPosition(), irr::core::vector3df(0, 0, 0));
    EXPECT_EQ(slider->getBackground()->getSize(), irr::core::dimension2df(4, 0.5f));
    EXPECT_FALSE(slider->getFill()->isVisible());
}

TEST_F(Slider, FirstStepShowsTheBoundValueExactlyWhateverTheFollowRate) {
    value = 0.5f;
    CSlider* slider = makeSlider();
    frameAt(kStart);
    CSpriteNode* fill = slider->getFill();
    EXPECT_TRUE(fill->isVisible());
    EXPECT_EQ(fill->getSize(), irr::core::dimension2df(2, 0.5f));
    EXPECT_EQ(fill->getPosition(), irr::core::vector3df(-1, 0, 0));
    // The image is cut at half its width, not squeezed.
    EXPECT_NEAR(fill->getVertices()[0].TCoords.X,
                (fill->getRegionUV().UpperLeftCorner.X + fill->getRegionUV().LowerRightCorner.X) /
                    2,
                1e-5f);
}

TEST_F(Slider, FollowsAtItsRateEvery200MsAndLandsExactlyOnTheValue) {
    value = 0.2f;
    CSlider* slider = makeSlider();
    slider->setFollowRate(1000);
    frameAt(kStart);
    value = 0.8f;
    std::vector<float> shown;
    for (irr::u32 time = kStart + 100; time <= kStart + 2400; time += 100) {
        frameAt(time);
        shown.push_back(shownShare(slider));
    }
    // Steps at 200, 400, ... ms of 0.06 each (delta 2).
    EXPECT_NEAR(shown[1], 0.26f, 1e-4f);
    EXPECT_NEAR(shown[0], 0.2f, 1e-4f);
    EXPECT_NEAR(shown[3], 0.32f, 1e-4f);
    EXPECT_NEAR(shown[17], 0.74f, 1e-4f);
    EXPECT_EQ(shown[19], 0.8f);
    EXPECT_EQ(shown.back(), 0.8f);
}

TEST_F(Slider, DefaultRateCreepsAndAHugeRateJumps) {
    value = 0;
    CSlider* creeping = makeSlider();
    CSlider* jumping = makeSlider();
    jumping->setFollowRate(1000000);
    frameAt(kStart);
    value = 1;
    for (irr::u32 time = kStart + 200; time <= kStart + 10000; time += 200) {
        frameAt(time);
    }
    // 0.003 per second.
    EXPECT_NEAR(shownShare(creeping), 0.03f, 1e-4f);
    EXPECT_EQ(shownShare(jumping), 1.0f);
}

TEST_F(Slider, ValuesAtOrBelowZeroShowNoFillAndAboveOneTheFullBar) {
    value = -0.5f;
    CSlider* slider = makeSlider();
    frameAt(kStart);
    EXPECT_FALSE(slider->getFill()->isVisible());
    value = 3;
    slider->setFollowRate(1000000);
    frameAt(kStart + 200);
    EXPECT_EQ(shownShare(slider), 1.0f);
    EXPECT_EQ(slider->getFill()->getPosition(), irr::core::vector3df(0, 0, 0));
}

TEST_F(Slider, VerticalBarGrowsUpwardsFromItsBottom) {
    value = 0.25f;
    CSlider* slider = makeSlider(true);
    frameAt(kStart);
    CSpriteNode* fill = slider->getFill();
    EXPECT_EQ(fill->getSize(), irr::core::dimension2df(0.5f, 1));
    EXPECT_EQ(fill->getPosition(), irr::core::vector3df(0, -1.5f, 0));
    EXPECT_NEAR(std::fmod(fill->getFlatRotation(), 2 * irr::core::PI), 0, 1e-5f);
}

TEST_F(Slider, DismissRemovesTheBarAtOnceOrAfterAFade) {
    value = 1;
    CSlider* quick = makeSlider();
    CSlider* fading = makeSlider();
    frameAt(kStart);
    irr::scene::ISceneNode* root = device->getSceneManager()->getRootSceneNode();
    size_t before = root->getChildren().size();
    int liveBefore = CBaseAnimator::liveCount();

    quick->dismiss(0);
    fading->dismiss(500);
    frameAt(kStart + 10);
    EXPECT_EQ(root->getChildren().size(), before - 1);
    frameAt(kStart + 250);
    EXPECT_LT(fading->getFill()->getAlpha(), 0.6f);
    EXPECT_LT(fading->getContainer()->getAlphaFactor(), 0.6f);
    frameAt(kStart + 460);
    frameAt(kStart + 520);
    EXPECT_EQ(root->getChildren().size(), before - 2);
    EXPECT_LT(CBaseAnimator::liveCount(), liveBefore);
}

} // namespace
