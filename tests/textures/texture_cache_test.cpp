#include "textures/texture_test.h"

#include "core/vellumengine.h"
#include "scene/pixel_copies.h"
#include "scene/texture_cache.h"
#include "utils/debug.h"

#include <vector>

using namespace irr;

namespace {

const video::SColor red(255, 255, 0, 0);
const video::SColor blue(255, 0, 0, 255);
const video::SColor nearRed(255, 254, 0, 0);

bool sameRegion(const TextureRegion& a, const TextureRegion& b) {
    return a.Texture == b.Texture && a.RegionName == b.RegionName && a.UV == b.UV &&
           a.PixelRect == b.PixelRect;
}

} // namespace

class TextureCacheTest : public OpenGLTextureTest {
protected:
    void SetUp() override {
        OpenGLTextureTest::SetUp();
        // Starts the counts of this test afresh.
        profilingReport();
    }

    int driverLoads() { return profiledCount(profilingReport(), "RETRTEXT-READTEXDRV"); }
};

TEST_F(TextureCacheTest, SecondLookupIsServedFromTheCacheWithoutReachingTheDriver) {
    copyTestImage("quadrants_64x32.png", "gui\\quadrants.png");

    const TextureRegion first = getTextureRegion("gui\\quadrants.png");
    ASSERT_TRUE(first.hasTexture());
    EXPECT_EQ(first.RegionName, "gui\\quadrants.png");
    EXPECT_TRUE(regionIs(first.PixelRect, first.UV, 1, 1, 63, 31, 0.015625f, 0.03125f, 0.984375f,
                         0.96875f));
    const TextureRegion second = getTextureRegion("gui\\quadrants.png");
    EXPECT_TRUE(sameRegion(first, second));
    // The driver keeps the texture under the texture path, not under the file's native name.
    EXPECT_EQ(driver()->findTexture("gui\\quadrants.png"), first.Texture);

    const std::string report = profilingReport();
    EXPECT_EQ(profiledCount(report, "RETRTEXT-READTEXDRV"), 1);
    EXPECT_EQ(profiledCount(report, "RETRTEXT-CACHMISS"), 1);
    EXPECT_EQ(profiledCount(report, "RETRTEXT-BINSEARCH"), 2);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TextureCacheTest, DataNamesAreLoadedFromTheLanguageFolderFirst) {
    copyTestImage("quadrants_64x32.png", "gui\\picture.png");
    program.folder().write("data_en/gui/.keep", "");
    writeSolidImage("..\\data_en\\gui\\picture.png", 40, 40, blue);

    const TextureRegion region = getTextureRegion("gui\\picture.png");
    ASSERT_TRUE(region.hasTexture());
    EXPECT_EQ(region.Texture->getOriginalSize(), core::dimension2du(40, 40));
}

TEST_F(TextureCacheTest, PathsDifferingInCaseAreSeparateKeysAndUpperCaseDrawsTheWarning) {
    copyTestImage("quadrants_64x32.png", "gui\\quadrants.png");

    EXPECT_TRUE(getTextureRegion("gui\\quadrants.png").hasTexture());
    EXPECT_TRUE(boxes.boxes().empty());
    const TextureRegion upper = getTextureRegion("gui\\Quadrants.png");
    EXPECT_TRUE(upper.hasTexture());
    EXPECT_EQ(upper.RegionName, "gui\\Quadrants.png");
    EXPECT_TRUE(boxes.sawText("Wrong texure path! Cache miss: path case\ngui\\Quadrants.png"));
    EXPECT_EQ(profiledCount(profilingReport(), "RETRTEXT-CACHMISS"), 2);
}

