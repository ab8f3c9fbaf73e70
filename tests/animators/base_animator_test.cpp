#include "animator_fixture.h"

#include "animators/adelayedattach.h"

namespace {

using BaseAnimator = AnimatorTest;

std::vector<irr::u32> elapsedTimes(const std::vector<Step>& steps) {
    std::vector<irr::u32> times;
    for (const Step& step : steps) {
        times.push_back(step.elapsed);
    }
    return times;
}

TEST_F(BaseAnimator, FirstStepIsDueAtOnceThenEvery25MsWithDeltaIn100MsUnits) {
    std::vector<Step> steps;
    attachAnimator(makeNode(), new RecordingAnimator(steps));
    framesFromTo(kStart, kStart + 60, 5);
    framesFromTo(kStart + 70, kStart + 110, 10);

    EXPECT_EQ(elapsedTimes(steps), (std::vector<irr::u32>{0, 25, 50, 80, 110}));
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_FLOAT_EQ(steps[0].delta, 0.0f);
    EXPECT_FLOAT_EQ(steps[1].delta, 0.25f);
    EXPECT_FLOAT_EQ(steps[3].delta, 0.3f);
}

TEST_F(BaseAnimator, EveryFrameAndDormantAnimatorsFollowTheirInterval) {
    std::vector<Step> everyFrame;
    std::vector<Step> dormant;
    CNodeBasement* node = makeNode();
    EXPECT_EQ(attachAnimatorEveryFrame(node, new RecordingAnimator(everyFrame))->getInterval(), 0u);
    attachAnimatorDormant(node, new RecordingAnimator(dormant));
    framesFromTo(kStart, kStart + 50, 10);

    EXPECT_EQ(elapsedTimes(everyFrame), (std::vector<irr::u32>{0, 10, 20, 30, 40, 50}));
    EXPECT_FLOAT_EQ(everyFrame[1].delta, 0.1f);
    EXPECT_TRUE(dormant.empty());
}

TEST_F(BaseAnimator, HiddenNodesAndDisabledAnimatorsAreNotStepped) {
    std::vector<Step> hidden;
    std::vector<Step> disabled;
    CNodeBasement* hiddenNode = makeNode();
    CNodeBasement* disabledNode = makeNode();
    attachAnimator(hiddenNode, new RecordingAnimator(hidden));
    attachAnimator(disabledNode, new RecordingAnimator(disabled));
    hiddenNode->setVisible(false);
    disabledNode->setAnimatorsEnabled(false);
    framesFromTo(kStart, kStart + 50, 10);

    EXPECT_TRUE(hidden.empty());
    EXPECT_TRUE(disabled.empty());
}

TEST_F(BaseAnimator, FrozenBaseTimerContinuesWhereItStoppedWithADeltaOfZero) {
    std::vector<Step> steps;
    attachAnimatorEveryFrame(makeNode(), new RecordingAnimator(steps))->setBaseTimer(1);
    framesFromTo(kStart, kStart + 100, 20);
    ASSERT_EQ(steps.back().elapsed, 100u);

    game->speeds[1] = 0.0005f;
    size_t beforeFreeze = steps.size();
    framesFromTo(kStart + 120, kStart + 5000, 20);
    EXPECT_EQ(steps.size(), beforeFreeze);

    game->speeds[1] = 1.0f;
    framesFromTo(kStart + 5020, kStart + 5060, 20);
    ASSERT_EQ(steps.size(), beforeFreeze + 3);
    EXPECT_EQ(steps[beforeFreeze].elapsed, 120u);
    EXPECT_FLOAT_EQ(steps[beforeFreeze].delta, 0.0f);
    EXPECT_EQ(steps.back().elapsed, 160u);
    EXPECT_FLOAT_EQ(steps.back().delta, 0.2f);
}

TEST_F(BaseAnimator, HalfSpeedHalvesElapsedTimeAndDropsFractionalMilliseconds) {
    game->speeds[2] = 0.5f;
    std::vector<Step> steps;
    attachAnimatorEveryFrame(makeNode(), new RecordingAnimator(steps))->setBaseTimer(2);
    framesFromTo(kStart, kStart + 60, 15);

    // 7.5 ms of animator time per frame, of which 7 count.
    EXPECT_EQ(elapsedTimes(steps), (std::vector<irr::u32>{0, 7, 14, 21, 28}));
}

TEST_F(BaseAnimator, SettingABaseTimerRestartsTimeAndThrottle) {
    std::vector<Step> steps;
    CNodeBasement* node = makeNode();
    attachAnimator(node, new RecordingAnimator(steps));
    framesFromTo(kStart, kStart + 200, 10);
    setAnimatorsBaseTimer(node, 1);
    steps.clear();
    framesFromTo(kStart + 210, kStart + 260, 10);

    // The device time since the last real-time step carries over into the new time.
    EXPECT_EQ(elapsedTimes(steps), (std::vector<irr::u32>{30, 60}));
}

TEST_F(BaseAnimator, AnimatorRemovedInsideItsStepIsNotSteppedAgainAndGoesAfterTheFrame) {
    std::vector<Step> steps;
    CNodeBasement* node = makeNode();
    CBaseAnimator* animator = attachAnimator(node, new RecordingAnimator(steps, true));
    animator->setName("GONER");
    animator->grab();
    timer->setTime(kStart);
    node->OnAnimate(kStart);

    EXPECT_TRUE(animator->isRemoved());
    EXPECT_TRUE(animator->isFinished());
    EXPECT_STREQ(animator->getName(), "");
    EXPECT_EQ(node->findAnimator("GONER", false), nullptr);
    EXPECT_EQ(node->getAnimators().size(), 1u);
    animator->removeThisAnimator();
    EXPECT_EQ(getEngine().getRenderer().queuedDeletions(), 1u);
    node->OnAnimate(kStart + 100);
    EXPECT_EQ(steps.size(), 1u);

    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_TRUE(node->getAnimators().empty());
    animator->drop();
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart);
}

