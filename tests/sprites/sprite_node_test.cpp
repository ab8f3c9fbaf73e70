#include "sprite_fixture.h"

#include "core/vellumengine.h"
#include "scene/particle_groups.h"

#include <cmath>

namespace {

using irr::core::dimension2df;
using irr::core::vector3df;

using SpriteNode = SpriteTest;
using SpriteTexture = SpriteTest;
using SpritePlacement = SpriteTest;
using SpriteGeometry = SpriteTest;

const float kPi = 3.14159265f;

// Texture coordinates of the four corners: right-bottom, right-top, left-top, left-bottom.
void expectCorners(const CSpriteNode* sprite, float left, float top, float right, float bottom) {
    const irr::video::S3DVertex* v = sprite->getVertices();
    EXPECT_NEAR(v[0].TCoords.X, right, 1e-6f);
    EXPECT_NEAR(v[0].TCoords.Y, bottom, 1e-6f);
    EXPECT_NEAR(v[1].TCoords.X, right, 1e-6f);
    EXPECT_NEAR(v[1].TCoords.Y, top, 1e-6f);
    EXPECT_NEAR(v[2].TCoords.X, left, 1e-6f);
    EXPECT_NEAR(v[2].TCoords.Y, top, 1e-6f);
    EXPECT_NEAR(v[3].TCoords.X, left, 1e-6f);
    EXPECT_NEAR(v[3].TCoords.Y, bottom, 1e-6f);
}

TextureRegion regionWithUV(float umin, float vmin, float umax, float vmax) {
    TextureRegion region;
    region.RegionName = "test";
    region.UV = irr::core::rectf(umin, vmin, umax, vmax);
    return region;
}

void drawFrame() {
    getEngine().getRenderer().renderAll();
}

TEST_F(SpriteNode, NewSpriteIsOrderFourWithOneMaterialAndTheWholeCell) {
    CSpriteNode* sprite = makeSprite();
    EXPECT_EQ(sprite->getRenderOrder(), 4);
    EXPECT_STREQ(sprite->getDebugName(), NBASE_SPR);
    EXPECT_EQ(sprite->getMaterialCount(), 1u);
    EXPECT_EQ(&sprite->getMaterial(0), &sprite->getMaterial(3));
    EXPECT_FALSE(sprite->getMaterial(0).Wireframe);
    EXPECT_EQ(sprite->getMaterial(0).getTexture(0), nullptr);
    expectCorners(sprite, 0, 0, 1, 1);
}

TEST_F(SpriteTexture, AtlasCellIsMappedIntoTheRegion) {
    CSpriteNode* sprite = makeSprite();
    sprite->setTextureRegion(regionWithUV(0.25f, 0.5f, 0.75f, 1.0f));
    sprite->setAtlas(1, 0, 2, 1, 0);
    expectCorners(sprite, 0.5f, 0.5f, 0.75f, 1.0f);

    // The last of four columns with an inset: u runs from 0.751 to 0.999 of the region.
    sprite->setTextureRegion(regionWithUV(0.1f, 0, 0.5f, 1));
    sprite->setAtlas(3, 0, 4, 1, 0.001f);
    expectCorners(sprite, 0.1f + 0.4f * 0.751f, 0.001f, 0.1f + 0.4f * 0.999f, 0.999f);
}

TEST_F(SpriteTexture, NewRegionKeepsTheAtlasCellAndTakesTheTexture) {
    CSpriteNode* sprite = makeSprite();
    sprite->setAtlas(0, 1, 1, 2, 0);
    TextureRegion region = regionWithUV(0, 0, 0.5f, 0.5f);
    region.Texture = scene->driver()->addTexture(irr::core::dimension2du(4, 4), "region");
    sprite->setTextureRegion(region);
    EXPECT_EQ(sprite->getMaterial(0).getTexture(0), region.Texture);
    EXPECT_EQ(sprite->getRegion().RegionName, "test");
    EXPECT_EQ(sprite->getRegionUV(), region.UV);
    expectCorners(sprite, 0, 0.25f, 0.5f, 0.5f);
}

TEST_F(SpriteTexture, AtlasKeepingReplacesOnlyValuesThatAreNotNegative) {
    CSpriteNode* sprite = makeSprite();
    sprite->setAtlas(1, 1, 4, 4, 0.01f);
    sprite->setAtlasKeeping(-1, 2, -1, -1, 0);
    EXPECT_EQ(sprite->getAtlasX(), 1);
    EXPECT_EQ(sprite->getAtlasY(), 2);
    EXPECT_EQ(sprite->getAtlasW(), 4);
    EXPECT_EQ(sprite->getAtlasH(), 4);
    EXPECT_EQ(sprite->getAtlasInset(), 0);
    expectCorners(sprite, 0.25f, 0.5f, 0.5f, 0.75f);

    sprite->setAtlasKeeping(3, -1, 8, -0.5f, 0);
    EXPECT_EQ(sprite->getAtlasX(), 3);
    EXPECT_EQ(sprite->getAtlasY(), 2);
    EXPECT_EQ(sprite->getAtlasW(), 8);
    EXPECT_EQ(sprite->getAtlasH(), 4);
}

TEST_F(SpriteTexture, ScrollingAndTilingMoveTheCornersOutsideTheRegion) {
    CSpriteNode* sprite = makeSprite(vector3df(), dimension2df(6, 3));
    sprite->setTextureRegion(regionWithUV(0.25f, 0.25f, 0.75f, 0.75f));
    sprite->setTextureTiling(2, 1, 0.01f);
    expectCorners(sprite, 0.01f, 0.01f, 2.99f, 2.99f);

    sprite->scrollTexture(0.5f, -0.25f);
    sprite->scrollTexture(0.5f, -0.25f);
    expectCorners(sprite, 1.01f, -0.49f, 3.99f, 2.49f);
}

TEST_F(SpriteTexture, FillShowsTheFirstPartOfTheCell) {
    CSpriteNode* sprite = makeSprite();
    sprite->setTextureRegion(regionWithUV(0, 0, 0.5f, 1));
    sprite->setAtlas(1, 0, 2, 1, 0);
    sprite->setFillX(0.5f);
    // Only the right corners move: from the cell's left edge 0.25 half way to its right edge.
    expectCorners(sprite, 0.25f, 0, 0.375f, 1);
    sprite->setFillX(0);
    expectCorners(sprite, 0.25f, 0, 0.25f, 1);

    sprite->setAtlas(0, 1, 1, 2, 0);
    sprite->setFillY(0.25f);
    // Only the top corners move: from the cell's bottom 1.0 a quarter of the way to its top 0.5.
    expectCorners(sprite, 0, 0.875f, 0.5f, 1);
}

TEST_F(SpriteTexture, FullFillWithAnInsetEqualsTheCell) {
    CSpriteNode* sprite = makeSprite();
    sprite->setAtlas(2, 1, 4, 2, 0.01f);
    sprite->setFillX(1);
    sprite->setFillY(1);
    expectCorners(sprite, 0.51f, 0.51f, 0.74f, 0.99f);
}

TEST_F(SpritePlacement, BetweenPointsFromTheMidpointSpansTheWholeDistance) {
    CSpriteNode* sprite = makeSprite(vector3df(), dimension2df(1, 1));
    sprite->placeBetween(vector3df(0, 0, 1), vector3df(4, 0, 1), 0.5f, true, false);
    EXPECT_EQ(sprite->getPosition(), vector3df(2, 0, 1));
    EXPECT_FLOAT_EQ(sprite->getSize().Width, 4);
    EXPECT_FLOAT_EQ(sprite->getSize().Height, 0.5f);
    EXPECT_NEAR(sprite->getFlatRotation(), 0, 1e-6f);

    // From p1 the sprite reaches as far to the other side: twice the distance long.
    sprite->placeBetween(vector3df(1, 1, 0), vector3df(1, 4, 0), 1, false, false);
    EXPECT_EQ(sprite->getPosition(), vector3df(1, 1, 0));
    EXPECT_FLOAT_EQ(sprite->getSize().Width, 6);
    EXPECT_NEAR(sprite->getFlatRotation(), kPi / 2, 1e-5f);
}

TEST_F(SpritePlacement, LengthIsFlatUnlessAskedForInThreeDimensions) {
    CSpriteNode* sprite = makeSprite();
    sprite->placeBetween(vector3df(0, 0, 0), vector3df(3, 0, 4), 1, false, false, false, 0);
    EXPECT_FLOAT_EQ(sprite->getSize().Width, 6);
    sprite->placeBetween(vector3df(0, 0, 0), vector3df(3, 0, 4), 1, false, false, true, 0);
    EXPECT_FLOAT_EQ(sprite->getSize().Width, 10);
}

TEST_F(SpritePlacement, ThinOrRotateOnlyPlacementKeepsWhatItMustNotChange) {
    CSpriteNode* sprite = makeSprite(vector3df(5, 5, 5), dimension2df(2, 3));
    sprite->placeBetween(vector3df(0, 0, 0), vector3df(4, 0, 0), 0.0005f, false, false);
    EXPECT_EQ(sprite->getPosition(), vector3df(0, 0, 0));
    EXPECT_EQ(sprite->getSize(), dimension2df(2, 3));

    sprite->placeBetween(vector3df(9, 9, 9), vector3df(9, 10, 9), 1, true, true);
    EXPECT_EQ(sprite->getPosition(), vector3df(0, 0, 0));
    EXPECT_EQ(sprite->getSize(), dimension2df(2, 3));
    EXPECT_NEAR(sprite->getFlatRotation(), kPi / 2, 1e-5f);
}

TEST_F(SpritePlacement, TurningTowardsAddsTheOffsetToTheHeading) {
    CSpriteNode* sprite = makeSprite(vector3df(5, 5, 5), dimension2df(2, 3));
    sprite->turnTowards(vector3df(0, 0, 0), vector3df(1, 0, 0), 90);
    EXPECT_NEAR(sprite->getFlatRotation(), kPi / 2, 1e-5f);
    // Pointing along -X the heading is 270 degrees: the turn is -180 degrees.
    sprite->turnTowards(vector3df(0, 0, 0), vector3df(-1, 0, 0), 0);
    EXPECT_NEAR(sprite->getFlatRotation(), -kPi, 1e-5f);
    EXPECT_EQ(sprite->getPosition(), vector3df(5, 5, 5));
}

TEST_F(SpriteNode, ParticleGroupCountsTheSpriteWhileItLives) {
    ParticleGroup group;
    CSpriteNode* spark = makeSprite();
    spark->setParticleGroup("sprite_test_sparks");
    spark->setParticleGroup("");
    ASSERT_TRUE(getParticleGroup("sprite_test_sparks", group));
    EXPECT_EQ(group.LiveCount, 1);
    EXPECT_EQ(spark->getParticleGroup(), "sprite_test_sparks");

    // Moving to another group leaves the first.
    spark->setParticleGroup("sprite_test_debris");
    ASSERT_TRUE(getParticleGroup("sprite_test_sparks", group));
    EXPECT_EQ(group.LiveCount, 0);

    spark->remove();
    ASSERT_TRUE(getParticleGroup("sprite_test_debris", group));
    EXPECT_EQ(group.LiveCount, 0);
}

TEST_F(SpriteGeometry, CornersLieInTheCameraPlaneAroundTheAbsolutePosition) {
    irr::scene::ISceneNode* holder = scene->scene()->addEmptySceneNode();
    holder->setPosition(vector3df(1, 0, 0));
    CSpriteNode* sprite =
        new CSpriteNode(holder, scene->scene(), 8001, vector3df(1, 1, 2), dimension2df(4, 2));
    sprite->drop();
    drawFrame();
    const irr::video::S3DVertex* v = sprite->getVertices();
    EXPECT_EQ(v[0].Pos, vector3df(4, 0, 2));
    EXPECT_EQ(v[1].Pos, vector3df(4, 2, 2));
    EXPECT_EQ(v[2].Pos, vector3df(0, 2, 2));
    EXPECT_EQ(v[3].Pos, vector3df(0, 0, 2));
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(v[k].Normal, vector3df(0, 0, -1));
    }
    EXPECT_TRUE(sprite->isGeometryValid());

