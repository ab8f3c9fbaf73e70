#include "input_fixture.h"

#include "platform/clock.h"
#include "scene/text_warnings.h"
#include "utils/debug.h"

namespace {

using Keyboard = InputTest;

const irr::core::vector3df kLeft(-6, 0, 0);

// Two shortcut clicks of any behaviours are at least this far apart.
const uint32_t kShortcutSpacingMs = 1000;
// A shortcut of -1 takes inputs from this long after its behaviour was made.
const uint32_t kAnyInputQuietMs = 500;

int keyEventsSeen(const InputGame& game, irr::EKEY_CODE code, bool pressed) {
    int seen = 0;
    for (const irr::SEvent& event : game.seen) {
        seen += event.EventType == irr::EET_KEY_INPUT_EVENT && event.KeyInput.Key == code &&
                        event.KeyInput.PressedDown == pressed
                    ? 1
                    : 0;
    }
    return seen;
}

TEST_F(Keyboard, ShortcutsFireOncePerHoldAtMostOncePerSecondNotWhilePausedAndAnyInputAfterAWait) {
    run("function byKey(t) { bump(\"key\"); } function byAny(t) { bump(\"any\"); }");
    button("keyed", kLeft, "byKey", "-Event.Mouse.Click.KeyShortcut:65\n");
    // Waits for quiet, so the earlier shortcut's spacing is over when this one fires.
    sleepMilliseconds(kShortcutSpacingMs + 50);
    frame();
    startRunning();

    key(irr::KEY_KEY_A, L'a', true);
    frames(6);
    EXPECT_EQ(count("key"), 1) << "held down, the key clicks once";
    key(irr::KEY_KEY_A, L'a', false);
    frames(2);
    key(irr::KEY_KEY_A, L'a', true);
    frames(2);
    EXPECT_EQ(count("key"), 1) << "too soon after the last shortcut click";
    sleepMilliseconds(kShortcutSpacingMs + 50);
    frames(2);
    EXPECT_EQ(count("key"), 2) << "still held once the second is over";
    key(irr::KEY_KEY_A, L'a', false);
    frames(2);

    getEngine().setPauseLevel(2, true);
    sleepMilliseconds(kShortcutSpacingMs + 50);
    key(irr::KEY_KEY_A, L'a', true);
    frames(3);
    EXPECT_EQ(count("key"), 2);
    key(irr::KEY_KEY_A, L'a', false);
    getEngine().setPauseLevel(2, false);
    frames(42);

    // -1: the first key or unhandled click that comes at least 500 ms after the behaviour.
    button("anything", irr::core::vector3df(6, 0, 0), "byAny",
           "-Event.Mouse.Click.KeyShortcut:-1\n");
    tap(irr::KEY_SPACE, L' ');
    frames(3);
    EXPECT_EQ(count("any"), 0);
    clearAnyInput();
    sleepMilliseconds(kAnyInputQuietMs + 50);
    clickAt(irr::core::vector3df(0, 6, 0));
    frames(2);
    EXPECT_EQ(count("any"), 1);
    EXPECT_FALSE(consumeAnyInput(0)) << "the shortcut took the input";
}

TEST_F(Keyboard, EveryQueuedKeyActionSeesItsOwnKeyEvent) {
    program.writeData("dialogs/keys.dlg", "-DialogName:keys\n-Event.OnKey.Action:onKey\n");
    run("::keys <- [];"
        "function onKey(t) { ::keys.append([t._key, t._pressed, t._shift, t._control]); }");
    ASSERT_NE(openDialog("dialogs\\keys.dlg"), nullptr);
    startRunning();

    // Two key events before the frame that runs their actions.
    key(irr::KEY_KEY_A, L'A', true, false, true);
    key(irr::KEY_KEY_B, L'b', false, true, false);
    EXPECT_EQ(global("keys").size(), 0);
    frame();
    squirrel::Object keys = global("keys");
    ASSERT_EQ(keys.size(), 2);
    EXPECT_EQ(keys.get(0).get(0).toInt(), irr::KEY_KEY_A);
    EXPECT_TRUE(keys.get(0).get(1).toBool());
    EXPECT_TRUE(keys.get(0).get(2).toBool());
    EXPECT_FALSE(keys.get(0).get(3).toBool());
    EXPECT_EQ(keys.get(1).get(0).toInt(), irr::KEY_KEY_B);
    EXPECT_FALSE(keys.get(1).get(1).toBool());
    EXPECT_FALSE(keys.get(1).get(2).toBool());
    EXPECT_TRUE(keys.get(1).get(3).toBool());
    // The game still sees the keys.
    EXPECT_EQ(keyEventsSeen(*inputGame, irr::KEY_KEY_A, true), 1);
}

TEST_F(Keyboard, EscapeRunsTheTopDialogsEscapeActionAndNeverReachesTheGame) {
    program.writeData("dialogs/lower.dlg",
                      "-DialogName:lower\n-Event.Keyboard.Esc.Pressed:bump(\"lower\");\n");
    program.writeData("dialogs/upper.dlg",
                      "-DialogName:upper\n-Event.Keyboard.Esc.Pressed:bump(\"upper\");\n");
    startRunning({"dialogs\\lower.dlg", "dialogs\\upper.dlg"});
    tap(irr::KEY_ESCAPE);
    frame();
    EXPECT_EQ(keyEventsSeen(*inputGame, irr::KEY_ESCAPE, true), 0);
    EXPECT_EQ(keyEventsSeen(*inputGame, irr::KEY_ESCAPE, false), 1);

    ASSERT_NE(openDialog("dialogs\\lower.dlg"), nullptr);
    ASSERT_NE(openDialog("dialogs\\upper.dlg"), nullptr);
    tap(irr::KEY_ESCAPE);
    frame();
    EXPECT_EQ(count("upper"), 1);
    EXPECT_EQ(count("lower"), 0);
    getEngine().closeDialog("upper", 0);
    frame();
    tap(irr::KEY_ESCAPE);
    frame();
    EXPECT_EQ(count("lower"), 1);
    EXPECT_EQ(keyEventsSeen(*inputGame, irr::KEY_ESCAPE, true), 0);
}

TEST_F(Keyboard, SpaceAndEnterAreInputsForScreensWaitingForAnyAndOtherKeysAreNot) {
    startRunning();
    tap(irr::KEY_KEY_X, L'x');
    EXPECT_FALSE(consumeAnyInput(0));
    tap(irr::KEY_SPACE, L' ');
    EXPECT_TRUE(consumeAnyInput(0));
    clearAnyInput();
    tap(irr::KEY_RETURN, L'\r');
    EXPECT_TRUE(consumeAnyInput(0));
    EXPECT_EQ(keyEventsSeen(*inputGame, irr::KEY_SPACE, true), 1);
}

TEST_F(Keyboard, DeveloperKeysWorkWithControlInDebugModeOnly) {
    startRunning();
    getEngine().getConfig().Debug = 1;
    debugOverlay = 0;
    tap(irr::KEY_KEY_B, L'b');
    EXPECT_EQ(getEngine().getConfig().Debug, 1) << "Control is needed";
    tap(irr::KEY_KEY_B, L'b', true);
    EXPECT_EQ(getEngine().getConfig().Debug, 3);
    tap(irr::KEY_KEY_B, L'b', true);
    EXPECT_EQ(getEngine().getConfig().Debug, 1);
    tap(irr::KEY_KEY_I, L'i', true);
    EXPECT_EQ(debugOverlay, 1);
    tap(irr::KEY_KEY_I, L'i', true);
    EXPECT_EQ(debugOverlay, 0);

    program.writeData("scripts/reloaded.nut", "::reloadedMark <- \"from the file\";");
    run("::reloadedMark <- \"changed\";");
    int warnings = warningCount();
    tap(irr::KEY_KEY_R, L'r', true);
    EXPECT_EQ(run("return ::reloadedMark;").toString(), "from the file") << "scripts reloaded";
    EXPECT_EQ(warningCount(), warnings + 1);
    EXPECT_TRUE(boxes.sawText("Caches cleared!"));
    // The scripts reload silently: the on-screen warning says so, no box interrupts.
    EXPECT_FALSE(boxes.sawText("Scripts recompiled!"));

    getEngine().getConfig().Debug = 0;
    tap(irr::KEY_KEY_I, L'i', true);
    EXPECT_EQ(debugOverlay, 0);
}

} // namespace
