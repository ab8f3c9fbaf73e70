#include "render_fixture.h"
#include "support/test_game.h"

#include "core/game_client.h"
#include "scene/node_utilities.h"

namespace {

using irr::core::vector3df;
using RenderFrame = RenderTest;
using RenderBatching = RenderTest;
using RenderDeletion = RenderTest;

bool hasChild(irr::scene::ISceneNode* parent, irr::scene::ISceneNode* node) {
    for (irr::scene::ISceneNode* child : parent->getChildren()) {
        if (child == node) {
            return true;
        }
    }
    return false;
}

TEST_F(RenderFrame, PassesAreDrawnDefaultThenFiveSixSeventeenWhateverTheirDepth) {
    std::vector<std::string> log;
    const std::pair<const char*, int> nodes[] = {
        {"order17", 17}, {"order6", 6}, {"order5", 5}, {"order4", 4}, {"order0", 0}};
    float z = 10;
    for (const auto& [label, order] : nodes) {
        LoggingNode* node = new LoggingNode(scene->root(), label, log, vector3df(0, 0, z));
        node->setRenderOrder(order);
        z -= 5;
    }
    drawFrame();
    // order4 (z 0) is farther than order0 (z -5): both are in the default pass.
    EXPECT_EQ(log, (std::vector<std::string>{"order4", "order0", "order5", "order6", "order17"}));
    for (int pass = 0; pass < CRenderModule::PassCount; ++pass) {
        EXPECT_EQ(renderer().registeredNodes(pass), 0u) << "emptied after the frame";
    }
}

TEST_F(RenderFrame, WithinAPassFartherNodesComeFirstThenTheSmallerFlatDepth) {
    std::vector<std::string> log;
    new LoggingNode(scene->root(), "z1", log, vector3df(0, 0, 1));
    new LoggingNode(scene->root(), "z25", log, vector3df(0, 0, 25));
    LoggingNode* depth5 = new LoggingNode(scene->root(), "depth5", log, vector3df(0, 0, 2));
    LoggingNode* depth2 = new LoggingNode(scene->root(), "depth2", log, vector3df(0, 0, 2));
    new LoggingNode(scene->root(), "z22", log, vector3df(0, 0, 22));
    depth5->setLocalDepth(5);
    depth2->setLocalDepth(2);
    drawFrame();
    EXPECT_EQ(log, (std::vector<std::string>{"z25", "z22", "depth2", "depth5", "z1"}));
}

TEST_F(RenderFrame, NodesRegisterOnlyWhileAFrameIsDrawn) {
    std::vector<std::string> log;
    LoggingNode* node = new LoggingNode(scene->root(), "node", log);
    node->OnRegisterSceneNode();
    EXPECT_FALSE(renderer().isActive());
    EXPECT_EQ(renderer().registeredNodes(0), 0u);

    // Registered from inside a frame, after the registration pass, they are not drawn in that
    // frame and their records go when the passes are emptied. So many register that the pass's
    // array has to move while it is being drawn, before the nearer node's turn.
    new LoggingNode(scene->root(), "nearer", log, vector3df(0, 0, -1));
    std::vector<LoggingNode*> late;
    for (int i = 0; i < 300; ++i) {
        late.push_back(new LoggingNode(scene->root(), "late", log));
        late.back()->setVisible(false);
    }
    node->onRender = [&] {
        EXPECT_TRUE(renderer().isActive());
        for (LoggingNode* lateNode : late) {
            lateNode->setVisible(true);
            lateNode->OnRegisterSceneNode();
        }
        node->onRender = nullptr;
    };
    drawFrame();
    EXPECT_EQ(log, (std::vector<std::string>{"node", "nearer"}));
    EXPECT_EQ(renderer().registeredNodes(0), 0u);
}

TEST_F(RenderBatching, SpritesOfOneTextureAtOneDepthShareADrawCall) {
    irr::video::ITexture* texture = makeTexture("shared");
    for (int i = 0; i < 3; ++i) {
        makeSprite(texture, vector3df(float(i), 0, 1));
    }
    drawFrame();
    EXPECT_EQ(renderer().switchCount(), 1);
    EXPECT_EQ(renderer().trigCount(), 12);
}

TEST_F(RenderBatching, AnotherTextureInBetweenIsSortedAwayUnlessItLiesBetweenInDepth) {
    irr::video::ITexture* first = makeTexture("first");
    irr::video::ITexture* second = makeTexture("second");
    irr::scene::ISceneNode* level = scene->scene()->addEmptySceneNode();
    makeSprite(first, vector3df(0, 0, 1), level);
    makeSprite(second, vector3df(1, 0, 1), level);
    makeSprite(first, vector3df(2, 0, 1), level);
    makeSprite(second, vector3df(3, 0, 1), level);
    drawFrame();
    EXPECT_EQ(renderer().switchCount(), 2);
    EXPECT_EQ(renderer().trigCount(), 16);

    // Between them in depth, the other texture must be drawn between them.
    level->remove();
    makeSprite(first, vector3df(0, 0, 3));
    makeSprite(second, vector3df(0, 0, 2));
    makeSprite(first, vector3df(0, 0, 1));
    drawFrame();
    EXPECT_EQ(renderer().switchCount(), 3);
}

TEST_F(RenderBatching, FrameWithoutTexturedQuadsMakesNoDrawCall) {
    std::vector<std::string> log;
    new LoggingNode(scene->root(), "plain", log);
    makeSprite(nullptr, vector3df(0, 0, 0));
    drawFrame();
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(renderer().switchCount(), 0);
    EXPECT_EQ(renderer().trigCount(), 0);
    EXPECT_EQ(renderer().switchList(), "");
}

TEST_F(RenderBatching, InvisibleSpriteAndOneBelowItsThresholdAddNothing) {
    irr::video::ITexture* texture = makeTexture("t");
    CSpriteNode* faint = makeSprite(texture, vector3df(0, 0, 1));
    faint->setAlpha(0.04f);
    makeSprite(texture, vector3df(0, 0, 1), faint);
    makeSprite(texture, vector3df(0, 0, 1))->setHideCount(1);
    drawFrame();
    EXPECT_EQ(renderer().switchCount(), 1);
    EXPECT_EQ(renderer().trigCount(), 4) << "only the faint sprite's child";
}

// An animator that queues its node for deletion at its first step.
class DeletingAnimator : public irr::scene::ISceneNodeAnimator {
public:
    void animateNode(irr::scene::ISceneNode* node, irr::u32) override { deleteNode(node); }
    irr::scene::ISceneNodeAnimator* createClone(irr::scene::ISceneNode*,
                                                irr::scene::ISceneManager*) override {
        return nullptr;
    }
};

TEST_F(RenderDeletion, NodeDeletedDuringAFrameIsDrawnAndGoneAfterTheDrawing) {
    std::vector<std::string> log;
    LoggingNode* animated = new LoggingNode(scene->root(), "animated", log, vector3df(0, 0, 2));
    DeletingAnimator* animator = new DeletingAnimator;
    animated->addAnimator(animator);
    animator->drop();
    LoggingNode* first = new LoggingNode(scene->root(), "first", log, vector3df(0, 0, 1));
    LoggingNode* second = new LoggingNode(scene->root(), "second", log, vector3df(0, 0, 0));
    first->onRender = [&] {
        deleteNode(second);
        EXPECT_TRUE(hasChild(scene->root(), second));
    };
    drawFrame();
    EXPECT_EQ(log, (std::vector<std::string>{"animated", "first", "second"}));
    EXPECT_FALSE(hasChild(scene->root(), animated));
    EXPECT_FALSE(hasChild(scene->root(), second));
    EXPECT_TRUE(hasChild(scene->root(), first));
    EXPECT_EQ(renderer().queuedDeletions(), 0u);
}

// A game that records the node hook's calls.
class HookRecordingGame : public TestGame {
public:
    void nodeEffectHook(irr::scene::ISceneNode* node, const std::string& text,
                        bool atCreation) override {
        calls.push_back({node, text, atCreation});
    }

