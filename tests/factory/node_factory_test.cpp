#include "core/game_client.h"
#include "core/vellumengine.h"
#include "factory/factory_scene.h"
#include "platform/message_box.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_sprite.h"
#include "scene/node_text.h"
#include "scene/node_utilities.h"
#include "scene/sprite_description.h"
#include "support/message_box_recorder.h"
#include "support/test_game.h"
#include "utils/debug.h"

#include <gtest/gtest.h>

namespace {

// A description that counts the descriptions alive.
class CountedDescription : public SpriteDescription {
public:
    explicit CountedDescription(int& alive) : alive(alive) { ++alive; }
    ~CountedDescription() override { --alive; }

private:
    int& alive;
};

// Counts the descriptions the factory asks for and the node effects it hands over.
class FactoryGame : public TestGame {
public:
    int descriptionsMade = 0;
    int descriptionsAlive = 0;
    std::string effects;

    SpriteDescription* createSpriteDescription() override {
        ++descriptionsMade;
        return new CountedDescription(descriptionsAlive);
    }
    void nodeEffectHook(irr::scene::ISceneNode*, const std::string& text,
                        bool atCreation) override {
        effects += text + (atCreation ? "@create " : "@destroy ");
    }
};

class NodeFactory : public FactoryScene<FactoryGame> {
protected:
    void SetUp() override {
        program.copyTestImage("orange_16.png", "gui/orange.png");
        program.copyTestImage("grey_16.png", "gui/parts/grey.png");
        FactoryScene::SetUp();
    }

    CNodeBasement* create(const std::string& source, irr::scene::ISceneNode* parent = nullptr,
                          const SpriteCreationParams* params = nullptr) {
        return createSprite(source, 1, 1, irr::core::vector3df(1, 2, 3), parent, params, "test:1");
    }

    size_t childCount(irr::scene::ISceneNode* node) { return node->getChildren().size(); }
};

} // namespace

TEST_F(NodeFactory, DescriptionFilesAreParsedOnceUnlessTheyHoldMacros) {
    program.writeData("gui/plain.spr", "-Texture:orange.png\n-Size:w2 h3\n");
    program.writeData("gui/macro.spr", "-Texture:orange.png\n-Size:w${w} h1\n");
    CNodeBasement* first = create("gui\\plain.spr");
    CNodeBasement* second = create("gui\\plain.spr");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(game->descriptionsMade, 1);
    EXPECT_EQ(first->getSize(), irr::core::dimension2df(2, 3));

    CNodeBasement* wide = create("gui\\macro.spr?w=5");
    CNodeBasement* narrow = create("gui\\macro.spr?w=2");
    EXPECT_EQ(game->descriptionsMade, 3);
    EXPECT_FLOAT_EQ(wide->getSize().Width, 5);
    EXPECT_FLOAT_EQ(narrow->getSize().Width, 2);

    clearDescriptionCache();
    create("gui\\plain.spr");
    EXPECT_EQ(game->descriptionsMade, 4);
}

TEST_F(NodeFactory, ImageSourceIsTexturedButGetsNoDescriptionEffects) {
    CNodeBasement* node = create("gui\\orange.png");
    ASSERT_NE(node, nullptr);
    CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(node);
    ASSERT_NE(sprite, nullptr);
    EXPECT_STREQ(sprite->getName(), "Spr1F41_orange.png");
    EXPECT_NE(sprite->getMaterial(0).getTexture(0), nullptr);
    EXPECT_EQ(sprite->getRenderOrder(), 4);
    EXPECT_EQ(sprite->getID(), 8001);
    EXPECT_EQ(sprite->getPosition(), irr::core::vector3df(1, 2, 3));
    EXPECT_FALSE(sprite->getMaterial(0).Lighting);
    EXPECT_EQ(sprite->getMaterial(0).MaterialType, getEngine().getRenderer().getMaterialType(0));
}

TEST_F(NodeFactory, DescriptionKeysReachTheNode) {
    program.writeData("gui/keys.spr", "-Texture:orange.png\n-Name:keyed\n-Position:x1 y1 z1\n"
                                      "-Alpha:0.5\n-Tint:FF102030\n-RenderOrder:1\n"
                                      "-Animation.OnCreate:fadein\n-Animation.OnDestroy:boom\n");
    CNodeBasement* node = create("gui\\keys.spr");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(getNodeByName("keyed"), node);
    EXPECT_EQ(node->getPosition(), irr::core::vector3df(2, 3, 4));
    EXPECT_FLOAT_EQ(node->getAlpha(), 0.5f);
    EXPECT_EQ(node->getTint(), 0xFF102030u);
    EXPECT_EQ(node->getRenderOrder(), 6);
    EXPECT_EQ(game->effects, "fadein@create ");
    EXPECT_EQ(node->getOnDestroyText(), "boom");
}

