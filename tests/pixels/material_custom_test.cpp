#include "support/pixel_test_device.h"

#include "scene/material_custom.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace irr;

namespace {

const core::dimension2du screenSize(160, 120);
const video::SColor background(255, 40, 60, 80);

// alpha_steps_48x16.png: colour (200, 100, 50) in three 16-pixel columns of alpha 255, 128, 0.
const video::SColor stepColour(255, 200, 100, 50);
const int stepAlphas[] = {255, 128, 0};

// The steps image is drawn twice its size at (8, 8): its columns are 32 pixels wide.
const core::recti stepsQuad(8, 8, 104, 40);
int stepCentreX(int column) {
    return 8 + 32 * column + 16;
}
const int stepCentreY = 24;

int clampChannel(int value) {
    return std::min(255, std::max(0, value));
}

// What each mode must show over the background for one texel and one vertex colour, from the
// blend table: the source alpha is texture alpha x vertex alpha; BlendAlpha mixes texture x
// colour with what is below; BlendAdd2x adds 2 x texture x colour; BlendColorAdd adds
// colour x colour. Colour products are clamped before blending, sums after it.
enum class Mode { Alpha, Add2x, ColorAdd };

video::SColor expectedColour(Mode mode, video::SColor texel, int texelAlpha, video::SColor vertex) {
    const double alpha = texelAlpha / 255.0 * vertex.getAlpha() / 255.0;
    const int texels[] = {int(texel.getRed()), int(texel.getGreen()), int(texel.getBlue())};
    const int vertices[] = {int(vertex.getRed()), int(vertex.getGreen()), int(vertex.getBlue())};
    const int below[] = {int(background.getRed()), int(background.getGreen()),
                         int(background.getBlue())};
    int result[3];
    for (int i = 0; i < 3; ++i) {
        double source = 0;
        switch (mode) {
        case Mode::Alpha:
            source = texels[i] * vertices[i] / 255.0;
            result[i] = clampChannel(int(source * alpha + below[i] * (1 - alpha) + 0.5));
            break;
        case Mode::Add2x:
            source = std::min(255.0, 2.0 * texels[i] * vertices[i] / 255.0);
            result[i] = clampChannel(int(source * alpha + below[i] + 0.5));
            break;
        case Mode::ColorAdd:
            source = vertices[i] * vertices[i] / 255.0;
            result[i] = clampChannel(int(source * alpha + below[i] + 0.5));
            break;
        }
    }
    return video::SColor(255, result[0], result[1], result[2]);
}

class CustomMaterialsOnOpenGl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.valid());
        driver = device.driver();
        rendererCountBefore = driver->getMaterialRendererCount();
        materials.registerCustomMaterials(driver, false);
        steps = device.loadTexture("alpha_steps_48x16.png");
        ASSERT_NE(steps, nullptr);
    }

    video::E_MATERIAL_TYPE typeOf(Mode mode) const { return materials.MaterialTypes[int(mode)]; }

    // Draws the steps texture with the mode and vertex colour over the background and checks
    // each alpha column against the blend table.
    void expectStepsDrawnBy(Mode mode, video::SColor vertex) {
        device.beginFrame(background);
        device.drawQuad(stepsQuad, quadMaterial(typeOf(mode), steps), vertex);
        video::IImage* image = device.captureAndEndFrame();
        ASSERT_NE(image, nullptr);
        for (int column = 0; column < 3; ++column) {
            EXPECT_TRUE(pixelNear(image, stepCentreX(column), stepCentreY,
                                  expectedColour(mode, stepColour, stepAlphas[column], vertex)))
                << "alpha column " << column;
        }
        EXPECT_TRUE(pixelNear(image, 150, 110, background, 0)) << "outside the quad";
        image->drop();
    }

    PixelTestDevice device{video::EDT_OPENGL, screenSize};
    video::IVideoDriver* driver = nullptr;
    u32 rendererCountBefore = 0;
    CustomMaterials materials;
    video::ITexture* steps = nullptr;
};

TEST_F(CustomMaterialsOnOpenGl, RegistrationAddsTheThreeRenderersInIndexOrder) {
    const char* names[] = {"BlendAlpha", "BlendAdd2x", "BlendColorAdd"};
    ASSERT_EQ(driver->getMaterialRendererCount(), rendererCountBefore + 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(materials.MaterialTypes[i], video::E_MATERIAL_TYPE(rendererCountBefore + i));
        ASSERT_NE(materials.MaterialRenderers[i], nullptr);
        EXPECT_EQ(driver->getMaterialRenderer(materials.MaterialTypes[i]),
                  materials.MaterialRenderers[i]);
        EXPECT_STREQ(driver->getMaterialRendererName(materials.MaterialTypes[i]), names[i]);
    }
}

