// The bundled game's main menu in windows of four shapes (4:3, 16:9, 16:10 and upright): the
// picture keeps its shape and layout, centred between black bars, and a click lands on the button
// drawn under it, while a click over a bar reaches nothing. The pointer cannot leave the display,
// so the display must hold a 1920 by 1200 window (the test command's virtual display does).

#include "core/vellumengine.h"
#include "menu_run.h"
#include "scene/picture_area.h"
#include "support/test_program.h"
#include "support/window_resize.h"

#include <gtest/gtest.h>

#include <irrlicht/irrlicht.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const float kMenuZ = 0.0f;
const float kOptionsY = 0.75f;
const float kBackY = -8.2f;
const float kScreenItemZ = -1.7f;

// A screenshot reduced to the mean brightness of the cells of a grid over the picture, and what
// the brightest pixel of the bars beside the picture is.
struct PictureSummary {
    bool read = false;
    std::vector<float> cells;
    int brightestBar = 0;
};

const int kGridColumns = 40;
const int kGridRows = 30;

int brightness(const irr::video::SColor& pixel) {
    return static_cast<int>(pixel.getRed() + pixel.getGreen() + pixel.getBlue());
}

PictureSummary summarize(const std::string& pngPath) {
    PictureSummary summary;
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    irr::video::IImage* image = device->getVideoDriver()->createImageFromFile(pngPath.c_str());
    if (image != nullptr) {
        summary.read = true;
        const irr::core::dimension2du size = image->getDimension();
        const irr::core::recti picture = fitPictureArea(size);
        summary.cells.assign(kGridColumns * kGridRows, 0.0f);
        std::vector<int> counts(summary.cells.size(), 0);
        for (irr::u32 y = 0; y < size.Height; ++y) {
            for (irr::u32 x = 0; x < size.Width; ++x) {
                const irr::core::position2di at(static_cast<int>(x), static_cast<int>(y));
                const int value = brightness(image->getPixel(x, y));
                if (!picture.isPointInside(at) || at.X == picture.LowerRightCorner.X ||
                    at.Y == picture.LowerRightCorner.Y) {
                    summary.brightestBar = std::max(summary.brightestBar, value);
                    continue;
                }
                const int column =
                    (at.X - picture.UpperLeftCorner.X) * kGridColumns / picture.getWidth();
                const int row =
                    (at.Y - picture.UpperLeftCorner.Y) * kGridRows / picture.getHeight();
                summary.cells[row * kGridColumns + column] += static_cast<float>(value);
                ++counts[row * kGridColumns + column];
            }
        }
        for (size_t i = 0; i < summary.cells.size(); ++i) {
            summary.cells[i] /= static_cast<float>(std::max(counts[i], 1));
        }
        image->drop();
    }
    device->drop();
    return summary;
}

// The mean difference of two summaries' cells, in brightness steps (0 .. 765).
float meanDifference(const PictureSummary& a, const PictureSummary& b) {
    float total = 0;
    for (size_t i = 0; i < a.cells.size(); ++i) {
        total += std::fabs(a.cells[i] - b.cells[i]);
    }
    return total / static_cast<float>(a.cells.size());
}

struct ShapeRun {
    int optionsAt145 = -1;
    int optionsAt175 = -1;
    int mainMenuAt175 = -1;
    int boxes = -1;
    PictureSummary menu;
};

