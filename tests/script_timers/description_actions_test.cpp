#include "script_fixture.h"

#include "scene/node_utilities.h"

namespace {

using DescriptionActions = ScriptTest;

const char* const kAllThree = "-Event.Created.Action:bump(\"created\");\n"
                              "-Event.WhileVisible.Action:bump(\"visible\");\n"
                              "-Event.Destroyed.Action:bump(\"destroyed\");\n";

CNodeBasement* spriteWith(const std::string& keys) {
    return createSprite("raw:\\-Texture:\\gui\\orange.png\n" + keys, 1, 1, irr::core::vector3df(),
                        nullptr, nullptr, "test:1");
}

CScriptActionAnimator* actionAnimatorOf(irr::scene::ISceneNode* node) {
    for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
        if (auto* action = dynamic_cast<CScriptActionAnimator*>(animator)) {
            return action;
        }
    }
    return nullptr;
}

TEST_F(DescriptionActions, CreatedRunsOnTheNextFrameWhileVisibleRepeatsDestroyedRunsAtDeletion) {
    CNodeBasement* sprite = spriteWith(kAllThree);
    ASSERT_NE(sprite, nullptr);
    CScriptActionAnimator* actions = actionAnimatorOf(sprite);
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->getInterval(), CBaseAnimator::kDefaultInterval);
    EXPECT_EQ(count("created"), 0);

    frameAt(kStart);
    EXPECT_EQ(count("created"), 1);
    EXPECT_EQ(count("visible"), 1);
    framesFromTo(kStart + 25, kStart + 250, 25);
    EXPECT_EQ(count("created"), 1);
    EXPECT_EQ(count("visible"), 11);

    sprite->setVisible(false);
    framesFromTo(kStart + 275, kStart + 500, 25);
    EXPECT_EQ(count("visible"), 11);
    EXPECT_EQ(count("destroyed"), 0);

    deleteNode(sprite);
    frameAt(kStart + 525);
    EXPECT_EQ(count("destroyed"), 1);
    EXPECT_EQ(count("created"), 1);
}

TEST_F(DescriptionActions, CreatedOnlyActionRunsOnceAndItsAnimatorLeaves) {
    CNodeBasement* sprite = spriteWith("-Event.Created.Action:bump(\"alone\");\n");
    ASSERT_NE(actionAnimatorOf(sprite), nullptr);
    framesFromTo(kStart, kStart + 200, 25);
    EXPECT_EQ(count("alone"), 1);
    EXPECT_EQ(actionAnimatorOf(sprite), nullptr);
}

TEST_F(DescriptionActions, CreatedAndDestroyedActionsSleepBetweenCreationAndDeletion) {
    CNodeBasement* destroyedOnly = spriteWith("-Event.Destroyed.Action:bump(\"gone\");\n");
    CNodeBasement* both = spriteWith("-Event.Created.Action:bump(\"born\");\n"
                                     "-Event.Destroyed.Action:bump(\"gone\");\n");
    ASSERT_NE(actionAnimatorOf(destroyedOnly), nullptr);
    EXPECT_EQ(actionAnimatorOf(destroyedOnly)->getInterval(), CBaseAnimator::kDormantInterval);
    framesFromTo(kStart, kStart + 100, 25);
    EXPECT_EQ(count("born"), 1);
    CScriptActionAnimator* afterCreation = actionAnimatorOf(both);
    ASSERT_NE(afterCreation, nullptr);
    EXPECT_EQ(afterCreation->getInterval(), CBaseAnimator::kDormantInterval);
    EXPECT_EQ(count("gone"), 0);

    deleteNode(destroyedOnly);
    deleteNode(both);
    frameAt(kStart + 125);
    EXPECT_EQ(count("gone"), 2);
}

TEST_F(DescriptionActions, DestroyedActionIsSkippedWhenThePauseLevelMeansExitOrTheEngineExits) {
    CNodeBasement* paused = spriteWith(kAllThree);
    CNodeBasement* exiting = spriteWith(kAllThree);
    CNodeBasement* running = spriteWith(kAllThree);
    frameAt(kStart);

    getEngine().setPauseLevel(99, true);
    deleteNode(paused);
    frameAt(kStart + 25);
    EXPECT_EQ(count("destroyed"), 0);
    getEngine().setPauseLevel(0, true);

    getEngine().setStage(STAGE_EXITING);
    deleteNode(exiting);
    frameAt(kStart + 50);
    EXPECT_EQ(count("destroyed"), 0);
    getEngine().setStage(STAGE_CREATED);

    deleteNode(running);
    frameAt(kStart + 75);
    EXPECT_EQ(count("destroyed"), 1);
}

TEST_F(DescriptionActions, RunNowRunsTheCreatedActionInTheConstructor) {
    auto* animator =
        new CScriptActionAnimator("bump(\"now\");", std::string(), std::string(), true);
    EXPECT_EQ(count("now"), 1);
    attachAnimator(scene->root(), animator);
    framesFromTo(kStart, kStart + 100, 25);
    EXPECT_EQ(count("now"), 1);
}

} // namespace