TEST_F(CustomMaterialsOnOpenGl, ReleaseDropsOnlyTheTablesReferences) {
    video::IMaterialRenderer* first = materials.MaterialRenderers[0];
    EXPECT_EQ(first->getReferenceCount(), 2);
    materials.releaseCustomMaterials();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(materials.MaterialRenderers[i], nullptr);
    }
    EXPECT_EQ(first->getReferenceCount(), 1);
    EXPECT_EQ(driver->getMaterialRenderer(video::E_MATERIAL_TYPE(rendererCountBefore)), first);
}

TEST_F(CustomMaterialsOnOpenGl, RegisteringAgainReleasesTheEarlierRenderers) {
    video::IMaterialRenderer* earlier = materials.MaterialRenderers[0];
    materials.registerCustomMaterials(driver, false);
    EXPECT_EQ(earlier->getReferenceCount(), 1);
    EXPECT_EQ(materials.MaterialTypes[0], video::E_MATERIAL_TYPE(rendererCountBefore + 3));
    EXPECT_NE(materials.MaterialRenderers[0], earlier);
}

TEST_F(CustomMaterialsOnOpenGl, MaxTextureSizeIsTheDevicesLimit) {
    const core::dimension2du size = getMaxTextureSize(driver);
    EXPECT_EQ(size, driver->getMaxTextureSize());
    EXPECT_GE(size.Width, 1024u);
    EXPECT_GE(size.Height, 1024u);
}

TEST_F(CustomMaterialsOnOpenGl, BlendAlphaMixesTintedTextureByTextureTimesVertexAlpha) {
    expectStepsDrawnBy(Mode::Alpha, video::SColor(255, 255, 255, 255));
    expectStepsDrawnBy(Mode::Alpha, video::SColor(128, 255, 128, 255));
    // Fully opaque texel, opaque white: the texture itself; alpha 0: the background.
    device.beginFrame(background);
    device.drawQuad(stepsQuad, quadMaterial(typeOf(Mode::Alpha), steps),
                    video::SColor(255, 255, 255, 255));
    video::IImage* image = device.captureAndEndFrame();
    EXPECT_TRUE(pixelNear(image, stepCentreX(0), stepCentreY, stepColour));
    EXPECT_TRUE(pixelNear(image, stepCentreX(2), stepCentreY, background));
    image->drop();
}

TEST_F(CustomMaterialsOnOpenGl, BlendAdd2xAddsTwiceTextureTimesColourClamped) {
    expectStepsDrawnBy(Mode::Add2x, video::SColor(255, 255, 255, 255));
    expectStepsDrawnBy(Mode::Add2x, video::SColor(255, 64, 128, 255));
    // Opaque white over (40, 60, 80): red and green clamp at 255, blue is 80 + 2 x 50.
    device.beginFrame(background);
    device.drawQuad(stepsQuad, quadMaterial(typeOf(Mode::Add2x), steps),
                    video::SColor(255, 255, 255, 255));
    video::IImage* image = device.captureAndEndFrame();
    EXPECT_TRUE(pixelNear(image, stepCentreX(0), stepCentreY, video::SColor(255, 255, 255, 180)));
    image->drop();
}

TEST_F(CustomMaterialsOnOpenGl, BlendColorAddAddsColourSquaredWhereTheTextureIs) {
    expectStepsDrawnBy(Mode::ColorAdd, video::SColor(255, 128, 200, 255));
    expectStepsDrawnBy(Mode::ColorAdd, video::SColor(128, 255, 0, 90));
    // The texture's colour plays no part: white and orange texels give the same result.
    video::ITexture* white = device.loadTexture("white_16.png");
    ASSERT_NE(white, nullptr);
    const video::SColor vertex(255, 128, 200, 255);
    device.beginFrame(background);
    device.drawQuad(core::recti(8, 60, 40, 92), quadMaterial(typeOf(Mode::ColorAdd), white),
                    vertex);
    video::IImage* image = device.captureAndEndFrame();
    EXPECT_TRUE(pixelNear(image, 24, 76, expectedColour(Mode::ColorAdd, stepColour, 255, vertex)));
    EXPECT_TRUE(pixelNear(image, 24, 76, video::SColor(255, 104, 217, 255)));
    image->drop();
}

