// The picture keeps its 4:3 shape in a window of any shape. Its area is the largest centred 4:3
// rectangle; the pointer is mapped into it, so clicks land on what is drawn under them, and
// presses over the bars beside it reach nothing.

#include "input_fixture.h"

#include "scene/picture_area.h"
#include "scene/screen_mapping.h"

namespace {

irr::core::recti fitted(irr::u32 width, irr::u32 height) {
    return fitPictureArea(irr::core::dimension2du(width, height));
}

TEST(PictureArea, TheLargestCentredFourByThreeAreaFillsA43WindowAndLeavesBarsElsewhere) {
    EXPECT_EQ(fitted(800, 600), irr::core::recti(0, 0, 800, 600));
    EXPECT_EQ(fitted(640, 480), irr::core::recti(0, 0, 640, 480));
    EXPECT_EQ(fitted(1280, 720), irr::core::recti(160, 0, 1120, 720));
    EXPECT_EQ(fitted(1920, 1200), irr::core::recti(160, 0, 1760, 1200));
    EXPECT_EQ(fitted(600, 800), irr::core::recti(0, 175, 600, 625));
    // Sizes that do not divide evenly are rounded to the nearest pixel.
    EXPECT_EQ(fitted(1366, 768), irr::core::recti(171, 0, 1195, 768));
    EXPECT_EQ(fitted(1000, 700), irr::core::recti(33, 0, 966, 700));
    EXPECT_EQ(fitted(601, 800), irr::core::recti(0, 174, 601, 625));
    EXPECT_EQ(fitted(1, 1), irr::core::recti(0, 0, 1, 1));
    EXPECT_EQ(fitted(0, 0), irr::core::recti(0, 0, 0, 0));
}

using PictureRays = InputTest;

TEST_F(PictureRays, AtFourByThreeTheRayIsTheSceneLibrarysOwn) {
    irr::scene::ICameraSceneNode* camera = scene->camera();
    scene->scene()->drawAll();
    for (const irr::core::position2di& point :
         {irr::core::position2di(0, 0), irr::core::position2di(400, 300),
          irr::core::position2di(799, 17), irr::core::position2di(123, 599)}) {
        const irr::core::line3df library =
            scene->scene()->getSceneCollisionManager()->getRayFromScreenCoordinates(point, camera);
        const irr::core::line3df own = rayThroughPicturePoint(camera, point);
        EXPECT_EQ(own.start, library.start);
        EXPECT_EQ(own.end, library.end);
    }
}

// The engine's input on a 16:9 window: the picture is 960 by 720, with bars of 160 pixels.
class WideWindowInput : public InputTest {
protected:
    void SetUp() override {
        windowSize = irr::core::dimension2du(1280, 720);
        InputTest::SetUp();
    }
    void moveToWindowPoint(int x, int y) {
        device->getCursorControl()->setPosition(x, y);
        mouse(irr::EMIE_MOUSE_MOVED);
    }
};

TEST_F(WideWindowInput, ClicksLandOnTheButtonsDrawnUnderThePointer) {
    CNodeBasement* left = button("left", irr::core::vector3df(-6, 0, 0));
    button("right", irr::core::vector3df(6, 0, 0));
    frame();
    startRunning();

    clickAt(irr::core::vector3df(-6, 0, 0));
    ASSERT_EQ(count("click"), 1);
    EXPECT_EQ(global("clicked").get("_id").toInt(), left->getID());
    // The cursor is a point of the picture: 24 pixels to the unit, from its upper left corner.
    EXPECT_EQ(getEngine().getInput().cursorX(), 480 - 6 * 24);
    EXPECT_EQ(getEngine().getInput().cursorY(), 360);
    EXPECT_EQ(chain().getLastClickPosition(), irr::core::vector2df(336, 360));
    // Where the right button is drawn, not where a stretched picture would put it.
    moveToWindowPoint(160 + 480 + 6 * 24, 360);
    pressLeft();
    releaseLeft();
    frame();
    ASSERT_EQ(count("click"), 2);
    EXPECT_NE(global("clicked").get("_id").toInt(), left->getID());
}

TEST_F(WideWindowInput, OverTheBarsTheCursorStaysAtThePicturesEdgeAndPressesReachNothing) {
    // A field wider than the picture: its edges lie under the bars.
    make("-Name:field\n-Size:w60 h40\n-Event.Mouse.Click.Action:click\n"
         "-Event.Mouse.RClick.Action:click\n");
    frame();
    startRunning();

    for (const irr::core::position2di& bar :
         {irr::core::position2di(40, 360), irr::core::position2di(1270, 100)}) {
        moveToWindowPoint(bar.X, bar.Y);
        EXPECT_EQ(chain().underCursorId(), 0) << "nothing is under the pointer over a bar";
        pressLeft();
        EXPECT_FALSE(getEngine().getInput().isLeftDown());
        releaseLeft();
        mouse(irr::EMIE_RMOUSE_PRESSED_DOWN);
        mouse(irr::EMIE_RMOUSE_LEFT_UP);
        frame();
    }
    EXPECT_EQ(count("click"), 0);
    EXPECT_EQ(getEngine().getInput().cursorX(), 960);
    EXPECT_EQ(getEngine().getInput().cursorY(), 100);

    // Pressed in the picture and let go over a bar: the button is released, nothing is clicked.
    moveToWindowPoint(640, 360);
    EXPECT_NE(chain().underCursorId(), 0);
    pressLeft();
    EXPECT_TRUE(getEngine().getInput().isLeftDown());
    moveToWindowPoint(10, 360);
    releaseLeft();
    frame();
    EXPECT_FALSE(getEngine().getInput().isLeftDown());
    EXPECT_EQ(count("click"), 0);

    moveToWindowPoint(170, 360);
    pressLeft();
    releaseLeft();
    frame();
    EXPECT_EQ(count("click"), 1) << "just inside the picture, the field takes the click";
}

} // namespace