TEST_F(NodeFactory, ClonesAreMadeOnceAndDoNotCloneAgain) {
    program.writeData("gui/clones.spr", "-Texture:orange.png\n-MakeClones:3\n");
    CNodeBasement* holder = createEmptyNode(nullptr, 0, irr::core::vector3df(0, 0, 0));
    create("gui\\clones.spr", holder);
    EXPECT_EQ(childCount(holder), 4u);
}

TEST_F(NodeFactory, AClonesCountBeyondTheLimitMakesTheLimitWithAWarning) {
    MessageBoxRecorder boxes;
    program.writeData("gui/many.spr", "-Texture:orange.png\n-MakeClones:99999999\n");
    CNodeBasement* holder = createEmptyNode(nullptr, 0, irr::core::vector3df(0, 0, 0));
    create("gui\\many.spr", holder);
    EXPECT_EQ(childCount(holder), static_cast<size_t>(kMaxSpriteClones) + 1);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.sawText("'-MakeClones:' in gui\\many.spr asks for 99999999 clones"));
}

TEST_F(NodeFactory, SubSpritesGoBesideOrUnderTheSprite) {
    program.writeData("gui/parts.spr", "-Texture:orange.png\n-Size:w4 h2\n"
                                       "[Sprite]\n-Texture:parts\\grey.png\n-Name:beside\n"
                                       "[Sprite]\n-Texture:parts\\grey.png\n-Name:under\n"
                                       "-AsChild:1\n-Size:w0.5 h0.5\n");
    CNodeBasement* holder = createEmptyNode(nullptr, 0, irr::core::vector3df(0, 0, 0));
    CNodeBasement* sprite = create("gui\\parts.spr", holder);
    CNodeBasement* beside = getNodeByName("beside");
    CNodeBasement* under = getNodeByName("under");
    ASSERT_NE(beside, nullptr);
    ASSERT_NE(under, nullptr);
    EXPECT_EQ(beside->getParent(), holder);
    EXPECT_EQ(beside->getPosition(), irr::core::vector3df(1, 2, 3));
    EXPECT_EQ(beside->getSize(), irr::core::dimension2df(1, 1));
    EXPECT_EQ(under->getParent(), sprite);
    EXPECT_EQ(under->getPosition(), irr::core::vector3df(0, 0, 0));
    EXPECT_EQ(under->getSize(), irr::core::dimension2df(2, 1));
}

TEST_F(NodeFactory, SubSpritesBecomeChildrenWhenTheCallerAsks) {
    program.writeData("gui/parts.spr", "-Texture:orange.png\n[Sprite]\n-Texture:orange.png\n"
                                       "-Name:child\n");
    SpriteCreationParams params;
    params.SubSpritesAsChildren = 1;
    CNodeBasement* sprite = create("gui\\parts.spr", nullptr, &params);
    ASSERT_NE(getNodeByName("child"), nullptr);
    EXPECT_EQ(getNodeByName("child")->getParent(), sprite);
    params.NoSubSprites = 1;
    CNodeBasement* alone = create("gui\\parts.spr", nullptr, &params);
    EXPECT_EQ(childCount(alone), 0u);
}

TEST_F(NodeFactory, NestedDescriptionResolvesAgainstItsOwnFolder) {
    program.writeData("gui/outer.spr", "-Texture:parts\\inner.spr\n-Name:outer\n-Size:w2 h2\n");
    program.writeData("gui/parts/inner.spr", "-Texture:grey.png\n-Size:w3 h1\n");
    CNodeBasement* node = create("gui\\outer.spr");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(getNodeByName("outer"), node);
    EXPECT_EQ(node->getSize(), irr::core::dimension2df(6, 2));
    EXPECT_NE(std::string(node->getName()).find("grey.png"), std::string::npos);
}

TEST_F(NodeFactory, DescriptionsNamingEachOtherStopWithABoxInsteadOfNestingForever) {
    MessageBoxRecorder boxes;
    program.writeData("gui/ping.spr", "-Texture:pong.spr\n-Name:ping\n");
    program.writeData("gui/pong.spr", "-Texture:ping.spr\n");
    create("gui\\ping.spr");
    EXPECT_TRUE(boxes.sawText("Sprite descriptions nest too deep")) << boxes.boxes().size();

    // The limit is per chain: a sane nested description still makes its sprite afterwards.
    program.writeData("gui/outer.spr", "-Texture:parts\\inner.spr\n-Name:outer2\n");
    program.writeData("gui/parts/inner.spr", "-Texture:grey.png\n");
    EXPECT_NE(create("gui\\outer.spr"), nullptr);
}