    // Moving the parent moves the corners at the next frame.
    holder->setPosition(vector3df(3, 0, 0));
    drawFrame();
    EXPECT_EQ(v[3].Pos, vector3df(2, 0, 2));
}

TEST_F(SpriteGeometry, QuarterTurnSwapsWidthAndHeight) {
    CSpriteNode* sprite = makeSprite(vector3df(0, 0, 0), dimension2df(4, 2));
    sprite->setFlatRotation(kPi / 2);
    EXPECT_FALSE(sprite->isGeometryValid());
    drawFrame();
    const irr::video::S3DVertex* v = sprite->getVertices();
    // Counter-clockwise: the right-bottom corner (2, -1) turns to (1, 2).
    EXPECT_NEAR(v[0].Pos.X, 1, 1e-5f);
    EXPECT_NEAR(v[0].Pos.Y, 2, 1e-5f);
    EXPECT_NEAR(v[2].Pos.X, -1, 1e-5f);
    EXPECT_NEAR(v[2].Pos.Y, -2, 1e-5f);
}

TEST_F(SpriteGeometry, CornerColourIsTheTintAtTheEffectiveAlpha) {
    CSpriteNode* sprite = makeSprite();
    sprite->setTint(0x00112233u);
    sprite->setAlpha(0.5f);
    drawFrame();
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(sprite->getVertices()[k].Color.color, 0x7F112233u);
    }
}

TEST_F(SpriteGeometry, DebugWeightFourTurnsWireframeOn) {
    CSpriteNode* sprite = makeSprite();
    EngineConfig& config = getEngine().getConfig();
    config.Debug = 4;
    drawFrame();
    EXPECT_TRUE(sprite->getMaterial(0).Wireframe);
    config.Debug = 1;
    drawFrame();
    EXPECT_FALSE(sprite->getMaterial(0).Wireframe);
    config.Debug = 0;
}

} // namespace