// Opens the options screen by its button and closes it again; in a window with bars, a click
// over a bar comes first, where nothing may answer it.
ShapeRun runShape(WindowSize window, const std::string& barClick) {
    TestProgram program;
    MenuRun run;
    run.window = window;
    // The pointer starts in the middle of the picture, where its drawn image stays clear of the
    // bars.
    const irr::core::position2di middle =
        fitPictureArea(irr::core::dimension2du(static_cast<irr::u32>(window.width),
                                               static_cast<irr::u32>(window.height)))
            .getCenter();
    run.input = "1 mouse move " + std::to_string(middle.X) + " " + std::to_string(middle.Y) + "\n" +
                barClick + clickAt(115, 0, kOptionsY, kMenuZ, window) +
                clickAt(150, 0, kBackY, kScreenItemZ, window);
    const std::string shot =
        "shape_" + std::to_string(window.width) + "x" + std::to_string(window.height) + ".png";
    run.shots = {{70, shot}};
    run.checks = {{112, {"options"}}, {145, {"options"}}, {175, {"options", "main_menu"}}};
    run.lastFrame = 180;
    MenuReport report = runMenus(program, run);
    ShapeRun result;
    result.optionsAt145 = report["options@145"];
    result.optionsAt175 = report["options@175"];
    result.mainMenuAt175 = report["main_menu@175"];
    result.boxes = report["boxes"];
    EXPECT_EQ(report["options@112"], 0) << "a click over the bars opened the options";
    result.menu = summarize(program.folder().native() + shot);
    return result;
}

// Replay lines: a left click at the window pixel (x, y) at `frame`.
std::string windowClick(int frame, int x, int y) {
    const std::string at = std::to_string(x) + " " + std::to_string(y);
    return std::to_string(frame) + " mouse move " + at + "\n" + std::to_string(frame + 1) +
           " mouse left-down " + at + " buttons=1\n" + std::to_string(frame + 3) +
           " mouse left-up " + at + "\n";
}

} // namespace

TEST(GameScreenShapes, TheMenuKeepsItsLayoutBetweenBlackBarsAndClicksLandOnItsButtons) {
    const ShapeRun reference = runShape({800, 600}, "");
    ASSERT_TRUE(reference.menu.read);
    EXPECT_EQ(reference.optionsAt145, 1);

    // The Options button's row, clicked in a bar (left of the picture, or above it); with the
    // picture stretched over the window, the button would lie under these points.
    struct Shape {
        WindowSize window;
        std::string barClick;
    };
    const std::vector<Shape> shapes = {
        {{1280, 720}, windowClick(80, 60, 345)},
        {{1920, 1200}, windowClick(80, 100, 575)},
        {{600, 800}, windowClick(80, 300, 100)},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(std::to_string(shape.window.width) + "x" +
                     std::to_string(shape.window.height));
        const ShapeRun run = runShape(shape.window, shape.barClick);
        ASSERT_TRUE(run.menu.read);
        EXPECT_EQ(run.optionsAt145, 1) << "the click on the Options button missed";
        EXPECT_EQ(run.optionsAt175, 0) << "the click on Back missed";
        EXPECT_EQ(run.mainMenuAt175, 1);
        EXPECT_EQ(run.boxes, 0);
        EXPECT_LE(run.menu.brightestBar, 0) << "the bars are not black";
        // The same picture at another scale: the cells differ by rounding and filtering only,
        // where a stretched or shifted picture differs by tens of steps.
        EXPECT_LT(meanDifference(run.menu, reference.menu), 12.0f);
    }
}

TEST(GameScreenShapes, AResizedWindowShowsThePictureWholeAndItsButtonsFollow) {
    const WindowSize wide{1280, 720};
    TestProgram program;
    MenuRun run;
    run.window = {800, 600};
    run.actions = {
        {60, [wide] {
             EXPECT_TRUE(resizeWindow(getEngine().getDevice(),
                                      irr::core::dimension2du(static_cast<irr::u32>(wide.width),
                                                              static_cast<irr::u32>(wide.height))));
         }}};
    run.input = clickAt(80, 0, kOptionsY, kMenuZ, wide);
    run.shots = {{75, "shape_resized.png"}};
    run.checks = {{110, {"options"}}};
    run.lastFrame = 115;
    MenuReport report = runMenus(program, run);

    EXPECT_EQ(report["options@110"], 1) << "the click missed the Options button";
    const PictureSummary resized = summarize(program.folder().native() + "shape_resized.png");
    ASSERT_TRUE(resized.read);
    EXPECT_LE(resized.brightestBar, 0) << "the bars are not black";
    // Against the main menu drawn at 800 by 600 from the start.
    const ShapeRun reference = runShape({800, 600}, "");
    EXPECT_LT(meanDifference(resized, reference.menu), 12.0f);
}
