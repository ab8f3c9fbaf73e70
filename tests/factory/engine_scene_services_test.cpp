#include "core/vellumengine.h"
#include "factory/factory_scene.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace {

// The engine with a NULL device, its root node and driven time, as the frame loop has them.
class EngineServices : public FactoryScene<TestGame> {
protected:
    void SetUp() override {
        program.copyTestImage("orange_16.png", "gui/sky.png");
        program.copyTestImage("grey_16.png", "gui/sea.png");
        FactoryScene::SetUp();
        getEngine().rootNode() =
            createEmptyNode(nullptr, nameToId("pole"), irr::core::vector3df(0, 0, 0));
    }
    void TearDown() override {
        getEngine().rootNode() = nullptr;
        FactoryScene::TearDown();
    }

    // Advances the driven clock and draws one frame (animators step, the queue drains).
    void frameAt(irr::u32 timeMs) {
        device->getTimer()->setTime(timeMs);
        getEngine().getRenderer().renderAll();
    }
};

} // namespace

TEST_F(EngineServices, PauseAtRunningStageShowsTheFaderAndResumingFadesItOut) {
    CVellumEngine& engine = getEngine();
    engine.setStage(STAGE_RUNNING);
    frameAt(100);
    ASSERT_EQ(engine.setPauseLevel(2, true), 1);
    ASSERT_NE(engine.pauseFader(), nullptr);
    EXPECT_EQ(getNodeByName("pause_fader"), engine.pauseFader());
    EXPECT_EQ(engine.getPauseLevel(), 2);
    engine.setPauseLevel(2, true);
    EXPECT_EQ(engine.rootNode()->getChildren().size(), 1u);

    ASSERT_EQ(engine.setPauseLevel(2, false), 1);
    EXPECT_EQ(engine.pauseFader(), nullptr);
    EXPECT_EQ(engine.getPauseLevel(), 1);
    for (irr::u32 t = 200; t <= 2000 && getNodeByName("pause_fader"); t += 50) {
        frameAt(t);
    }
    EXPECT_EQ(getNodeByName("pause_fader"), nullptr);
    EXPECT_EQ(engine.getPauseLevel(), 0);
    engine.setStage(STAGE_CREATED);
}

TEST_F(EngineServices, BackgroundIsShownOnceAndReplacedOnlyByAnotherImage) {
    CVellumEngine& engine = getEngine();
    EXPECT_EQ(engine.setBackground("gui\\missing.png", false), 0);
    EXPECT_EQ(engine.backgroundNode(), nullptr);

    ASSERT_EQ(engine.setBackground("gui\\sky.png", false), 1);
    irr::scene::ISceneNode* sky = engine.backgroundNode();
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->getPosition(), irr::core::vector3df(0, 0, 20.55f));

    // The same name again does nothing, even when the node went away meanwhile.
    deleteNode(sky);
    frameAt(10);
    EXPECT_EQ(engine.setBackground("gui\\sky.png", false), 1);
    EXPECT_EQ(engine.rootNode()->getChildren().size(), 0u);

    ASSERT_EQ(engine.setBackground("gui\\sea.png", true), 1);
    CNodeBasement* sea = asEngineNode(engine.backgroundNode());
    ASSERT_NE(sea, nullptr);
    EXPECT_FLOAT_EQ(sea->getAlpha(), 0);
    for (irr::u32 t = 20; t <= 2500; t += 50) {
        frameAt(t);
    }
    EXPECT_FLOAT_EQ(sea->getAlpha(), 1.0f);
}

TEST_F(EngineServices, ClosingADialogDeletesItsNodeAfterTheFrame) {
    CVellumEngine& engine = getEngine();
    CNodeBasement* dialog =
        createEmptyNode(engine.rootNode(), nameToId("options"), irr::core::vector3df(0, 0, 0));
    EXPECT_FALSE(engine.closeDialog("nothing-open", 0));
    EXPECT_TRUE(engine.closeDialog("options", 0));
    EXPECT_EQ(getNodeByName("options"), dialog);
    frameAt(10);
    EXPECT_EQ(getNodeByName("options"), nullptr);
}
