#include "textures/texture_test.h"

#include "scene/texture_cache.h"
#include "scene/texture_lists.h"
#include "utils/debug.h"

#include <cstdlib>

using namespace irr;

namespace {

const video::SColor green(255, 0, 200, 0);

std::string textureName(video::ITexture* texture) {
    return texture ? texture->getName().getPath().c_str() : "";
}

std::string textureName(const TextureRegion& region) {
    return textureName(region.Texture);
}

// The number after "FakeTex_", or -1 for another name.
int fakeNumber(const std::string& name) {
    return name.rfind("FakeTex_", 0) == 0 ? std::atoi(name.c_str() + 8) : -1;
}

} // namespace

class TextureListTest : public TextureTest {
protected:
    // Five images of 1024 by 1024 pixels: four fill a page, the fifth needs another.
    void writeFiveLargeImages() {
        for (const char* name : {"one", "two", "three", "four", "five"}) {
            writeSolidImage(std::string("lists\\") + name + ".png", 1024, 1024, green);
        }
    }

    const std::string fiveImages = "one.png\ntwo.png\nthree.png\nfour.png\nfive.png\n";
};

TEST_F(TextureListTest, ListNeedingSeveralPagesNamesThemWithTheFakeCounter) {
    writeFiveLargeImages();
    loadTextureLists("lists\\atlas.cfg", "[List]\n" + fiveImages, "", false);
    profilingReport();

    const TextureRegion one = getTextureRegion("lists\\one.png");
    const TextureRegion four = getTextureRegion("lists\\four.png");
    const TextureRegion five = getTextureRegion("lists\\five.png");
    EXPECT_EQ(profiledCount(profilingReport(), "RETRTEXT-READTEXDRV"), 0);

    const int first = fakeNumber(textureName(one));
    ASSERT_GE(first, 0);
    EXPECT_EQ(four.Texture, one.Texture);
    EXPECT_EQ(fakeNumber(textureName(five)), first + 1);
    EXPECT_EQ(driver()->findTexture(textureName(one).c_str()), one.Texture);
    EXPECT_EQ(driver()->findTexture(textureName(five).c_str()), five.Texture);
    EXPECT_TRUE(regionIs(one.PixelRect, one.UV, 1, 1, 1023, 1023, 1 / 2048.0f, 1 / 2048.0f,
                         1023 / 2048.0f, 1023 / 2048.0f));
    EXPECT_EQ(four.PixelRect, core::recti(1025, 1025, 2047, 2047));
    EXPECT_EQ(five.PixelRect, core::recti(1, 1, 1023, 1023));
}

TEST_F(TextureListTest, NamedListNeedingSeveralPagesGivesEveryPageATextureOfItsOwn) {
    writeFiveLargeImages();
    loadTextureLists("lists\\atlas.cfg", "[List]\n-Name:icons\n" + fiveImages, "", false);

    const TextureRegion one = getTextureRegion("lists\\one.png");
    const TextureRegion five = getTextureRegion("lists\\five.png");
    EXPECT_EQ(textureName(one), "icons");
    EXPECT_EQ(textureName(five), "icons_1");
    // The first page is still the driver's: its regions do not point at a removed texture.
    EXPECT_EQ(driver()->findTexture("icons"), one.Texture);
    EXPECT_EQ(driver()->findTexture("icons_1"), five.Texture);
}

TEST_F(TextureListTest, GivenNameNamesTheFirstPageOnly) {
    writeFiveLargeImages();
    loadTextureLists("lists\\atlas.cfg", "[List]\n-Name:icons\n" + fiveImages, "given", false);
    EXPECT_EQ(textureName(getTextureRegion("lists\\one.png")), "given");
    EXPECT_EQ(textureName(getTextureRegion("lists\\five.png")), "icons");

    loadTextureLists("lists\\other.cfg", "[List]\n" + fiveImages, "again", false);
    EXPECT_EQ(textureName(getTextureRegion("lists\\one.png")), "again");
    EXPECT_GE(fakeNumber(textureName(getTextureRegion("lists\\five.png"))), 0);
}

