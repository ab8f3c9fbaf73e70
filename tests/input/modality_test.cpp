#include "input_fixture.h"

#include "input/exclusive_link.h"
#include "input/modal_dialog_marker.h"

namespace {

using Modality = InputTest;

const irr::core::vector3df kLeft(-6, 0, 0);
const irr::core::vector3df kRight(6, 0, 0);
const irr::core::vector3df kTop(0, 5, 0);

std::string modalDialog(const std::string& name, const std::string& buttonName, float x, float y) {
    return "-DialogName:" + name + "\n-ModalDialog:1\n[Sprite]\n-Texture:\\gui\\orange.png\n" +
           "-Name:" + buttonName + "\n-Size:w4 h2\n-Position:x" + std::to_string(x) + " y" +
           std::to_string(y) + "\n-Event.Mouse.Click.Action:click\n";
}

TEST_F(Modality, OnlyTheTopmostModalDialogTakesClicksAndClicksOutsideItAreUnhandled) {
    program.writeData("dialogs/first.dlg", modalDialog("first", "firstButton", 6, 0));
    program.writeData("dialogs/second.dlg", modalDialog("second", "secondButton", 0, 5));
    button("below", kLeft);
    CNodeBasement* first = openDialog("dialogs\\first.dlg");
    ASSERT_NE(first, nullptr);
    frame();
    startRunning({"dialogs\\second.dlg"});
    EXPECT_EQ(chain().getTopModality(false), 1);
    EXPECT_EQ(chain().getModalityLog(), "+" + std::to_string(first->getID()) + ":first\n");

    clickAt(kLeft);
    EXPECT_EQ(count("click"), 0);
    EXPECT_TRUE(consumeAnyInput(0));
    clickAt(kRight);
    EXPECT_EQ(count("click"), 1);
    EXPECT_EQ(global("clicked").get("_id").toInt(), getNodeByName("firstButton")->getID());

    ASSERT_NE(openDialog("dialogs\\second.dlg"), nullptr);
    frame();
    EXPECT_EQ(chain().getTopModality(false), 2);
    clickAt(kRight);
    EXPECT_EQ(count("click"), 1);
    clickAt(kTop);
    EXPECT_EQ(count("click"), 2);
    EXPECT_EQ(global("clicked").get("_id").toInt(), getNodeByName("secondButton")->getID());

    // Closing the top dialog gives its level back to the one below.
    getEngine().closeDialog("second", 0);
    frame();
    clickAt(kRight);
    EXPECT_EQ(count("click"), 3);
    getEngine().closeDialog("first", 0);
    frame();
    EXPECT_EQ(chain().getTopModality(false), 0);
    EXPECT_EQ(chain().getModalityLog(), "");
    clickAt(kLeft);
    EXPECT_EQ(count("click"), 4);
}

TEST_F(Modality, AClickRefusedBelowADialogDoesNotFireLaterWhenTheDialogCloses) {
    // A key shortcut makes the button step on its own, not only when a click is handed on.
    button("polling", kLeft, "click", "-Event.Mouse.Click.KeyShortcut:90\n");
    CNodeBasement* dialog = make("-Name:aDialog\n-Size:w1 h1\n", kRight);
    attachAnimatorDormant(dialog, new CModalDialogMarker());
    frame();
    startRunning();
    clickAt(kLeft);
    EXPECT_EQ(count("click"), 0);

    deleteNode(dialog);
    frames(4);
    EXPECT_EQ(count("click"), 0);
    clickAt(kLeft);
    EXPECT_EQ(count("click"), 1);
}

TEST_F(Modality, ADisabledButtonSwallowsItsClicksAndWhileItsImageShowsOnlyItTakesInput) {
    program.writeData("gui/disabled.spr", "-Texture:\\gui\\orange.png\n-Size:w1 h1\n");
    run("::locked <- true;");
    CNodeBasement* guarded = button("guarded", kLeft, "click",
                                    "-Event.Mouse.Click.AutodisableIf.Action:return ::locked;\n"
                                    "-Event.Mouse.Click.AutodisableIf.Image:\\gui\\disabled.spr\n");
    button("other", kRight);
    frames(24);
    startRunning({"gui\\disabled.spr"});
    ASSERT_EQ(guarded->getChildren().size(), 1u) << "the disabled image";
    EXPECT_EQ(chain().getTopModality(false), CFocusChain::kExclusiveLevel);

    clickAt(kLeft);
    EXPECT_EQ(count("click"), 0);
    EXPECT_FALSE(consumeAnyInput(0)) << "a disabled button handles its click";
    clickAt(kRight);
    EXPECT_EQ(count("click"), 0);
    EXPECT_TRUE(consumeAnyInput(0));

    run("::locked <- false;");
    frames(40);
    EXPECT_EQ(guarded->getChildren().size(), 0u);
    EXPECT_EQ(chain().getTopModality(false), 0);
    clickAt(kRight);
    clickAt(kLeft);
    EXPECT_EQ(count("click"), 2);
}

TEST_F(Modality, ClickFeedbackOnAHoveredButtonMakesItExclusiveUntilTheFeedbackIsGone) {
    program.writeData("gui/flash.spr", "-Texture:\\gui\\orange.png\n-Size:w1 h1\n");
    program.writeData("gui/glow.spr", "-Texture:\\gui\\orange.png\n-Size:w1 h1\n");
    button("hovered", kLeft, "click",
           "-Event.Mouse.Click.Image:\\gui\\flash.spr\n-Event.Mouse.Over.Image:\\gui\\glow.spr\n");
    button("plain", kRight);
    frame();
    startRunning({"gui\\flash.spr", "gui\\glow.spr"});

    clickAt(kLeft);
    EXPECT_EQ(count("click"), 1);
    EXPECT_EQ(chain().getTopModality(false), CFocusChain::kExclusiveLevel);
    clickAt(kRight);
    EXPECT_EQ(count("click"), 1);
    clickAt(kLeft);
    EXPECT_EQ(count("click"), 2);

    // The feedback deletes itself after a second, and the exclusive entry goes with it.
    frames(50);
    EXPECT_EQ(chain().getTopModality(false), 0);
    clickAt(kRight);
    EXPECT_EQ(count("click"), 3);
}

TEST_F(Modality, LevelsComeFromTheEntriesUpTheParentChainAndExclusiveEntriesCanBeSkipped) {
    CNodeBasement* dialog = make("-Name:dialogRoot\n-Size:w1 h1\n");
    CNodeBasement* inside = make("-Name:inside\n-Size:w1 h1\n", kLeft, dialog);
    CNodeBasement* deeper = make("-Name:deeper\n-Size:w1 h1\n", kLeft, inside);
    CNodeBasement* outside = make("-Name:outside\n-Size:w1 h1\n", kRight);
    attachAnimatorDormant(dialog, new CModalDialogMarker());
    EXPECT_EQ(chain().getModalityLevel(deeper->getID(), false), 1);
    EXPECT_EQ(chain().getModalityLevel(outside->getID(), false), 0);
    EXPECT_EQ(chain().getModalityLevel(kPoleId, false), 0);
    EXPECT_TRUE(chain().isInputAllowed(deeper->getID()));
    EXPECT_FALSE(chain().isInputAllowed(outside->getID()));

    CNodeBasement* feedback = make("-Size:w1 h1\n", kLeft, inside);
    attachAnimator(feedback, new CExclusiveLink(inside));
    EXPECT_EQ(chain().getTopModality(false), CFocusChain::kExclusiveLevel);
    EXPECT_EQ(chain().getTopModality(true), 1);
    EXPECT_EQ(chain().getModalityLevel(deeper->getID(), false), CFocusChain::kExclusiveLevel);
    EXPECT_EQ(chain().getModalityLevel(deeper->getID(), true), 1);
    EXPECT_TRUE(chain().isInputAllowed(deeper->getID()));
    EXPECT_FALSE(chain().isInputAllowed(dialog->getID()));

    deleteNode(feedback);
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_TRUE(chain().isInputAllowed(dialog->getID()));
    EXPECT_EXIT(chain().getModalityLevel(4321, false), testing::ExitedWithCode(1), "");
}

TEST_F(Modality, OnADeveloperMachineAParentWhoseIdLeadsElsewhereIsReportedAndDumped) {
    program.folder().write("modality_check/.keep", "");
    CNodeBasement* parent = make("-Name:realParent\n-Size:w1 h1\n");
    CNodeBasement* child = make("-Name:child\n-Size:w1 h1\n", kLeft, parent);
    CNodeBasement* thief = make("-Size:w1 h1\n", kRight);
    attachAnimatorDormant(make("-Name:someDialog\n-Size:w1 h1\n"), new CModalDialogMarker());
    // A second node takes the parent's ID table entry.
    thief->setID(parent->getID());
    EXPECT_EQ(chain().getModalityLevel(child->getID(), false), 0);
    EXPECT_TRUE(boxes.sawText("Error: Zaputalis parenty! ID parenta != parentu node\n"
                              "idname='child'\nParent by ID name='"));
    std::string dump = program.folder().read("modality_check/modality_dump.txt");
    EXPECT_NE(dump.find(":realParent"), std::string::npos);
    EXPECT_NE(dump.find("Parent by hier='"), std::string::npos);
}

} // namespace