TEST_F(BaseAnimator, RemovingAnAnimatorWithoutNodeIsFatal) {
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            std::vector<Step> steps;
            (new RecordingAnimator(steps))->removeThisAnimator();
        },
        testing::ExitedWithCode(1), "removeThisAnimator with NULL parent!!!");
}

TEST_F(BaseAnimator, DetachQueuesTheRemovalOfAnAttachedAnimatorOnly) {
    std::vector<Step> steps;
    CNodeBasement* node = makeNode();
    CBaseAnimator* animator = attachAnimator(node, new RecordingAnimator(steps));
    detachAnimator(animator);
    detachAnimator(nullptr);
    frameAt(kStart);

    EXPECT_TRUE(steps.empty());
    EXPECT_TRUE(node->getAnimators().empty());
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart);
}

TEST_F(BaseAnimator, NamesHoldSevenCharactersAndLongerOnesAreReported) {
    std::vector<Step> steps;
    CNodeBasement* node = makeNode();
    CBaseAnimator* animator = attachAnimator(node, new RecordingAnimator(steps));
    animator->setName("ONOVRAN");
    EXPECT_EQ(node->findAnimator("ONOVRAN", false), animator);
    EXPECT_TRUE(boxes.boxes().empty());

    animator->setName("TOOLONGNAME");
    EXPECT_TRUE(boxes.sawText("Wrong animator name!!!"));
    EXPECT_STREQ(animator->getName(), "TOOLONG");
    animator->setName(nullptr);
    EXPECT_STREQ(animator->getName(), "");
}

TEST_F(BaseAnimator, AttachingWithoutNodeReleasesTheAnimatorAndTheNodeOwnsAttachedOnes) {
    std::vector<Step> steps;
    EXPECT_EQ(attachAnimator(nullptr, new RecordingAnimator(steps)), nullptr);
    EXPECT_EQ(attachAnimatorAfter(300, nullptr, new RecordingAnimator(steps)), nullptr);
    EXPECT_EQ(attachAnimator(makeNode(), nullptr), nullptr);
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart);

    CNodeBasement* node = makeNode();
    CBaseAnimator* animator = attachAnimator(node, new RecordingAnimator(steps));
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart + 1);
    EXPECT_EQ(animator->getNode(), node);
    EXPECT_EQ(animator->getReferenceCount(), 1);
    deleteNode(node);
    frameAt(kStart);
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart);
}

TEST_F(BaseAnimator, DelayedAttachStartsTheAnimatorAfterTheDelayWithItsTimeFromZero) {
    std::vector<Step> steps;
    CNodeBasement* node = makeNode();
    attachAnimatorAfter(500, node, new RecordingAnimator(steps));
    framesFromTo(kStart, kStart + 490, 10);
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart + 2);

    framesFromTo(kStart + 500, kStart + 600, 10);
    ASSERT_FALSE(steps.empty());
    // The delaying animator sees the due time within its 25 ms throttle.
    irr::u32 started = steps.front().time - steps.front().elapsed;
    EXPECT_GE(started, kStart + 500);
    EXPECT_LE(started, kStart + 525);
    EXPECT_LE(steps.front().elapsed, 10u);
    EXPECT_EQ(node->getAnimators().size(), 1u);
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart + 1);
}

TEST_F(BaseAnimator, DelayedAnimatorOfADeletedNodeIsReleasedWithoutBeingAttached) {
    std::vector<Step> steps;
    CNodeBasement* node = makeNode();
    attachAnimatorAfter(500, node, new RecordingAnimator(steps));
    frameAt(kStart + 100);
    deleteNode(node);
    frameAt(kStart + 200);
    framesFromTo(kStart + 500, kStart + 600, 10);

    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(CBaseAnimator::liveCount(), liveAtStart);
}

TEST_F(BaseAnimator, DelayedAttachOfZeroAttachesAtOnce) {
    std::vector<Step> steps;
    CNodeBasement* node = makeNode();
    CBaseAnimator* animator = new RecordingAnimator(steps);
    EXPECT_EQ(attachAnimatorAfter(0, node, animator), animator);
    EXPECT_EQ(animator->getNode(), node);
}

} // namespace