TEST_F(NodeFactory, TextSpriteMakesATextNodeAndReturnsNothing) {
    std::string shown;
    setTextNodeCreator([&](const std::string& text, const irr::core::vector3df&,
                           irr::scene::ISceneNode*, int) -> CNodeBasement* {
        shown = text;
        return nullptr;
    });
    program.writeData("gui/hello.spr", "-Text:?Hello\n");
    EXPECT_EQ(create("gui\\hello.spr"), nullptr);
    setTextNodeCreator(makeTextNode);
    EXPECT_EQ(shown, "Hello");
}

TEST_F(NodeFactory, InlineDescriptionsAndNamedParents) {
    CNodeBasement* holder = createEmptyNode(nullptr, 0, irr::core::vector3df(0, 0, 0));
    setNodeName(holder, "holder");
    CNodeBasement* node = create("raw:\\-Texture:\\gui\\orange.png\n-Parent:holder\n");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getParent(), holder);
}

TEST_F(NodeFactory, UnknownParentNameIsFatal) {
    EXPECT_EXIT(
        {
            MessageBoxRecorder boxes;
            create("raw:\\-Texture:\\gui\\orange.png\n-Parent:nobody-knows\n");
        },
        testing::ExitedWithCode(1), "");
}

TEST_F(NodeFactory, MissingTextureIsFatal) {
    EXPECT_EXIT(
        {
            setMessageBoxHook([](const std::string& text, const std::string&, int) {
                fprintf(stderr, "box: %s\n", text.c_str());
                return 1;
            });
            program.writeData("gui/none.spr", "-Size:w1 h1\n");
            create("gui\\none.spr");
        },
        testing::ExitedWithCode(1), "box: ERROR: Failed to load");
}

TEST_F(NodeFactory, AFatalReportUnwindingOutOfCreationLeavesNoReferenceBehind) {
    // A host that goes on after a fatal report (the fuzz host) unwinds through the factory.
    struct Refused {};
    setFatalErrorHandler([](const std::string&) { throw Refused(); });
    MessageBoxRecorder boxes;
    program.writeData("gui/orphan.spr", "-Texture:orange.png\n-Parent:nobody_has_this_name\n");
    program.writeData("gui/missing.spr", "-Texture:missing.png\n");
    CNodeBasement* holder = createEmptyNode(nullptr, 0, irr::core::vector3df(0, 0, 0));
    EXPECT_THROW(create("gui\\orphan.spr", holder), Refused);
    EXPECT_THROW(create("gui\\missing.spr", holder), Refused);
    setFatalErrorHandler(nullptr);
    ASSERT_EQ(childCount(holder), 1u);
    EXPECT_EQ((*holder->getChildren().begin())->getReferenceCount(), 1)
        << "only the parent holds the sprite whose texture failed";
    clearDescriptionCache();
    EXPECT_EQ(game->descriptionsAlive, 0);
}

TEST_F(NodeFactory, EmptyNodesAreHiddenGroupingNodes) {
    CNodeBasement* group = createEmptyNode(nullptr, 1500, irr::core::vector3df(4, 5, 6));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->getID(), 1500);
    EXPECT_EQ(group->getHideCount(), 1);
    EXPECT_FLOAT_EQ(group->getAlpha(), 0);
    EXPECT_EQ(group->getEffectiveAlpha(), 0);
    EXPECT_EQ(getNodeById(1500), group);
}

TEST(FrameLayouts, GridsAndSingleRows) {
    FrameLayout strip = parseFrameLayout("8x2");
    EXPECT_EQ(strip.columns, 8);
    EXPECT_EQ(strip.rows, 2);
    ASSERT_EQ(strip.frames.size(), 16u);
    EXPECT_EQ(strip.frames[9], irr::core::vector2di(1, 1));
    FrameLayout row = parseFrameLayout("4-2/3");
    EXPECT_EQ(row.columns, 4);
    EXPECT_EQ(row.rows, 3);
    ASSERT_EQ(row.frames.size(), 4u);
    EXPECT_EQ(row.frames[0], irr::core::vector2di(0, 1));
    EXPECT_EQ(row.frames[3], irr::core::vector2di(3, 1));
}
