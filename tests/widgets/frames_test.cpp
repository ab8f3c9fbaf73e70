#include "widget_fixture.h"

#include "scene/node_frames.h"

#include <vector>

namespace {

using Frames = WidgetTest;

using irr::core::vector3df;

const float kPi = irr::core::PI;

std::vector<CSpriteNode*> pieces(CNodeBasement* container) {
    std::vector<CSpriteNode*> sprites;
    for (irr::scene::ISceneNode* child : container->getChildren()) {
        sprites.push_back(dynamic_cast<CSpriteNode*>(child));
    }
    return sprites;
}

void expectPiece(CSpriteNode* piece, const vector3df& position, float width, float height,
                 float rotation, int depth) {
    ASSERT_NE(piece, nullptr);
    EXPECT_NEAR(piece->getPosition().X, position.X, 1e-5f);
    EXPECT_NEAR(piece->getPosition().Y, position.Y, 1e-5f);
    EXPECT_NEAR(piece->getPosition().Z, position.Z, 1e-5f);
    EXPECT_NEAR(piece->getSize().Width, width, 1e-5f);
    EXPECT_NEAR(piece->getSize().Height, height, 1e-5f);
    EXPECT_NEAR(piece->getFlatRotation(), rotation, 1e-5f);
    EXPECT_EQ(piece->getLocalDepth(), depth);
}

// The texture repeats every `tile` units: the far corner's coordinates count the tiles.
void expectTiled(CSpriteNode* piece, float tile) {
    ASSERT_NE(piece, nullptr);
    irr::core::vector2df far = piece->getVertices()[0].TCoords;
    EXPECT_NEAR(far.X, piece->getSize().Width / tile, 1e-4f);
    EXPECT_NEAR(far.Y, piece->getSize().Height / tile, 1e-4f);
}

TEST_F(Frames, CanvasOfFourByTwoHasItsCornersOrnamentEdgesAndTiledBackground) {
    writeUnitSprite("gui/canvas_corner.spr");
    writeUnitSprite("gui/canvas_top.spr");
    writeUnitSprite("gui/canvas_edge.spr");
    std::ifstream image(testImagePath("orange_16.png"), std::ios::binary);
    program.writeData("gui/canvas_bg.png", std::string(std::istreambuf_iterator<char>(image), {}));
    CNodeBasement* parent = createEmptyNode(nullptr, 8001, vector3df());

    CNodeBasement* canvas = createCanvas(vector3df(1, 2, 3), 4, 2, parent);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->getParent(), parent);
    EXPECT_EQ(canvas->getPosition(), vector3df(1, 2, 3));
    std::string name = canvas->getName();
    EXPECT_EQ(name.substr(name.size() - 6), " [fld]");
    std::vector<CSpriteNode*> parts = pieces(canvas);
    ASSERT_EQ(parts.size(), 10u);

    expectPiece(parts[0], {-1.925f, -0.925f, 0}, 0.27f, 0.27f, kPi / 2, 10);
    expectPiece(parts[1], {1.925f, -0.925f, 0}, 0.27f, 0.27f, kPi, 10);
    expectPiece(parts[2], {1.925f, 0.925f, 0}, 0.27f, 0.27f, 3 * kPi / 2, 10);
    expectPiece(parts[3], {-1.925f, 0.925f, 0}, 0.27f, 0.27f, 0, 10);
    expectPiece(parts[4], {0, 1.01f, 0}, 0.675f, 0.675f, 0, 10);
    expectPiece(parts[5], {0, -1, 0}, 4, 0.3f, 0, -1);
    expectPiece(parts[6], {2, 0, 0}, 2, 0.3f, kPi / 2, -1);
    expectPiece(parts[7], {0, 1, 0}, 4, 0.3f, -kPi, -1);
    expectPiece(parts[8], {-2, 0, 0}, 2, 0.3f, -kPi / 2, -1);
    expectPiece(parts[9], {0, 0, 0}, 4, 2, 0, -10);
    for (int edge = 5; edge <= 9; ++edge) {
        expectTiled(parts[edge], 0.3f);
    }
}

TEST_F(Frames, FrameWithoutImageBaseHasOnlyItsBackgroundHandedBackWhenAsked) {
    CNodeBasement* background = nullptr;
    CNodeBasement* bare = createFrame(vector3df(), 3, 3, "", "", 0.5f, nullptr, &background);
    EXPECT_TRUE(bare->getChildren().empty());
    EXPECT_EQ(bare->getParent(), device->getSceneManager()->getRootSceneNode());
    EXPECT_EQ(background, nullptr);

    CNodeBasement* filled =
        createFrame(vector3df(), 3, 2, "", "gui\\orange.png", 0.5f, nullptr, &background);
    ASSERT_EQ(filled->getChildren().size(), 1u);
    EXPECT_EQ(background, *filled->getChildren().begin());
    EXPECT_EQ(background->getSize(), irr::core::dimension2df(3, 2));
    CNodeBasement* unasked =
        createFrame(vector3df(), 3, 2, "", "gui\\orange.png", 0.5f, nullptr, nullptr);
    EXPECT_EQ(unasked->getChildren().size(), 1u);
}

TEST_F(Frames, SpriteBetweenTwoPointsSpansThemInThreeDimensions) {
    writeUnitSprite("gui/bar.spr");
    CSpriteNode* centred = createSpriteBetween("gui\\bar.spr", vector3df(0, 0, 0),
                                               vector3df(3, 4, 0), 0.5f, 0.25f, nullptr, true);
    ASSERT_NE(centred, nullptr);
    expectPiece(centred, {1.5f, 2, 0}, 5, 0.5f, std::atan2(4.0f, 3.0f), 0);
    EXPECT_EQ(centred->getAlpha(), 0.25f);

    CSpriteNode* fromStart = createSpriteBetween("gui\\bar.spr", vector3df(1, 1, 0),
                                                 vector3df(1, 1, 2), 1, 1, nullptr, false);
    ASSERT_NE(fromStart, nullptr);
    EXPECT_EQ(fromStart->getPosition(), vector3df(1, 1, 0));
    EXPECT_NEAR(fromStart->getSize().Width, 4, 1e-5f);
}

} // namespace