TEST_F(CustomMaterialsOnOpenGl, ModesFollowingEachOtherInOneFrameKeepTheirOwnResults) {
    video::ITexture* orange = device.loadTexture("orange_16.png");
    ASSERT_NE(orange, nullptr);
    const video::SColor vertex(255, 200, 200, 200);
    const Mode order[] = {Mode::Add2x, Mode::Alpha, Mode::ColorAdd, Mode::Alpha};
    device.beginFrame(background);
    for (int i = 0; i < 4; ++i) {
        device.drawQuad(core::recti(8, 8 + 26 * i, 24, 24 + 26 * i),
                        quadMaterial(typeOf(order[i]), orange), vertex);
    }
    video::IImage* image = device.captureAndEndFrame();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(
            pixelNear(image, 16, 16 + 26 * i, expectedColour(order[i], stepColour, 255, vertex)))
            << "quad " << i;
    }
    image->drop();
}

TEST_F(CustomMaterialsOnOpenGl, ConsecutiveQuadsOfOneModeUseTheirOwnTextures) {
    video::ITexture* orange = device.loadTexture("orange_16.png");
    video::ITexture* grey = device.loadTexture("grey_16.png");
    ASSERT_NE(orange, nullptr);
    ASSERT_NE(grey, nullptr);
    const video::SColor vertex(255, 255, 255, 255);
    device.beginFrame(background);
    device.drawQuad(core::recti(8, 8, 24, 24), quadMaterial(typeOf(Mode::Add2x), orange), vertex);
    device.drawQuad(core::recti(40, 8, 56, 24), quadMaterial(typeOf(Mode::Add2x), grey), vertex);
    video::IImage* image = device.captureAndEndFrame();
    EXPECT_TRUE(pixelNear(image, 16, 16, expectedColour(Mode::Add2x, stepColour, 255, vertex)));
    EXPECT_TRUE(
        pixelNear(image, 48, 16,
                  expectedColour(Mode::Add2x, video::SColor(255, 128, 128, 128), 255, vertex)));
    image->drop();
}

// On Mesa's software rasterisers the anisotropic filter (the font's, and a sprite description's
// default) reaches OpenGL as trilinear filtering: the texture is sampled smoothly, without the
// anisotropic sampler, whose per-pixel cost there is several times higher.
TEST_F(CustomMaterialsOnOpenGl, OnASoftwareRasteriserTheAnisotropicFilterIsDrawnAsTrilinear) {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    ASSERT_NE(renderer, nullptr);
    if (!isSoftwareRasterizer(renderer)) {
        GTEST_SKIP() << "OpenGL renders on " << renderer << ", not a software rasteriser";
    }
    video::SMaterial material = quadMaterial(typeOf(Mode::Alpha), steps);
    material.TextureLayer[0].AnisotropicFilter = 16;
    device.beginFrame(background);
    device.drawQuad(stepsQuad, material, video::SColor(255, 255, 255, 255));
    GLfloat anisotropy = 0;
    GLint magnification = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magnification);
    video::IImage* image = device.captureAndEndFrame();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(anisotropy, 1.0f);
    EXPECT_EQ(magnification, GL_LINEAR);
    // Magnified twice, the step from alpha 255 to 128 at x = 40 is blended over the pixels
    // beside it rather than cut between them.
    const video::SColor opaque =
        expectedColour(Mode::Alpha, stepColour, 255, video::SColor(0xFFFFFFFF));
    const video::SColor half =
        expectedColour(Mode::Alpha, stepColour, 128, video::SColor(0xFFFFFFFF));
    const video::SColor edge = image->getPixel(40, stepCentreY);
    EXPECT_GT(edge.getBlue(), opaque.getBlue());
    EXPECT_LT(edge.getBlue(), half.getBlue());
    EXPECT_TRUE(pixelNear(image, stepCentreX(0), stepCentreY, opaque));
    image->drop();

    // The material keeps the flags it was given.
    EXPECT_EQ(material.TextureLayer[0].AnisotropicFilter, 16);
    EXPECT_FALSE(material.TextureLayer[0].TrilinearFilter);
}

