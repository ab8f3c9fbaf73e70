#include "core/vellumengine.h"
#include "scene/node_sprite.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/pixel_test_device.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <memory>

using namespace irr;

namespace {

const core::dimension2du screenSize(320, 240);
const video::SColor red(255, 255, 0, 0);
const video::SColor green(255, 0, 255, 0);
const video::SColor blue(255, 0, 0, 255);
const video::SColor white(255, 255, 255, 255);
const video::SColor yellow(255, 255, 255, 0);
const video::SColor magenta(255, 255, 0, 255);
const video::SColor orange(255, 200, 100, 50);
const video::SColor grey(255, 128, 128, 128);
const video::SColor boxColour(255, 208, 195, 152);

// Sprites drawn by the render module and seen by the engine's camera: at Z 0 one scene unit is 8
// pixels, and (0, 0) is the middle of the 320 by 240 screen.
class SpriteScreen : public testing::Test {
protected:
    // Debian's build of Burning's Video (the software fallback) has no vertex colours and adds
    // the texture onto what is below: over black that shows the texture as it is.
    void openScreen(video::E_DRIVER_TYPE driverType) {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
        const bool software = driverType == video::EDT_BURNINGSVIDEO;
        background = software ? video::SColor(255, 0, 0, 0) : video::SColor(255, 40, 60, 80);
        device = std::make_unique<PixelTestDevice>(driverType, screenSize);
        ASSERT_TRUE(device->valid());
        scene = std::make_unique<EngineScene>(device->irrlichtDevice(), software);
    }

    void TearDown() override {
        getEngine().getConfig().Debug = 0;
        if (image) {
            image->drop();
        }
        scene.reset();
        device.reset();
    }

    CSpriteNode* sprite(const char* imageName, core::vector3df position, core::dimension2df size,
                        scene::ISceneNode* parent = nullptr) {
        return scene->addSprite(testImagePath(imageName), position, size, parent);
    }

    // Draws a frame through the render module and keeps its picture.
    void drawFrame() {
        if (image) {
            image->drop();
        }
        device->beginFrame(background);
        getEngine().getRenderer().resetFrameStatistics();
        getEngine().getRenderer().renderAll();
        image = device->captureAndEndFrame();
        ASSERT_NE(image, nullptr);
    }

    // The colour the frame shows at a scene point.
    testing::AssertionResult shows(core::vector3df point, video::SColor colour) {
        const core::position2di pixel = scene->screenPoint(point);
        return pixelNear(image, pixel.X, pixel.Y, colour, 4);
    }

    TemporaryFolder program;
    MessageBoxRecorder boxes;
    video::SColor background;
    std::unique_ptr<PixelTestDevice> device;
    std::unique_ptr<EngineScene> scene;
    video::IImage* image = nullptr;
};

// Where and how sprites land, on OpenGL and on Burning's Video.
class SpritePixels : public SpriteScreen, public testing::WithParamInterface<video::E_DRIVER_TYPE> {
protected:
    void SetUp() override { openScreen(GetParam()); }
};

// Colours, opacity and drawing order, which need blending: OpenGL only.
class SpriteBlending : public SpriteScreen {
protected:
    void SetUp() override { openScreen(video::EDT_OPENGL); }
};

TEST_P(SpritePixels, SpriteCoversItsSizeAroundItsPositionUpright) {
    sprite("quadrants_64x32.png", core::vector3df(5, 3, 0), core::dimension2df(8, 4));
    drawFrame();
    // 64 by 32 pixels around (200, 96).
    EXPECT_EQ(scene->screenPoint(core::vector3df(5, 3, 0)), core::position2di(200, 96));
    EXPECT_TRUE(pixelNear(image, 170, 82, red));
    EXPECT_TRUE(pixelNear(image, 229, 82, green));
    EXPECT_TRUE(pixelNear(image, 170, 109, blue));
    EXPECT_TRUE(pixelNear(image, 229, 109, white));
    EXPECT_TRUE(pixelNear(image, 166, 96, background));
    EXPECT_TRUE(pixelNear(image, 234, 96, background));
    EXPECT_TRUE(pixelNear(image, 200, 78, background));
    EXPECT_TRUE(pixelNear(image, 200, 114, background));
}

TEST_P(SpritePixels, AtlasCellShowsOneFrameOfTheStrip) {
    CSpriteNode* strip =
        sprite("strip_8_frames.png", core::vector3df(0, 0, 0), core::dimension2df(8, 8));
    strip->setAtlas(3, 0, 8, 1, 0);
    drawFrame();
    for (float x : {-3.0f, 0.0f, 3.0f}) {
        for (float y : {-3.0f, 0.0f, 3.0f}) {
            EXPECT_TRUE(shows(core::vector3df(x, y, 0), yellow)) << x << ", " << y;
        }
    }
    strip->setAtlasKeeping(5, -1, -1, -1, 0);
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(0, 0, 0), magenta));
    EXPECT_TRUE(shows(core::vector3df(3, 3, 0), magenta));
}

