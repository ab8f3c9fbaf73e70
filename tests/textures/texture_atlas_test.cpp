#include "textures/texture_test.h"

#include "core/vellumengine.h"
#include "platform/key_state.h"
#include "scene/texture_atlas.h"

#include <filesystem>

using namespace irr;

namespace {

const video::SColor green(255, 0, 200, 0);

core::dimension2du sizeOf(u32 width, u32 height) {
    return core::dimension2du(width, height);
}

} // namespace

using TextureAtlasTest = TextureTest;

TEST_F(TextureAtlasTest, AtlasSizeFollowsTheLargestTextureTheDriverAllows) {
    int& largeTextures = getEngine().getConfig().largeTextures;

    EXPECT_EQ(atlasSizeFor(sizeOf(1024, 1024)), sizeOf(0, 0));
    EXPECT_EQ(atlasSizeFor(sizeOf(2047, 4096)), sizeOf(0, 0));
    EXPECT_EQ(largeTextures, 1);

    EXPECT_EQ(atlasSizeFor(sizeOf(2048, 1024)), sizeOf(2048, 1024));
    EXPECT_EQ(atlasSizeFor(sizeOf(16384, 512)), sizeOf(2048, 512));
    EXPECT_EQ(atlasSizeFor(sizeOf(8192, 8192)), sizeOf(2048, 2048));
    // Only the width is tested.
    EXPECT_EQ(atlasSizeFor(sizeOf(4096, 16)), sizeOf(2048, 16));
    EXPECT_EQ(largeTextures, 1);

    EXPECT_EQ(atlasSizeFor(sizeOf(1023, 8192)), sizeOf(0, 0));
    EXPECT_EQ(largeTextures, 0);
}

TEST_F(TextureAtlasTest, AtlasSizeIsAskedOfTheCurrentDriver) {
    // The null driver claims textures of 65536 pixels.
    EXPECT_EQ(getAtlasSize(), sizeOf(2048, 2048));
    getEngine().setDeviceServices(nullptr);
    EXPECT_EQ(getAtlasSize(), sizeOf(0, 0));
}

TEST_F(TextureAtlasTest, PageTakesEntriesInOrderAndDropsCommentsAndKeys) {
    writeSolidImage("lists\\a.png", 64, 64, green);
    copyTestImage("odd_33x33.png", "lists\\b.png");
    std::deque<std::string> entries = {"",        "; a comment", "-Name:icons", "\\gui\\x.png",
                                       "// note", "  a.png  ",   "b.png"};
    std::vector<TextureRegion> placed;

    video::IImage* page = buildAtlasPage("lists\\atlas.cfg", entries, placed);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->getDimension(), sizeOf(2048, 2048));
    EXPECT_EQ(page->getPixel(2047, 2047).color, 0u);
    page->drop();

    EXPECT_TRUE(entries.empty());
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].RegionName, "lists\\a.png");
    EXPECT_EQ(placed[0].Texture, nullptr);
    EXPECT_TRUE(regionIs(placed[0].PixelRect, placed[0].UV, 1, 1, 63, 63, 1 / 2048.0f, 1 / 2048.0f,
                         63 / 2048.0f, 63 / 2048.0f));
    EXPECT_EQ(placed[1].RegionName, "lists\\b.png");
    EXPECT_EQ(placed[1].PixelRect, core::recti(65, 1, 96, 32));
}

TEST_F(TextureAtlasTest, EntryThatDoesNotFitStaysForTheNextPage) {
    for (const char* name : {"one", "two", "three", "four", "five"}) {
        writeSolidImage(std::string("lists\\") + name + ".png", 1024, 1024, green);
    }
    std::deque<std::string> entries = {"one.png", "two.png", "three.png", "four.png", "five.png"};
    std::vector<TextureRegion> placed;

    video::IImage* first = buildAtlasPage("lists\\atlas.cfg", entries, placed);
    ASSERT_NE(first, nullptr);
    first->drop();
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_EQ(placed[3].PixelRect, core::recti(1025, 1025, 2047, 2047));
    EXPECT_EQ(entries, std::deque<std::string>{"five.png"});

    placed.clear();
    video::IImage* second = buildAtlasPage("lists\\atlas.cfg", entries, placed);
    ASSERT_NE(second, nullptr);
    second->drop();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].RegionName, "lists\\five.png");
    EXPECT_EQ(placed[0].PixelRect, core::recti(1, 1, 1023, 1023));
}

TEST_F(TextureAtlasTest, ImageLargerThanAPageIsReportedAndLeftOut) {
    writeSolidImage("lists\\huge.png", 2080, 32, green);
    writeSolidImage("lists\\a.png", 32, 32, green);
    std::deque<std::string> entries = {"huge.png", "a.png"};
    std::vector<TextureRegion> placed;

    video::IImage* page = buildAtlasPage("lists\\atlas.cfg", entries, placed);
    ASSERT_NE(page, nullptr);
    page->drop();
    EXPECT_TRUE(boxes.sawText("Image lists\\huge.png is larger than an atlas page\nin "
                              "lists\\atlas.cfg"));
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].RegionName, "lists\\a.png");
    EXPECT_TRUE(entries.empty());
}

TEST_F(TextureAtlasTest, NothingToPlaceGivesNoPage) {
    std::deque<std::string> entries = {"; only", "-DynamicList:1"};
    std::vector<TextureRegion> placed;
    EXPECT_EQ(buildAtlasPage("lists\\atlas.cfg", entries, placed), nullptr);
    EXPECT_TRUE(placed.empty());

    getEngine().setDeviceServices(nullptr);
    entries = {"a.png"};
    EXPECT_EQ(buildAtlasPage("lists\\atlas.cfg", entries, placed), nullptr);
    EXPECT_EQ(entries.size(), 1u);
}

TEST_F(TextureAtlasTest, EntryNamingAMissingFileIsFatal) {
    std::deque<std::string> entries = {"missing.png"};
    std::vector<TextureRegion> placed;
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            buildAtlasPage("lists\\atlas.cfg", entries, placed);
        },
        testing::ExitedWithCode(1), "box: Wrong texture\nin lists\\\\atlas.cfg:\nmissing.png");
}

TEST_F(TextureAtlasTest, DebugModeWithShiftWritesThePage) {
    writeSolidImage("lists\\a.png", 32, 32, green);
    const auto pagesWritten = [this] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(program.folder().native())) {
            const std::string name = entry.path().filename().string();
            count += name.rfind("debug_autogenerated_atlas_", 0) == 0 && name.size() > 4 &&
                     name.substr(name.size() - 4) == ".bmp";
        }
        return count;
    };
    std::vector<TextureRegion> placed;
    const auto build = [&] {
        std::deque<std::string> entries = {"a.png"};
        video::IImage* page = buildAtlasPage("lists\\atlas.cfg", entries, placed);
        ASSERT_NE(page, nullptr);
        page->drop();
    };

    getEngine().getConfig().Debug = 1;
    build();
    EXPECT_EQ(pagesWritten(), 0);
    setKeyState(0x10, true);
    build();
    setKeyState(0x10, false);
    EXPECT_EQ(pagesWritten(), 1);
    getEngine().getConfig().Debug = 0;
    setKeyState(0x10, true);
    build();
    setKeyState(0x10, false);
    EXPECT_EQ(pagesWritten(), 1);
}
