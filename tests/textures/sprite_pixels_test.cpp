#include "textures/texture_test.h"

#include "core/vellumengine.h"
#include "scene/pixel_copies.h"
#include "scene/sprite_pixels.h"
#include "scene/texture_region.h"

using namespace irr;

namespace {

const u32 opaqueRed = 0xFFFF0000u;
const u32 opaqueGreen = 0xFF00FF00u;
const u32 opaqueBlue = 0xFF0000FFu;
const u32 opaqueWhite = 0xFFFFFFFFu;

// What a sprite node hands the pixel read-back.
class TestSprite : public IPixelSprite {
public:
    TestSprite(video::ITexture* texture, const core::rectf& uv) : texture(texture), uv(uv) {}
    video::ITexture* getPixelTexture() const override { return texture; }
    core::rectf getPixelRegionUV() const override { return uv; }

private:
    video::ITexture* texture;
    core::rectf uv;
};

} // namespace

class SpritePixelTest : public OpenGLTextureTest {
protected:
    // A texture of 64 by 64 transparent pixels with one opaque pixel at (32, 32). With the region
    // (0, 0, 1, 1) it covers u in [0.5, 0.515625) and v in (0.484375, 0.5].
    video::ITexture* makeSpotTexture() {
        video::IImage* image =
            driver()->createImage(video::ECF_A8R8G8B8, core::dimension2du(64, 64));
        image->fill(video::SColor(0, 255, 255, 255));
        image->setPixel(32, 32, video::SColor(255, 255, 255, 255));
        video::ITexture* texture = driver()->addTexture("spot", image);
        image->drop();
        return texture;
    }
};

TEST_F(SpritePixelTest, PixelCopyHoldsTheTexturePixelsUntilCleared) {
    video::ITexture* texture = device.loadTexture("quadrants_64x32.png");
    ASSERT_NE(texture, nullptr);
    const PixelCopy* copy = getPixelCopy(texture);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Width, 64u);
    EXPECT_EQ(copy->Height, 32u);
    EXPECT_EQ(copy->Pixels[0], opaqueRed);
    EXPECT_EQ(copy->Pixels[63], opaqueGreen);
    EXPECT_EQ(copy->Pixels[31 * 64], opaqueBlue);
    EXPECT_EQ(copy->Pixels[31 * 64 + 63], opaqueWhite);
    EXPECT_EQ(getPixelCopy(texture), copy);

    // The copy is not taken again while it is kept...
    u32* pixels = static_cast<u32*>(texture->lock());
    ASSERT_NE(pixels, nullptr);
    pixels[0] = opaqueBlue;
    texture->unlock();
    EXPECT_EQ(getPixelCopy(texture)->Pixels[0], opaqueRed);
    // ...and is after clearing, also when the engine clears its caches.
    clearPixelCopies();
    EXPECT_EQ(getPixelCopy(texture)->Pixels[0], opaqueBlue);

    pixels = static_cast<u32*>(texture->lock());
    pixels[0] = opaqueGreen;
    texture->unlock();
    getEngine().clearCaches(true);
    EXPECT_EQ(getPixelCopy(texture)->Pixels[0], opaqueGreen);
}

TEST_F(SpritePixelTest, TextureWithoutThirtyTwoBitPixelsHasNoCopy) {
    driver()->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, false);
    driver()->setTextureCreationFlag(video::ETCF_ALWAYS_16_BIT, true);
    video::ITexture* texture = device.loadTexture("white_16.png");
    ASSERT_NE(texture, nullptr);
    ASSERT_NE(texture->getColorFormat(), video::ECF_A8R8G8B8);
    EXPECT_EQ(getPixelCopy(texture), nullptr);
    EXPECT_EQ(getPixelCopy(nullptr), nullptr);
}

TEST_F(SpritePixelTest, SpritePixelCountsUFromTheLeftAndVFromTheBottom) {
    video::ITexture* texture = device.loadTexture("quadrants_64x32.png");
    TextureRegion region;
    region.setFromTexture(texture, "quadrants");
    const TestSprite sprite(texture, region.UV);

    EXPECT_EQ(getSpritePixel(sprite, 0.25f, 0.75f), opaqueRed);
    EXPECT_EQ(getSpritePixel(sprite, 0.75f, 0.75f), opaqueGreen);
    EXPECT_EQ(getSpritePixel(sprite, 0.25f, 0.25f), opaqueBlue);
    EXPECT_EQ(getSpritePixel(sprite, 0.75f, 0.25f), opaqueWhite);
    EXPECT_EQ(getSpritePixel(sprite, 0.0f, 1.0f), opaqueRed);
    EXPECT_EQ(getSpritePixel(sprite, 1.0f, 0.0f), opaqueWhite);

    EXPECT_EQ(getSpritePixel(sprite, -0.01f, 0.5f), 0u);
    EXPECT_EQ(getSpritePixel(sprite, 0.5f, 1.01f), 0u);
    EXPECT_EQ(getSpritePixel(TestSprite(nullptr, region.UV), 0.5f, 0.5f), 0u);
}

TEST_F(SpritePixelTest, RegionOffTheTextureCentreIsSampledInsideItself) {
    // The region is the top-left quadrant only (red): every point of it must read red, as an
    // atlas cell at the top of its page must read its own pixels.
    video::ITexture* texture = device.loadTexture("quadrants_64x32.png");
    const TestSprite sprite(texture, core::rectf(0, 0, 0.5f, 0.5f));
    for (float u : {0.0f, 0.3f, 0.99f}) {
        for (float v : {0.01f, 0.5f, 1.0f}) {
            EXPECT_EQ(getSpritePixel(sprite, u, v), opaqueRed) << u << ", " << v;
        }
    }
}

TEST_F(SpritePixelTest, TransparencyTestSamplesAroundThePoint) {
    const TestSprite sprite(makeSpotTexture(), core::rectf(0, 0, 1, 1));
    const core::vector2df spot(0.507f, 0.492f);

    // Radius 0 and step 0 (the input module's call): exactly the point.
    EXPECT_FALSE(isTransparentAround(sprite, spot, 0, 0));
    EXPECT_TRUE(isTransparentAround(sprite, core::vector2df(0.3f, 0.3f), 0, 0));

    // A radius with step 0 tests only the corner sample (u - r, v - r).
    EXPECT_TRUE(isTransparentAround(sprite, spot, 0.2f, 0));
    EXPECT_FALSE(isTransparentAround(sprite, spot + core::vector2df(0.2f, 0.2f), 0.2f, 0));

    // A grid of samples: the centre is one of them with step r, not with step 2r.
    EXPECT_FALSE(isTransparentAround(sprite, spot, 0.03f, 0.03f));
    EXPECT_TRUE(isTransparentAround(sprite, spot, 0.03f, 0.06f));
    // The last sample of each run is r itself.
    EXPECT_FALSE(isTransparentAround(sprite, spot - core::vector2df(0.1f, 0.1f), 0.1f, 0.05f));

    EXPECT_TRUE(isTransparentAround(sprite, spot, -0.1f, 0));
}