TEST_F(TextureListTest, EachSectionMakesItsOwnPagesAndSectionsWithoutImagesAreSkipped) {
    writeSolidImage("lists\\a.png", 32, 32, green);
    writeSolidImage("lists\\b.png", 32, 32, green);
    loadTextureLists("lists\\atlas.cfg",
                     "; before any list\n[List]\n-Name:first\na.png\n\n[List]\n\n"
                     "[List]\n-Name:disabled\n; a.png\n[List]\n-Name:second\nb.png\n",
                     "", false);
    const TextureRegion a = getTextureRegion("lists\\a.png");
    const TextureRegion b = getTextureRegion("lists\\b.png");
    EXPECT_EQ(textureName(a), "first");
    EXPECT_EQ(textureName(b), "second");
    EXPECT_EQ(a.PixelRect, b.PixelRect);
    // A section whose lines are all comments makes no page and does not end the loading.
    EXPECT_EQ(driver()->findTexture("disabled"), nullptr);
}

TEST_F(TextureListTest, DynamicOnlyEndsAtTheFirstSectionWithoutTheKey) {
    for (const char* name : {"a", "b", "c"}) {
        writeSolidImage(std::string("lists\\") + name + ".png", 32, 32, green);
    }
    const std::string text = "[List]\n-DynamicList:1\n-Name:dyn1\na.png\n"
                             "[List]\n-Name:static\nb.png\n"
                             "[List]\n-DynamicList:1\n-Name:dyn2\nc.png\n";
    loadTextureLists("lists\\atlas.cfg", text, "", true);
    EXPECT_NE(driver()->findTexture("dyn1"), nullptr);
    EXPECT_EQ(driver()->findTexture("static"), nullptr);
    EXPECT_EQ(driver()->findTexture("dyn2"), nullptr);

    loadTextureLists("lists\\atlas.cfg", text, "", false);
    EXPECT_NE(driver()->findTexture("static"), nullptr);
    EXPECT_NE(driver()->findTexture("dyn2"), nullptr);
}

TEST_F(TextureListTest, WildcardLinesTakeEveryMatchingFileOnce) {
    writeSolidImage("lists\\icons\\b.png", 32, 32, green);
    writeSolidImage("lists\\icons\\a.png", 32, 32, green);
    program.writeData("lists/icons/readme.txt", "not an image");
    loadTextureLists("lists\\atlas.cfg", "[List]\n-Name:icons\nicons\\b.png\nicons\\*.png\n", "",
                     false);

    const TextureRegion a = getTextureRegion("lists\\icons\\a.png");
    const TextureRegion b = getTextureRegion("lists\\icons\\b.png");
    EXPECT_EQ(textureName(a), "icons");
    EXPECT_EQ(textureName(b), "icons");
    // b comes first as written; the pattern adds only a.
    EXPECT_EQ(b.PixelRect, core::recti(1, 1, 31, 31));
    EXPECT_EQ(a.PixelRect, core::recti(33, 1, 63, 31));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TextureListTest, ReloadingANamedListReplacesItsPageAndRegions) {
    writeSolidImage("lists\\a.png", 32, 32, green);
    writeSolidImage("lists\\b.png", 32, 32, green);
    loadTextureLists("lists\\atlas.cfg", "[List]\n-Name:icons\na.png\nb.png\n", "", false);

    loadTextureLists("lists\\atlas.cfg", "[List]\n-Name:icons\na.png\n", "", false);
    profilingReport();
    const TextureRegion a = getTextureRegion("lists\\a.png");
    EXPECT_EQ(textureName(a), "icons");
    EXPECT_EQ(driver()->findTexture("icons"), a.Texture);
    // The old page is gone from the driver.
    int pagesNamedIcons = 0;
    for (u32 i = 0; i < driver()->getTextureCount(); ++i) {
        pagesNamedIcons += textureName(driver()->getTextureByIndex(i)) == "icons";
    }
    EXPECT_EQ(pagesNamedIcons, 1);
    EXPECT_EQ(profiledCount(profilingReport(), "RETRTEXT-READTEXDRV"), 0);

    // b was on the removed page; it is loaded as a texture of its own now.
    const TextureRegion b = getTextureRegion("lists\\b.png");
    EXPECT_EQ(profiledCount(profilingReport(), "RETRTEXT-READTEXDRV"), 1);
    EXPECT_EQ(textureName(b), "lists\\b.png");
}