TEST_F(TextureCacheTest, MissingImageGivesAnEmptyRegionThatIsNotCached) {
    const TextureRegion region = getTextureRegion("gui\\missing.png");
    EXPECT_FALSE(region.hasTexture());
    EXPECT_FALSE(getTextureRegion("gui\\missing.png").hasTexture());
    EXPECT_EQ(driverLoads(), 2);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TextureCacheTest, EveryEntryIsFoundAfterInsertionsInAnyOrder) {
    const std::vector<std::string> names = {"m", "b", "z", "a", "q", "c", "ab", "b0"};
    for (const std::string& name : names) {
        writeSolidImage("sorted\\" + name + ".png", 8, 8, blue);
    }
    // Lookups of earlier entries between the insertions sort the array while it grows.
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(getTextureRegion("sorted\\" + names[i] + ".png").hasTexture());
        EXPECT_EQ(getTextureRegion("sorted\\" + names[i / 2] + ".png").RegionName,
                  "sorted\\" + names[i / 2] + ".png");
    }
    EXPECT_EQ(driverLoads(), int(names.size()));

    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        EXPECT_EQ(getTextureRegion("sorted\\" + *name + ".png").RegionName,
                  "sorted\\" + *name + ".png");
    }
    EXPECT_EQ(driverLoads(), 0);
}

TEST_F(TextureCacheTest, RedIsTransparentMakesOnlyPureRedPixelsTransparent) {
    // Left half pure red; right half blue at the top and almost red at the bottom.
    writeImage("actors\\keyed.png", 32, 32,
               [](u32 x, u32 y) { return x < 16 ? red : (y < 16 ? blue : nearRed); });

    const std::string path = "actors\\keyed.png[red_is_transparent]";
    const TextureRegion region = getTextureRegion(path);
    ASSERT_TRUE(region.hasTexture());
    EXPECT_EQ(region.RegionName, path);
    EXPECT_EQ(driver()->findTexture(path.c_str()), region.Texture);
    EXPECT_TRUE(regionIs(region.PixelRect, region.UV, 1, 1, 31, 31, 1 / 32.0f, 1 / 32.0f,
                         31 / 32.0f, 31 / 32.0f));

    const PixelCopy* keyed = getPixelCopy(region.Texture);
    ASSERT_NE(keyed, nullptr);
    EXPECT_EQ(keyed->Pixels[5 * 32 + 3], 0x00FF0000u);
    EXPECT_EQ(keyed->Pixels[5 * 32 + 20], blue.color);
    EXPECT_EQ(keyed->Pixels[20 * 32 + 20], nearRed.color);

    // The image without the suffix is a texture of its own and keeps its red.
    const TextureRegion plain = getTextureRegion("actors\\keyed.png");
    ASSERT_TRUE(plain.hasTexture());
    EXPECT_NE(plain.Texture, region.Texture);
    const PixelCopy* unkeyed = getPixelCopy(plain.Texture);
    ASSERT_NE(unkeyed, nullptr);
    EXPECT_EQ(unkeyed->Pixels[5 * 32 + 3], red.color);
}

TEST_F(TextureCacheTest, RemovingATextureMakesTheNextLookupLoadItAgain) {
    copyTestImage("quadrants_64x32.png", "gui\\quadrants.png");
    ASSERT_TRUE(getTextureRegion("gui\\quadrants.png").hasTexture());
    ASSERT_TRUE(getTextureRegion("gui\\Quadrants.png").hasTexture());
    EXPECT_EQ(driverLoads(), 2);

    // A name the driver does not know changes nothing.
    removeTextureByName("gui\\other.png");
    EXPECT_TRUE(getTextureRegion("gui\\quadrants.png").hasTexture());
    EXPECT_EQ(driverLoads(), 0);

    removeTextureByName("gui\\quadrants.png");
    EXPECT_EQ(driver()->findTexture("gui\\quadrants.png"), nullptr);
    // Both spellings shared the driver's texture; neither may keep pointing at it.
    const TextureRegion upper = getTextureRegion("gui\\Quadrants.png");
    const TextureRegion lower = getTextureRegion("gui\\quadrants.png");
    EXPECT_EQ(driverLoads(), 2);
    EXPECT_EQ(upper.Texture, lower.Texture);
    EXPECT_EQ(driver()->findTexture("gui\\quadrants.png"), lower.Texture);
}
