#include "textures/texture_test.h"

#include "scene/image_placement.h"
#include "scene/texture_cache.h"

#include <vector>

using namespace irr;

namespace {

const video::SColor green(255, 0, 200, 0);

} // namespace

class ImagePlacementTest : public TextureTest {
protected:
    // A zeroed page of columns x rows cells and its free grid.
    void makePage(int pageColumns, int pageRows) {
        columns = pageColumns;
        rows = pageRows;
        page = driver()->createImage(video::ECF_A8R8G8B8,
                                     core::dimension2du(u32(32 * columns), u32(32 * rows)));
        page->fill(video::SColor(0));
        grid.assign(size_t(columns * rows), 0);
    }

    void TearDown() override {
        if (page) {
            page->drop();
        }
        TextureTest::TearDown();
    }

    int place(const std::string& path, TextureRegion& region) {
        return placeImage(path, region, page, &grid, columns, rows);
    }

    video::IImage* page = nullptr;
    std::vector<uint8_t> grid;
    int columns = 0;
    int rows = 0;
};

TEST_F(ImagePlacementTest, ImagesTakeTheFirstFreeBlockOfCellsRowsFirst) {
    copyTestImage("odd_33x33.png", "art\\odd.png");
    writeSolidImage("art\\wide.png", 64, 32, green);
    writeSolidImage("art\\tall.png", 32, 64, green);
    writeSolidImage("art\\cell.png", 32, 32, green);
    makePage(3, 2);

    // 33 by 33 pixels need 2 by 2 cells.
    TextureRegion odd;
    ASSERT_EQ(place("art\\odd.png", odd), 0);
    EXPECT_EQ(odd.RegionName, "art\\odd.png");
    EXPECT_EQ(odd.Texture, nullptr);
    EXPECT_TRUE(regionIs(odd.PixelRect, odd.UV, 1, 1, 32, 32, 1 / 96.0f, 1 / 64.0f, 32 / 96.0f,
                         32 / 64.0f));
    EXPECT_EQ(grid, (std::vector<uint8_t>{1, 1, 0, 1, 1, 0}));
    // The image lies at the page's corner: its red mark at (0, 0), its last pixel at (32, 32).
    EXPECT_EQ(page->getPixel(0, 0).color, 0xFFFF0000u);
    EXPECT_EQ(page->getPixel(32, 32).color, video::SColor(255, 10, 200, 30).color);
    EXPECT_EQ(page->getPixel(33, 33).color, 0u);

    // Two cells side by side are left nowhere.
    TextureRegion wide;
    EXPECT_EQ(place("art\\wide.png", wide), 1);
    EXPECT_EQ(grid, (std::vector<uint8_t>{1, 1, 0, 1, 1, 0}));

    TextureRegion tall;
    ASSERT_EQ(place("art\\tall.png", tall), 0);
    EXPECT_TRUE(regionIs(tall.PixelRect, tall.UV, 65, 1, 95, 63, 65 / 96.0f, 1 / 64.0f, 95 / 96.0f,
                         63 / 64.0f));
    EXPECT_EQ(page->getPixel(64, 0).color, green.color);
    EXPECT_EQ(page->getPixel(95, 63).color, green.color);

    TextureRegion cell;
    EXPECT_EQ(place("art\\cell.png", cell), 1);
}

TEST_F(ImagePlacementTest, RowsFillFromTheLeftBeforeTheNextRow) {
    writeSolidImage("art\\cell.png", 32, 32, green);
    makePage(2, 2);
    const int expectedLeft[] = {1, 33, 1, 33};
    const int expectedTop[] = {1, 1, 33, 33};
    for (int i = 0; i < 4; ++i) {
        TextureRegion region;
        ASSERT_EQ(place("art\\cell.png", region), 0);
        EXPECT_EQ(region.PixelRect.UpperLeftCorner,
                  core::position2di(expectedLeft[i], expectedTop[i]));
    }
}

TEST_F(ImagePlacementTest, RedIsTransparentAppliesOnAPageToo) {
    writeImage("art\\keyed.png", 32, 32,
               [](u32 x, u32) { return x < 16 ? video::SColor(255, 255, 0, 0) : green; });
    makePage(1, 1);
    TextureRegion region;
    ASSERT_EQ(place("art\\keyed.png[red_is_transparent]", region), 0);
    EXPECT_EQ(region.RegionName, "art\\keyed.png[red_is_transparent]");
    EXPECT_EQ(page->getPixel(3, 3).color, 0x00FF0000u);
    EXPECT_EQ(page->getPixel(20, 3).color, green.color);
}

TEST_F(ImagePlacementTest, SingleImageBecomesADriverTextureNamedByTheFullPath) {
    writeSolidImage("art\\cell.png", 40, 36, green);
    TextureRegion region;
    ASSERT_EQ(placeImage("art\\cell.png|combined", region, nullptr, nullptr, 0, 0), 0);
    ASSERT_TRUE(region.hasTexture());
    EXPECT_EQ(driver()->findTexture("art\\cell.png|combined"), region.Texture);
    EXPECT_TRUE(regionIs(region.PixelRect, region.UV, 1, 1, 39, 35, 1 / 40.0f, 1 / 36.0f,
                         39 / 40.0f, 35 / 36.0f));
}

TEST_F(ImagePlacementTest, ImageSmallerThanACellIsFatal) {
    writeSolidImage("art\\small.png", 32, 31, green);
    makePage(1, 1);
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            TextureRegion region;
            place("art\\small.png", region);
        },
        testing::ExitedWithCode(1), "box: Image art\\\\small.png too small to be used in combiner");
}

TEST_F(ImagePlacementTest, ImageThatCannotBeLoadedIsFatal) {
    program.writeData("art/broken.png", "not an image");
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            TextureRegion region;
            getTextureRegion("art\\broken.png[red_is_transparent]");
        },
        testing::ExitedWithCode(1), "box: Image art\\\\broken.png can not be loaded at all!!!");
}

TEST_F(ImagePlacementTest, PageWithoutGridIsFatal) {
    writeSolidImage("art\\cell.png", 32, 32, green);
    makePage(1, 1);
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            TextureRegion region;
            placeImage("art\\cell.png", region, page, nullptr, 0, 0);
        },
        testing::ExitedWithCode(1), "box: WTF\\?\\?\\? target\\?\\?\\?");
}

TEST_F(ImagePlacementTest, PageThatIsNot32BitIsFatal) {
    writeSolidImage("art\\cell.png", 32, 32, green);
    video::IImage* shallow = driver()->createImage(video::ECF_A1R5G5B5, core::dimension2du(32, 32));
    std::vector<uint8_t> cells(1, 0);
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            TextureRegion region;
            placeImage("art\\cell.png", region, shallow, &cells, 1, 1);
        },
        testing::ExitedWithCode(1),
        "box: Image target art\\\\cell.png BPP Error! Only 32b images allowed this time!!!");
    shallow->drop();
}