TEST_P(SpritePixels, QuarterTurnStandsTheSpriteUpCounterClockwise) {
    CSpriteNode* turned =
        sprite("quadrants_64x32.png", core::vector3df(0, 0, 0), core::dimension2df(8, 4));
    turned->setFlatRotation(core::PI / 2);
    drawFrame();
    // Now 32 pixels wide and 64 high: red, once top left, lies bottom left.
    EXPECT_TRUE(shows(core::vector3df(-1, 2, 0), green));
    EXPECT_TRUE(shows(core::vector3df(1, 2, 0), white));
    EXPECT_TRUE(shows(core::vector3df(-1, -2, 0), red));
    EXPECT_TRUE(shows(core::vector3df(1, -2, 0), blue));
    EXPECT_TRUE(shows(core::vector3df(3, 0, 0), background));
    EXPECT_TRUE(shows(core::vector3df(0, 3.5f, 0), white));
}

TEST_F(SpriteBlending, TintColoursTheSpriteAtTheNodesOpacity) {
    CSpriteNode* tinted =
        sprite("white_16.png", core::vector3df(-5, 0, 0), core::dimension2df(4, 4));
    // The tint's own alpha 0 does not matter.
    tinted->setTint(0x00FF8040u);
    CSpriteNode* half = sprite("white_16.png", core::vector3df(5, 0, 0), core::dimension2df(4, 4));
    half->setAlpha(0.5f);
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(-5, 0, 0), video::SColor(255, 255, 128, 64)));
    const float a = 127 / 255.0f;
    const auto mixed = [a](u32 below) { return u32(255 * a + float(below) * (1 - a)); };
    EXPECT_TRUE(shows(core::vector3df(5, 0, 0),
                      video::SColor(255, mixed(background.getRed()), mixed(background.getGreen()),
                                    mixed(background.getBlue()))));
}

TEST_F(SpriteBlending, SpriteBelowItsThresholdIsNotDrawnButItsChildrenAre) {
    CSpriteNode* faint =
        sprite("white_16.png", core::vector3df(-6, 0, 0), core::dimension2df(4, 4));
    faint->setAlpha(0.04f);
    sprite("orange_16.png", core::vector3df(12, 0, 0), core::dimension2df(4, 4), faint);
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(-6, 0, 0), background));
    EXPECT_TRUE(shows(core::vector3df(6, 0, 0), orange));
}

TEST_F(SpriteBlending, RenderOrderSeventeenIsDrawnOverEverythingSixOverTheDefault) {
    // Far behind, but in the last pass.
    sprite("orange_16.png", core::vector3df(-5, 0, 10), core::dimension2df(4, 4))
        ->setRenderOrder(17);
    sprite("white_16.png", core::vector3df(-5, 0, -2), core::dimension2df(6, 6));
    sprite("grey_16.png", core::vector3df(5, 0, 10), core::dimension2df(4, 4))->setRenderOrder(6);
    sprite("white_16.png", core::vector3df(5, 0, -2), core::dimension2df(6, 6))->setRenderOrder(5);
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(-5, 0, 10), orange));
    EXPECT_TRUE(shows(core::vector3df(5, 0, 10), grey));
    EXPECT_TRUE(shows(core::vector3df(-5, 2.5f, -2), white));
}