TEST(SoftwareRasterizer, IsRecognisedByMesasRendererNames) {
    EXPECT_TRUE(isSoftwareRasterizer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRasterizer("softpipe"));
    EXPECT_TRUE(isSoftwareRasterizer("Software Rasterizer"));
    EXPECT_FALSE(isSoftwareRasterizer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(isSoftwareRasterizer("AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6)"));
    EXPECT_FALSE(isSoftwareRasterizer(nullptr));
}

// Irrlicht's own materials drawn after a custom one must look exactly as they do alone.
class OrdinaryMaterialsAfterCustomOnes : public CustomMaterialsOnOpenGl,
                                         public ::testing::WithParamInterface<Mode> {
protected:
    // Draws Irrlicht's solid and vertex-alpha materials and a 2D image in the lower half,
    // after a quad of the custom mode in the upper half when `withCustom` is set.
    video::IImage* drawOrdinaryMaterials(bool withCustom) {
        const video::SColor tint(160, 255, 128, 64);
        device.beginFrame(background);
        if (withCustom) {
            device.drawQuad(stepsQuad, quadMaterial(typeOf(GetParam()), steps), tint);
        }
        device.drawQuad(core::recti(8, 60, 56, 76), quadMaterial(video::EMT_SOLID, steps), tint);
        device.drawQuad(core::recti(64, 60, 112, 76),
                        quadMaterial(video::EMT_TRANSPARENT_VERTEX_ALPHA, steps), tint);
        if (withCustom) {
            device.drawQuad(stepsQuad, quadMaterial(typeOf(GetParam()), steps), tint);
        }
        driver->draw2DImage(steps, core::position2di(8, 90), core::recti(0, 0, 48, 16), nullptr,
                            video::SColor(255, 255, 255, 255), true);
        device.drawQuad(core::recti(64, 90, 112, 106), quadMaterial(video::EMT_SOLID, steps), tint);
        return device.captureAndEndFrame();
    }
};

TEST_P(OrdinaryMaterialsAfterCustomOnes, LookAsTheyDoAlone) {
    video::IImage* alone = drawOrdinaryMaterials(false);
    video::IImage* afterCustom = drawOrdinaryMaterials(true);
    ASSERT_NE(alone, nullptr);
    ASSERT_NE(afterCustom, nullptr);
    int differing = 0;
    for (u32 y = 50; y < screenSize.Height; ++y) {
        for (u32 x = 0; x < screenSize.Width; ++x) {
            if (!pixelNear(afterCustom, int(x), int(y), alone->getPixel(x, y), 1)) {
                ++differing;
            }
        }
    }
    EXPECT_EQ(differing, 0);
    // The frames differ where the custom quad was drawn, so it did draw.
    EXPECT_FALSE(pixelNear(afterCustom, stepCentreX(0), stepCentreY, background, 3));
    alone->drop();
    afterCustom->drop();
}

std::string modeName(const ::testing::TestParamInfo<Mode>& info) {
    static const char* const names[] = {"BlendAlpha", "BlendAdd2x", "BlendColorAdd"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EachMode, OrdinaryMaterialsAfterCustomOnes,
                         ::testing::Values(Mode::Alpha, Mode::Add2x, Mode::ColorAdd), modeName);

TEST(CustomMaterialsUnderSoftwareRendering, AllThreeAreTheVertexAlphaMaterial) {
    PixelTestDevice device(video::EDT_BURNINGSVIDEO, screenSize);
    ASSERT_TRUE(device.valid());
    video::IVideoDriver* driver = device.driver();
    const u32 rendererCount = driver->getMaterialRendererCount();
    CustomMaterials materials;
    materials.registerCustomMaterials(driver, true);
    EXPECT_EQ(driver->getMaterialRendererCount(), rendererCount);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(materials.MaterialTypes[i], video::EMT_TRANSPARENT_VERTEX_ALPHA);
        EXPECT_EQ(materials.MaterialRenderers[i], nullptr);
    }
    EXPECT_EQ(getMaxTextureSize(driver), core::dimension2du(0, 0));

    // Drawn through the table, each index draws with the vertex-alpha material. Debian's build
    // of Burning's Video has no vertex colours, and its vertex-alpha material then adds the
    // texture onto what is below: orange (200, 100, 50) over (40, 60, 80).
    video::ITexture* orange = device.loadTexture("orange_16.png");
    ASSERT_NE(orange, nullptr);
    device.beginFrame(background);
    for (int i = 0; i < 3; ++i) {
        device.drawQuad(core::recti(8 + 40 * i, 8, 40 + 40 * i, 40),
                        quadMaterial(materials.MaterialTypes[i], orange),
                        video::SColor(128, 255, 255, 255));
    }
    video::IImage* image = device.captureAndEndFrame();
    ASSERT_NE(image, nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(pixelNear(image, 24 + 40 * i, 24, video::SColor(255, 240, 160, 130)))
            << "index " << i;
    }
    EXPECT_TRUE(pixelNear(image, 24, 80, background, 0));
    image->drop();
}

TEST(CustomMaterialsWithoutOpenGl, RegisterDistinctTypesOnTheNullDriver) {
    IrrlichtDevice* device = createDevice(video::EDT_NULL);
    ASSERT_NE(device, nullptr);
    CustomMaterials materials;
    materials.registerCustomMaterials(device->getVideoDriver(), false);
    EXPECT_NE(materials.MaterialTypes[0], materials.MaterialTypes[1]);
    EXPECT_NE(materials.MaterialTypes[1], materials.MaterialTypes[2]);
    EXPECT_GT(materials.MaterialTypes[0], video::EMT_ONETEXTURE_BLEND);
    EXPECT_NE(materials.MaterialRenderers[2], nullptr);
    materials.releaseCustomMaterials();
    device->drop();
}

} // namespace
