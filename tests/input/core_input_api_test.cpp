#include "input_fixture.h"

#include "platform/clock.h"
#include "script/node_table.h"

namespace {

using InputFunctions = InputTest;

TEST_F(InputFunctions, AnyInputIsTakenOnceRepeatsRightAfterItAreDroppedAndClearingStartsAfresh) {
    startRunning();
    EXPECT_FALSE(run("return core_AnyInputOcured();").toBool());
    run("core_SetAnyInputOcured();");
    EXPECT_TRUE(run("return core_AnyInputOcured();").toBool());
    EXPECT_FALSE(run("return core_AnyInputOcured();").toBool());
    // An input right after the one just taken repeats it (a double click, a bouncing key).
    run("core_SetAnyInputOcured();");
    EXPECT_FALSE(run("return core_AnyInputOcured();").toBool());
    run("core_ClearAnyInputOcured(); core_SetAnyInputOcured();");
    EXPECT_TRUE(run("return core_AnyInputOcured();").toBool());
    sleepMilliseconds(kAnyInputRepeatWindowMs + 20);
    clickAt(irr::core::vector3df(0, 0, 0));
    EXPECT_TRUE(run("return core_AnyInputOcured();").toBool()) << "an unhandled click, later";

    run("core_ClearAnyInputOcured(); core_SetAnyInputOcured();");
    EXPECT_FALSE(run("return core_IsAnyKeySince(core_GetTick() + 500);").toBool());
    EXPECT_TRUE(run("return core_IsAnyKeySince(core_GetTick() - 500);").toBool());
    run("core_SetAnyInputOcured(); core_ClearAnyInputOcured();");
    EXPECT_FALSE(run("return core_IsAnyKeySince(0);").toBool());
    // No arguments allowed: the machine refuses the call.
    EXPECT_THROW(run("core_AnyInputOcured(1);"), squirrel::SquirrelError);
}

TEST_F(InputFunctions, KeysAndTheLeftButtonAreReadAsTheyAreNow) {
    startRunning();
    EXPECT_FALSE(run("return core_KeyPressed(65);").toBool());
    key(irr::KEY_KEY_A, L'a', true);
    EXPECT_TRUE(run("return core_KeyPressed(65);").toBool());
    EXPECT_FALSE(run("return core_KeyPressed(66);").toBool());
    key(irr::KEY_KEY_A, L'a', false);
    EXPECT_FALSE(run("return core_KeyPressed(65);").toBool());

    EXPECT_FALSE(run("return core_GetIsLeftButtonDown();").toBool());
    pressLeft();
    EXPECT_TRUE(run("return core_GetIsLeftButtonDown();").toBool());
    releaseLeft();
    EXPECT_FALSE(run("return core_GetIsLeftButtonDown();").toBool());
}

TEST_F(InputFunctions, CursorAndClickPositionsAreSceneUnitsFromTheCameraOrFromTheNode) {
    make("-Name:marker\n-Size:w1 h1\n", irr::core::vector3df(1, 1, 0));
    program.writeData("gui/box.spr", "-Texture:\\gui\\orange.png\n-Size:w1 h1\n");
    frame();
    startRunning({"gui\\box.spr"});

    moveTo(irr::core::vector3df(3, 2, 0));
    squirrel::Object cursor = run("return core_GetCurrentCursorPosition();");
    EXPECT_NEAR(cursor.get("_x").toFloat(), 3, 0.1f);
    EXPECT_NEAR(cursor.get("_y").toFloat(), 2, 0.1f);
    cursor = run("return core_GetCurrentCursorPosition(\"marker\", 1);");
    EXPECT_NEAR(cursor.get("_x").toFloat(), 2, 0.1f);
    EXPECT_NEAR(cursor.get("_y").toFloat(), 1, 0.1f);
    EXPECT_TRUE(run("return core_GetCurrentCursorPosition(\"nothing\", 1);").isNull());

    clickAt(irr::core::vector3df(-4, 3, 0));
    moveTo(irr::core::vector3df(5, -5, 0));
    squirrel::Object click = run("return core_GetLastClickPosition(\"\", 0);");
    EXPECT_NEAR(click.get("_x").toFloat(), -4, 0.1f);
    EXPECT_NEAR(click.get("_y").toFloat(), 3, 0.1f);
    click = run("return core_GetLastClickPosition(\"marker\", 1);");
    EXPECT_NEAR(click.get("_x").toFloat(), -5, 0.1f);
    EXPECT_NEAR(click.get("_y").toFloat(), 2, 0.1f);
    EXPECT_TRUE(run("return core_GetLastClickPosition(\"nothing\", 0);").isNull());

    // A sprite made under the last click, in the plane of its parent.
    CNodeBasement* made =
        resolveNodeReference(run("return core_CreateSprite(\"gui\\\\box.spr\", \"marker\","
                                 " {underLastClick = 1, retSprite = 1});"));
    ASSERT_NE(made, nullptr);
    made->updateAbsolutePosition();
    EXPECT_NEAR(made->getAbsolutePosition().X, -4, 0.1f);
    EXPECT_NEAR(made->getAbsolutePosition().Y, 3, 0.1f);
}

TEST_F(InputFunctions, SetNodeActionGivesANodeAClickActionOrReplacesItsAction) {
    make("-Name:plain\n-Size:w4 h2\n", irr::core::vector3df(-6, 0, 0));
    button("ready", irr::core::vector3df(6, 0, 0), "click");
    run("function other(t) { bump(\"other\"); }");
    frame();
    startRunning();

    EXPECT_TRUE(run("return core_SetNodeAction(\"plain\", \"click\");").toBool());
    EXPECT_TRUE(run("return core_SetNodeAction(\"ready\", \"other\");").toBool());
    EXPECT_FALSE(run("return core_SetNodeAction(\"nothing\", \"click\");").toBool());
    frame();
    clickAt(irr::core::vector3df(-6, 0, 0));
    EXPECT_EQ(count("click"), 1);
    clickAt(irr::core::vector3df(6, 0, 0));
    EXPECT_EQ(count("click"), 1);
    EXPECT_EQ(count("other"), 1);

    // Without an action the node takes clicks (it is hit-testable) but handles none.
    EXPECT_TRUE(run("return core_SetNodeAction(\"plain\");").toBool());
    clearAnyInput();
    clickAt(irr::core::vector3df(-6, 0, 0));
    EXPECT_EQ(count("click"), 1);
    EXPECT_TRUE(consumeAnyInput(0));
}

} // namespace
