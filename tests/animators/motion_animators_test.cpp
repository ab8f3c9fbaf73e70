#include "animator_fixture.h"

#include "animators/afadeanimators.h"
#include "animators/apositionanimators.h"
#include "scene/node_sprite.h"

namespace {

using MotionAnimators = AnimatorTest;
using FadeAnimators = AnimatorTest;

using irr::core::vector3df;

void expectNear(const vector3df& actual, const vector3df& expected) {
    EXPECT_NEAR(actual.X, expected.X, 1e-3f);
    EXPECT_NEAR(actual.Y, expected.Y, 1e-3f);
    EXPECT_NEAR(actual.Z, expected.Z, 1e-3f);
}

TEST_F(MotionAnimators, MoveInFromAnOffsetArrivesExactlyAtTheNodePosition) {
    CNodeBasement* node = makeNode(nullptr, 8001, vector3df(300, 100, 0));
    attachAnimator(node, new CMoveAnimator(CMoveAnimator::kMoveInFromOffset, vector3df(-200, 0, 0),
                                           1000, false));
    expectNear(node->getPosition(), vector3df(100, 100, 0));

    frameAt(kStart + 500);
    expectNear(node->getPosition(), vector3df(200, 100, 0));
    frameAt(kStart + 990);
    EXPECT_FALSE(node->getAnimators().empty());
    frameAt(kStart + 1020);
    EXPECT_EQ(node->getPosition(), vector3df(300, 100, 0));
    EXPECT_TRUE(node->getAnimators().empty());
}

TEST_F(MotionAnimators, MoveFromToStartsAtTheOriginAndMoveByOffsetLeavesTheNodePosition) {
    CNodeBasement* fromOrigin = makeNode(nullptr, 8001, vector3df(7, 7, 7));
    CNodeBasement* byOffset = makeNode(nullptr, 8001, vector3df(1, 2, 0));
    attachAnimator(fromOrigin,
                   new CMoveAnimator(CMoveAnimator::kMoveFromTo, vector3df(4, -8, 2), 400, false));
    attachAnimator(
        byOffset, new CMoveAnimator(CMoveAnimator::kMoveByOffset, vector3df(10, 0, 0), 400, false));
    expectNear(fromOrigin->getPosition(), vector3df(0, 0, 0));
    expectNear(byOffset->getPosition(), vector3df(1, 2, 0));

    frameAt(kStart + 100);
    expectNear(fromOrigin->getPosition(), vector3df(1, -2, 0.5f));
    expectNear(byOffset->getPosition(), vector3df(3.5f, 2, 0));
    frameAt(kStart + 450);
    EXPECT_EQ(fromOrigin->getPosition(), vector3df(4, -8, 2));
    EXPECT_EQ(byOffset->getPosition(), vector3df(11, 2, 0));
}

TEST_F(MotionAnimators, LoopingMoveWrapsBackToItsStartAndNeverEnds) {
    CNodeBasement* node = makeNode();
    CMoveAnimator* move =
        new CMoveAnimator(CMoveAnimator::kMoveFromTo, vector3df(100, 0, 0), 200, true);
    attachAnimatorEveryFrame(node, move);
    frameAt(kStart + 150);
    expectNear(node->getPosition(), vector3df(75, 0, 0));
    frameAt(kStart + 200);
    expectNear(node->getPosition(), vector3df(0, 0, 0));
    frameAt(kStart + 450);
    expectNear(node->getPosition(), vector3df(25, 0, 0));
    frameAt(kStart + 10000);
    EXPECT_EQ(node->getAnimators().size(), 1u);
}

TEST_F(MotionAnimators, OffsetStartsTheMoveThatFarAlong) {
    CNodeBasement* node = makeNode();
    CMoveAnimator* move =
        new CMoveAnimator(CMoveAnimator::kMoveFromTo, vector3df(0, 100, 0), 400, true);
    move->setOffset(100);
    attachAnimator(node, move);
    frameAt(kStart + 100);
    expectNear(node->getPosition(), vector3df(0, 50, 0));
}

TEST_F(MotionAnimators, VelocityMovesFiveUnitsPer100MsWhateverTheInterval) {
    CNodeBasement* throttled = makeNode(nullptr, 8001, vector3df(10, 0, 0));
    CNodeBasement* everyFrame = makeNode(nullptr, 8001, vector3df(10, 0, 0));
    attachAnimator(throttled, new CMoveAnimator(CMoveAnimator::kMoveAtVelocity, vector3df(5, 0, 0),
                                                100, false));
    attachAnimatorEveryFrame(everyFrame, new CMoveAnimator(CMoveAnimator::kMoveAtVelocity,
                                                           vector3df(5, 0, 0), 100, false));
    framesFromTo(kStart, kStart + 1200, 12);

    // Both have stepped up to the last due time; the throttled one lags by at most a step.
    expectNear(everyFrame->getPosition(), vector3df(70, 0, 0));
    EXPECT_NEAR(throttled->getPosition().X, 70, 1.5f);
    EXPECT_GE(throttled->getPosition().X, 68.5f);
    EXPECT_EQ(throttled->getAnimators().size(), 1u);
}

TEST_F(MotionAnimators, MoveAndSizeWithoutDurationApplyTheirEndAtTheFirstStep) {
    CNodeBasement* moved = makeNode(nullptr, 8001, vector3df(1, 1, 0));
    CNodeBasement* looped = makeNode(nullptr, 8001, vector3df(1, 1, 0));
    CNodeBasement* sized = makeNode(nullptr, 8001, vector3df(), irr::core::dimension2df(2, 2));
    attachAnimator(moved,
                   new CMoveAnimator(CMoveAnimator::kMoveByOffset, vector3df(5, 0, 0), 0, false));
    attachAnimator(looped,
                   new CMoveAnimator(CMoveAnimator::kMoveFromTo, vector3df(3, 3, 3), 0, true));
    attachAnimator(sized, new CSizeAnimator(2, 2, 0, 6, 4));
    frameAt(kStart);

    EXPECT_EQ(moved->getPosition(), vector3df(6, 1, 0));
    EXPECT_EQ(looped->getPosition(), vector3df(3, 3, 3));
    EXPECT_EQ(sized->getSize(), irr::core::dimension2df(6, 4));
    EXPECT_TRUE(moved->getAnimators().empty());
    EXPECT_TRUE(looped->getAnimators().empty());
    EXPECT_TRUE(sized->getAnimators().empty());
}

TEST_F(MotionAnimators, SizeGrowsLinearlyAndEndsExactlyAtItsTarget) {
    CNodeBasement* node = makeNode(nullptr, 8001, vector3df(), irr::core::dimension2df(2, 1));
    attachAnimator(node, new CSizeAnimator(2, 1, 300, 8, 4));
    frameAt(kStart);
    EXPECT_EQ(node->getSize(), irr::core::dimension2df(2, 1));
    frameAt(kStart + 100);
    EXPECT_NEAR(node->getSize().Width, 4, 1e-4f);
    EXPECT_NEAR(node->getSize().Height, 2, 1e-4f);
    frameAt(kStart + 290);
    frameAt(kStart + 400);
    EXPECT_EQ(node->getSize(), irr::core::dimension2df(8, 4));
    EXPECT_TRUE(node->getAnimators().empty());
}

TEST_F(MotionAnimators, RotationTurnsSpritesBySpeedPer100MsAndIgnoresTinySpeeds) {
    irr::scene::ISceneNode* root = scene->getRootSceneNode();
    CSpriteNode* turning = new CSpriteNode(root, scene, 8001, vector3df(), {1, 1});
    CSpriteNode* still = new CSpriteNode(root, scene, 8001, vector3df(), {1, 1});
    turning->drop();
    still->drop();
    attachAnimatorEveryFrame(turning, new CRotationAnimator(0, -0.5f));
    attachAnimatorEveryFrame(still, new CRotationAnimator(0, 0.0005f));
    framesFromTo(kStart, kStart + 1000, 20);

    EXPECT_NEAR(turning->getFlatRotation(), -5.0f, 1e-4f);
    EXPECT_EQ(still->getFlatRotation(), 0.0f);
    frameAt(kStart + 60000);
    EXPECT_EQ(turning->getAnimators().size(), 1u);
}

TEST_F(FadeAnimators, FadeEndsExactlyAtItsTargetAfterItsDuration) {
    CNodeBasement* node = makeNode();
    attachAnimator(node, new CAlphaFadeAnimator(1000, 1.0f, 0.25f));
    frameAt(kStart + 400);
    EXPECT_NEAR(node->getAlpha(), 0.7f, 1e-5f);
    frameAt(kStart + 1400);
    EXPECT_EQ(node->getAlpha(), 0.25f);
    EXPECT_TRUE(node->getAnimators().empty());
}

TEST_F(FadeAnimators, NegativeEndsTakeTheNodeValue) {
    CNodeBasement* fadeIn = makeNode();
    CNodeBasement* fadeOut = makeNode();
    fadeIn->setAlpha(0.6f);
    fadeOut->setAlpha(0.8f);
    attachAnimator(fadeIn, new CAlphaFadeAnimator(100, 0.9f, -1));
    attachAnimator(fadeOut, new CAlphaFadeAnimator(100, -1, 0));
    EXPECT_EQ(fadeIn->getAlpha(), 0.0f);
    EXPECT_EQ(fadeOut->getAlpha(), 0.8f);
    frameAt(kStart + 50);
    EXPECT_NEAR(fadeIn->getAlpha(), 0.3f, 1e-5f);
    EXPECT_NEAR(fadeOut->getAlpha(), 0.4f, 1e-5f);
    frameAt(kStart + 150);
    EXPECT_EQ(fadeIn->getAlpha(), 0.6f);
    EXPECT_EQ(fadeOut->getAlpha(), 0.0f);
}

TEST_F(FadeAnimators, FadeValueReachesTheSubtreeAndClampsToTheUnitRange) {
    CNodeBasement* node = makeNode();
    CNodeBasement* child = makeNode(node);
    attachAnimator(node, new CFadeValueAnimator(200, 1.5f, 0.5f));
    frameAt(kStart + 50);
    EXPECT_EQ(child->getAlphaFactor(), 1.0f);
    frameAt(kStart + 150);
    EXPECT_NEAR(child->getAlphaFactor(), 0.75f, 1e-5f);
    EXPECT_EQ(node->getAlpha(), 1.0f);
}

TEST_F(FadeAnimators, ANewFadeReplacesTheRunningOneOfEitherKind) {
    CNodeBasement* node = makeNode();
    CBaseAnimator* factorFade = attachAnimator(node, new CFadeValueAnimator(1000, 1, 0));
    EXPECT_STREQ(factorFade->getName(), "ALPH01");
    EXPECT_EQ(node->findAnimator("ALPH01", false), factorFade);
    frameAt(kStart + 100);

    CBaseAnimator* alphaFade = attachAnimator(node, new CAlphaFadeAnimator(1000, 1, 0.5f));
    EXPECT_TRUE(factorFade->isRemoved());
    EXPECT_EQ(node->findAnimator("ALPH01", false), alphaFade);
    float factor = node->getAlphaFactor();
    frameAt(kStart + 600);
    EXPECT_EQ(node->getAnimators().size(), 1u);
    EXPECT_EQ(node->getAlphaFactor(), factor);
    EXPECT_NEAR(node->getAlpha(), 0.75f, 1e-5f);
}

TEST_F(FadeAnimators, FadeWithoutDurationSetsItsTargetAtTheFirstStep) {
    CNodeBasement* node = makeNode();
    attachAnimator(node, new CAlphaFadeAnimator(0, 1, 0.4f));
    frameAt(kStart);
    EXPECT_EQ(node->getAlpha(), 0.4f);
    EXPECT_TRUE(node->getAnimators().empty());
}

} // namespace