    struct Call {
        irr::scene::ISceneNode* node;
        std::string text;
        bool atCreation;
    };
    std::vector<Call> calls;
};

TEST_F(RenderDeletion, NodeWithAnOnDestroyTextGoesToTheGameHookOnceThenAway) {
    HookRecordingGame* game = new HookRecordingGame;
    getEngine().setClient(game);
    game->drop();
    std::vector<std::string> log;
    LoggingNode* node = new LoggingNode(scene->root(), "exploding", log);
    node->setOnDestroyText("explode(3)");
    deleteNode(node);
    drawFrame();
    ASSERT_EQ(game->calls.size(), 1u);
    EXPECT_EQ(game->calls[0].node, node);
    EXPECT_EQ(game->calls[0].text, "explode(3)");
    EXPECT_FALSE(game->calls[0].atCreation);
    EXPECT_EQ(node->getOnDestroyText(), "");
    EXPECT_TRUE(hasChild(scene->root(), node));

    deleteNode(node);
    drawFrame();
    EXPECT_EQ(game->calls.size(), 1u);
    EXPECT_FALSE(hasChild(scene->root(), node));
    getEngine().setClient(nullptr);
}

TEST_F(RenderDeletion, ReleasingTheListsDrainsTheQueue) {
    std::vector<std::string> log;
    LoggingNode* node = new LoggingNode(scene->root(), "left", log);
    deleteNode(node);
    renderer().releaseLists();
    EXPECT_FALSE(hasChild(scene->root(), node));
    EXPECT_EQ(renderer().queuedDeletions(), 0u);
}

} // namespace