TEST_F(SpriteBlending, WithinAPassNearerAndThenDeeperSpritesAreDrawnLater) {
    // Created near first, far second: the near one is still on top.
    sprite("orange_16.png", core::vector3df(-5, 0, -1), core::dimension2df(4, 4));
    sprite("white_16.png", core::vector3df(-5, 0, 1), core::dimension2df(6, 6));
    // Same Z: depth 5 over depth 2, whatever the creation order.
    sprite("white_16.png", core::vector3df(5, 0, 0), core::dimension2df(6, 6))->setLocalDepth(5);
    sprite("orange_16.png", core::vector3df(5, 0, 0), core::dimension2df(4, 4))->setLocalDepth(2);
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(-5, 0, -1), orange));
    EXPECT_TRUE(shows(core::vector3df(5, 0, 0), white));
}

TEST_F(SpriteBlending, CornerOffsetsMoveTheDrawnCornersWhileEnabled) {
    CSpriteNode* warped =
        sprite("white_16.png", core::vector3df(0, 0, 0), core::dimension2df(4, 4));
    // Offset 1 belongs to vertex 0, the right-bottom corner.
    warped->setCornerOffset(1, core::vector3df(4, 0, 0));
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(3, -1.8f, 0), background));
    warped->setCornerOffsetsEnabled(true);
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(3, -1.8f, 0), white));
    EXPECT_TRUE(shows(core::vector3df(3, 1.8f, 0), background));
    EXPECT_TRUE(shows(core::vector3df(0, 0, 0), white));
}

TEST_F(SpriteBlending, DebugWeightsDrawWireframesAndNodeBoxes) {
    sprite("white_16.png", core::vector3df(-5, 0, 0), core::dimension2df(6, 6));
    // The right third of this texture is transparent, so the box shows through it.
    sprite("alpha_steps_48x16.png", core::vector3df(5, 0, 0), core::dimension2df(6, 2));
    getEngine().getConfig().Debug = 4;
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(-5, 1, 0), background)) << "only the edges are drawn";

    getEngine().getConfig().Debug = 2;
    drawFrame();
    EXPECT_TRUE(shows(core::vector3df(-5, 1, 0), white));
    const core::position2di corner = scene->screenPoint(core::vector3df(7.5f, 1, 0));
    int boxPixels = 0;
    for (int y = corner.Y - 1; y <= corner.Y + 1; ++y) {
        boxPixels += pixelNear(image, corner.X, y, boxColour, 4) ? 1 : 0;
    }
    EXPECT_GE(boxPixels, 1) << "the box's top edge over the transparent part";
}

TEST_P(SpritePixels, QuadsBeyondOneBatchAreDrawnWhereTheyBelong) {
    video::SMaterial material;
    material.setTexture(0, device->loadTexture("strip_8_frames.png"));
    material.Lighting = false;
    material.ZBuffer = video::ECFN_NEVER;
    material.BackfaceCulling = false;
    // A quad two units wide showing the middle of one frame of the strip.
    auto quadAt = [](float x, float y, int frame, video::S3DVertex* quad) {
        const float corners[4][2] = {{1, -1}, {1, 1}, {-1, 1}, {-1, -1}};
        const float u = (8.0f * float(frame) + 4) / 64;
        for (int k = 0; k < 4; ++k) {
            quad[k] = video::S3DVertex(x + corners[k][0], y + corners[k][1], 0, 0, 0, -1,
                                       0xFFFFFFFF, u, 0.5f);
        }
    };
    video::S3DVertex quad[4];
    CRenderModule& renderer = getEngine().getRenderer();
    device->beginFrame(background);
    scene->scene()->drawAll();
    quadAt(-10, 5, 0, quad);
    for (int i = 0; i < CQuadBatcher::QuadCapacity; ++i) {
        renderer.addQuad(&core::IdentityMatrix, &material, quad);
    }
    // The first quad of the second batch: with 16-bit indices running over it would land on
    // the first quad.
    quadAt(5, -5, 1, quad);
    renderer.addQuad(nullptr, nullptr, quad);
    renderer.addQuad(nullptr, nullptr, nullptr);
    image = device->captureAndEndFrame();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(shows(core::vector3df(5, -5, 0), green));
    EXPECT_TRUE(shows(core::vector3df(-10, 5, 0), red));
}

std::string driverName(const testing::TestParamInfo<video::E_DRIVER_TYPE>& info) {
    return info.param == video::EDT_OPENGL ? "OpenGL" : "BurningsVideo";
}

INSTANTIATE_TEST_SUITE_P(Driver, SpritePixels,
                         testing::Values(video::EDT_OPENGL, video::EDT_BURNINGSVIDEO), driverName);

} // namespace
