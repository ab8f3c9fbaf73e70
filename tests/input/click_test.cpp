#include "input_fixture.h"

#include "input/click_behaviour.h"

namespace {

using Clicks = InputTest;

const irr::core::vector3df kLeft(-6, 0, 0);
const irr::core::vector3df kRight(6, 0, 0);

TEST_F(Clicks, AReleaseOverAButtonClicksItEvenWhenPressedElsewhereAndOnlyThenCountsAsHandled) {
    CNodeBasement* ok = button("ok", kLeft);
    frame();
    startRunning();

    moveTo(kRight);
    pressLeft();
    moveTo(kLeft);
    releaseLeft();
    EXPECT_EQ(count("click"), 0) << "clicks are handed on with the next frame";
    frame();
    ASSERT_EQ(count("click"), 1);
    EXPECT_EQ(global("clicked").get("_id").toInt(), ok->getID());
    EXPECT_EQ(global("clicked").get("_parentid").toInt(), kPoleId);
    EXPECT_FALSE(consumeAnyInput(0)) << "a handled click is no input for screens waiting for one";

    // Pressed on the button, released beside it: no click, and the input is unhandled.
    moveTo(kLeft);
    pressLeft();
    moveTo(kRight);
    releaseLeft();
    frame();
    EXPECT_EQ(count("click"), 1);
    EXPECT_TRUE(consumeAnyInput(0));
}

TEST_F(Clicks, RightClicksRunTheRightClickActionOnlyAndTheLastClickPositionFollowsThem) {
    run("function right(t) { bump(\"right\"); }");
    button("both", kLeft, "click", "-Event.Mouse.RClick.Action:right\n");
    make("-Name:rightOnly\n-Size:w4 h2\n-Event.Mouse.RClick.Action:right\n", kRight);
    frame();
    startRunning();

    rightClickAt(kLeft);
    EXPECT_EQ(count("right"), 1);
    EXPECT_EQ(count("click"), 0);
    irr::core::position2di shown = scene->screenPoint(kLeft);
    EXPECT_EQ(chain().getLastClickPosition(),
              irr::core::vector2df(static_cast<float>(shown.X), static_cast<float>(shown.Y)));
    EXPECT_FALSE(consumeAnyInput(0));

    // A left click on a node that only has a right-click action is not handled.
    clickAt(kRight);
    EXPECT_EQ(count("right"), 1);
    EXPECT_EQ(count("click"), 0);
    EXPECT_TRUE(consumeAnyInput(0));
    rightClickAt(kRight);
    EXPECT_EQ(count("right"), 2);
}

TEST_F(Clicks, HoldingTheButtonOverADragNodeRunsTheDragOncePerPressAndTheReleaseClicks) {
    run("function drag(t) { bump(\"drag\"); }");
    button("dragged", kLeft, "click",
           "-Event.Mouse.Drag.Action:drag\n-Event.Mouse.Click.Speed:25\n");
    frame();
    startRunning();

    moveTo(kLeft);
    pressLeft();
    frames(8);
    EXPECT_EQ(count("drag"), 1);
    EXPECT_EQ(count("click"), 0);
    EXPECT_TRUE(getEngine().getInput().isLeftDown());
    releaseLeft();
    frames(4);
    EXPECT_EQ(count("click"), 1);
    EXPECT_EQ(count("drag"), 1);

    pressLeft();
    frames(4);
    EXPECT_EQ(count("drag"), 2);
    // Held beside the node, nothing is dragged.
    releaseLeft();
    moveTo(kRight);
    pressLeft();
    frames(4);
    EXPECT_EQ(count("drag"), 2);
}

TEST_F(Clicks, TheNearerOfTwoOverlappingButtonsGetsTheClickAndOnEqualDepthTheEarlierOne) {
    run("function back(t) { bump(\"back\"); } function front(t) { bump(\"front\"); }");
    button("back", kLeft, "back");
    button("front", kLeft, "front", "-Position:s5\n");
    frame();
    startRunning();

    clickAt(kLeft);
    EXPECT_EQ(count("front"), 1);
    EXPECT_EQ(count("back"), 0);

    getNodeByName("front")->setLocalDepth(0);
    frame();
    clickAt(kLeft);
    EXPECT_EQ(count("back"), 1);
    EXPECT_EQ(count("front"), 1);
}

TEST_F(Clicks, AClickBlockerSwallowsClicksForTheNodesBehindItWithoutHandlingThem) {
    button("behind", kLeft);
    make("-Name:blocker\n-Size:w10 h10\n-Position:z-1\n-Event.Mouse.Click.Block:1\n", kLeft);
    frame();
    startRunning();

    clickAt(kLeft);
    EXPECT_EQ(count("click"), 0);
    EXPECT_EQ(chain().underCursorId(), getNodeByName("blocker")->getID());
    // Swallowed, not handled: screens waiting for any input see it.
    EXPECT_TRUE(consumeAnyInput(0));
}

TEST_F(Clicks, NothingIsClickedWhileTheGameIsPausedAndTheClickThenCountsAsUnhandled) {
    button("ok", kLeft);
    frame();
    startRunning();
    getEngine().setPauseLevel(2, true);
    clickAt(kLeft);
    EXPECT_EQ(count("click"), 0);
    EXPECT_TRUE(consumeAnyInput(0));
    getEngine().setPauseLevel(2, false);
    // The pause fader fades out over a second; until it is gone the game counts as paused.
    frames(4);
    clearAnyInput();
    clickAt(kLeft);
    EXPECT_EQ(count("click"), 0);
    EXPECT_TRUE(consumeAnyInput(0));
    frames(40);
    clickAt(kLeft);
    EXPECT_EQ(count("click"), 1);
}

TEST_F(Clicks, AButtonMadeDuringAPressIgnoresThatReleaseButTakesTheNextClickAtOnce) {
    frame();
    startRunning();
    moveTo(kLeft);
    pressLeft();
    // Made while the button is held (as an action run by that press would make it), under the
    // cursor when the press ends.
    button("late", kLeft);
    frame();
    moveTo(kLeft);
    ASSERT_EQ(chain().underCursorId(), getNodeByName("late")->getID());
    releaseLeft();
    frame();
    EXPECT_EQ(count("click"), 0);
    EXPECT_TRUE(consumeAnyInput(0)) << "the ignored release is no handled click";

    clickAt(kLeft);
    EXPECT_EQ(count("click"), 1) << "the lock-out is for the one press only";

    // A button with a click speed takes the release of a press in progress.
    moveTo(kRight);
    pressLeft();
    button("fast", kRight, "click", "-Event.Mouse.Click.Speed:25\n");
    frame();
    moveTo(kRight);
    releaseLeft();
    frame();
    EXPECT_EQ(count("click"), 2);
    EXPECT_EQ(global("clicked").get("_id").toInt(), getNodeByName("fast")->getID());
}

TEST_F(Clicks, AnActionThatMakesManyNewButtonsDoesNotDisturbTheClickBeingHandedOn) {
    program.writeData("gui/more.spr", "-Texture:\\gui\\orange.png\n-Size:w1 h1\n"
                                      "-Event.Mouse.Click.Action:click\n");
    run("function openMore(t) {"
        "  bump(\"open\");"
        "  for (local i = 0; i < 40; i++) core_CreateSprite(\"gui\\\\more.spr\", \"\","
        "      {x = -9 + i * 0.1, y = 6, name = \"more\" + i});"
        "}");
    button("opener", kLeft, "openMore");
    button("other", kRight);
    frame();
    startRunning({"gui\\more.spr"});

    clickAt(kLeft);
    EXPECT_EQ(count("open"), 1);
    EXPECT_EQ(count("click"), 0);
    ASSERT_NE(getNodeByName("more39"), nullptr);
    frame();
    // The new buttons (renamed after they were made) take clicks of their own.
    clickAt(irr::core::vector3df(-9 + 39 * 0.1f + 0.45f, 6, 0));
    EXPECT_EQ(count("click"), 1);
    EXPECT_EQ(global("clicked").get("_id").toInt(), getNodeByName("more39")->getID());
    EXPECT_EQ(count("open"), 1);
}

TEST_F(Clicks, ABehaviourLeavesHitTestingWhenItsNodeGoesAndForgetsItsIds) {
    CNodeBasement* ok = button("ok", kLeft);
    frame();
    startRunning();
    size_t clickables = chain().clickableCount();
    moveTo(kLeft);
    pressLeft();
    int id = ok->getID();
    EXPECT_EQ(chain().underCursorId(), id);
    EXPECT_EQ(chain().pressedId(), id);

    deleteNode(ok);
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(chain().clickableCount(), clickables - 1);
    EXPECT_EQ(chain().underCursorId(), 0);
    EXPECT_EQ(chain().pressedId(), 0);
    releaseLeft();
    frame();
    EXPECT_EQ(count("click"), 0);
    EXPECT_EQ(chain().pickNode(scene->screenPoint(kLeft)), 0);
}

} // namespace
