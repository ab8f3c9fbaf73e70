#include "animator_fixture.h"

#include "animators/alifetimeanimators.h"

namespace {

using LifetimeAnimators = AnimatorTest;

// Holds a node across its deletion so the test can see when it leaves the scene.
class WatchedNode {
public:
    explicit WatchedNode(CNodeBasement* node) : node(node) { node->grab(); }
    ~WatchedNode() { node->drop(); }
    bool inScene() const { return node->getParent() != nullptr; }
    CNodeBasement* operator->() const { return node; }
    CNodeBasement* get() const { return node; }

private:
    CNodeBasement* node;
};

TEST_F(LifetimeAnimators, SelfDestructionWaitsThenFadesTheSubtreeAndGoesBelowATenth) {
    WatchedNode node(makeNode());
    CNodeBasement* child = makeNode(node.get());
    node->setAlphaFactor(0.8f);
    CBaseAnimator* animator = attachAnimator(node.get(), new CSelfDestructAnimator(3000, 1000));
    EXPECT_STREQ(animator->getName(), "SELDES");

    framesFromTo(kStart, kStart + 2000, 50);
    EXPECT_EQ(child->getAlphaFactor(), 0.8f);
    frameAt(kStart + 2500);
    EXPECT_NEAR(child->getAlphaFactor(), 0.4f, 1e-5f);
    framesFromTo(kStart + 2550, kStart + 2850, 50);
    EXPECT_TRUE(node.inScene());
    frameAt(kStart + 2910);
    EXPECT_FALSE(node.inScene());
    EXPECT_TRUE(node->getAnimators().empty());
}

TEST_F(LifetimeAnimators, SelfDestructionWithoutFadeGoesAtTheFirstTickAfterItsDelay) {
    WatchedNode node(makeNode());
    attachAnimator(node.get(), new CSelfDestructAnimator(3000, 0));
    framesFromTo(kStart, kStart + 3000, 50);
    EXPECT_TRUE(node.inScene());
    EXPECT_EQ(node->getAlphaFactor(), 1.0f);
    frameAt(kStart + 3050);
    EXPECT_FALSE(node.inScene());
}

TEST_F(LifetimeAnimators, HiddenTargetShowsAgainWhenTheHidingNodeGoes) {
    CNodeBasement* parent = makeNode(nullptr, 77);
    CNodeBasement* first = makeNode(parent);
    CNodeBasement* second = makeNode(parent);
    attachAnimator(first, new CHideParentAnimator(77));
    attachAnimatorEveryFrame(second, new CHideParentAnimator(77));
    EXPECT_EQ(parent->getHideCount(), 2);
    EXPECT_EQ(parent->getEffectiveAlpha(), 0);

    deleteNode(first);
    frameAt(kStart);
    EXPECT_EQ(parent->getHideCount(), 1);
    deleteNode(second);
    frameAt(kStart + 10);
    EXPECT_EQ(parent->getHideCount(), 0);
    EXPECT_EQ(parent->getEffectiveAlpha(), 255);
}

TEST_F(LifetimeAnimators, HiddenTargetIsLeftAloneDuringTearDown) {
    CNodeBasement* target = makeNode(nullptr, 78);
    CNodeBasement* hider = makeNode();
    attachAnimator(hider, new CHideParentAnimator(78));
    getEngine().setStage(STAGE_EXITING);
    deleteNode(hider);
    frameAt(kStart);
    getEngine().setStage(STAGE_CREATED);
    EXPECT_EQ(target->getHideCount(), 1);
}

TEST_F(LifetimeAnimators, HidingANodeThatDoesNotExistIsFatal) {
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            attachAnimator(makeNode(), new CHideParentAnimator(4321));
        },
        testing::ExitedWithCode(1), "InvalidVisibi node supply!");
}

TEST_F(LifetimeAnimators, CounterAndListFollowTheLiveNodesInCreationOrder) {
    std::atomic<int> count{0};
    std::vector<irr::scene::ISceneNode*> list;
    CNodeBasement* first = makeNode();
    CNodeBasement* second = makeNode();
    for (CNodeBasement* warning : {first, second}) {
        attachAnimator(warning, new CCounterHolder(&count));
        attachAnimator(warning, new CListMembership(&list));
    }
    EXPECT_EQ(count.load(), 2);
    EXPECT_EQ(list, (std::vector<irr::scene::ISceneNode*>{first, second}));

    deleteNode(first);
    frameAt(kStart);
    EXPECT_EQ(count.load(), 1);
    EXPECT_EQ(list, (std::vector<irr::scene::ISceneNode*>{second}));

    // The second node goes too before the test's counter and list do: the scene's tear-down
    // would otherwise release them after they are gone.
    deleteNode(second);
    frameAt(kStart + 25);
    EXPECT_EQ(count.load(), 0);
    EXPECT_TRUE(list.empty());
}

TEST_F(LifetimeAnimators, CounterAndListAreReleasedOnceWhenTheirAnimatorsAreRemoved) {
    std::atomic<int> count{0};
    std::vector<irr::scene::ISceneNode*> list;
    CNodeBasement* node = makeNode();
    CBaseAnimator* holder = attachAnimator(node, new CCounterHolder(&count));
    CBaseAnimator* member = attachAnimator(node, new CListMembership(&list));
    EXPECT_EQ(holder->getInterval(), CBaseAnimator::kDormantInterval);
    holder->removeThisAnimator();
    member->removeThisAnimator();
    EXPECT_EQ(count.load(), 0);
    EXPECT_TRUE(list.empty());
    frameAt(kStart);
    EXPECT_EQ(count.load(), 0);
    EXPECT_TRUE(node->getAnimators().empty());
}

} // namespace
