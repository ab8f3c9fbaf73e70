#include "textures/texture_test.h"

#include "scene/texture_region.h"

using namespace irr;

using TextureRegionTest = OpenGLTextureTest;

TEST_F(TextureRegionTest, WholeTextureRegionLeavesOutTheOnePixelBorder) {
    video::ITexture* texture = device.loadTexture("quadrants_64x32.png");
    ASSERT_NE(texture, nullptr);

    TextureRegion named;
    named.setFromTexture(texture, "gui\\quadrants.png");
    EXPECT_EQ(named.Texture, texture);
    EXPECT_EQ(named.RegionName, "gui\\quadrants.png");
    EXPECT_TRUE(regionIs(named.PixelRect, named.UV, 1, 1, 63, 31, 0.015625f, 0.03125f, 0.984375f,
                         0.96875f));

    TextureRegion unnamed;
    unnamed.setFromTexture(texture);
    EXPECT_EQ(unnamed.RegionName, texture->getName().getPath().c_str());
}

TEST(TextureRegion, WithoutTextureTheSizeCountsAsOnePixel) {
    TextureRegion region;
    region.setFromTexture(nullptr, "nothing.png");
    EXPECT_FALSE(region.hasTexture());
    EXPECT_EQ(region.RegionName, "nothing.png");
    EXPECT_TRUE(regionIs(region.PixelRect, region.UV, 1, 1, 0, 0, 1, 1, 0, 0));
}
