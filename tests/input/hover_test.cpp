#include "input_fixture.h"

#include "input/hover_behaviour.h"
#include "input/modal_dialog_marker.h"

namespace {

const irr::core::vector3df kLeft(-6, 0, 0);
const irr::core::vector3df kRight(6, 0, 0);

class HoverTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        program.writeData("gui/glow.spr", "-Texture:\\gui\\orange.png\n-Size:w1 h1\n");
        run("::overs <- [];"
            "function hoverIn(t) { ::overs.append([t._isover, t._id, t._parentid]); }"
            "function hoverOut(t) { ::overs.append([t._isover, t._id, t._parentid]); }");
    }
    CNodeBasement* hoverButton(const std::string& name, const irr::core::vector3df& position) {
        return make("-Name:" + name +
                        "\n-Size:w4 h2\n-Event.Mouse.Over.Image:\\gui\\glow.spr\n"
                        "-Event.Mouse.Over.In.Script:hoverIn\n"
                        "-Event.Mouse.Over.Out.Script:hoverOut\n",
                    position);
    }
    static int overCount() { return global("overs").size(); }
    static squirrel::Object over(int index) { return global("overs").get(index); }
};

TEST_F(HoverTest, ComingOverShowsTheImageAndRunsTheInScriptAndLeavingFadesItAndRunsTheOut) {
    CNodeBasement* node = hoverButton("hovered", kLeft);
    frame();
    startRunning({"gui\\glow.spr"});

    moveTo(kLeft);
    frame();
    ASSERT_EQ(node->getChildren().size(), 1u);
    auto* image = static_cast<CNodeBasement*>(*node->getChildren().begin());
    EXPECT_EQ(image->getSize(), node->getSize());
    ASSERT_EQ(overCount(), 1);
    EXPECT_TRUE(over(0).get(0).toBool());
    EXPECT_EQ(over(0).get(1).toInt(), node->getID());
    EXPECT_EQ(over(0).get(2).toInt(), kPoleId);
    // Moving within the node changes nothing.
    moveTo(kLeft + irr::core::vector3df(1, 0, 0));
    frame();
    EXPECT_EQ(overCount(), 1);
    EXPECT_EQ(node->getChildren().size(), 1u);

    moveTo(kRight);
    frame();
    ASSERT_EQ(overCount(), 2);
    EXPECT_FALSE(over(1).get(0).toBool());
    EXPECT_EQ(node->getChildren().size(), 1u) << "the image fades out first";
    frames(16);
    EXPECT_EQ(node->getChildren().size(), 0u);
}

TEST_F(HoverTest, NodesBelowAModalDialogAndAPausedGameShowNoHover) {
    CNodeBasement* node = hoverButton("hovered", kLeft);
    CNodeBasement* dialog = make("-Name:aDialog\n-Size:w1 h1\n", kRight);
    attachAnimatorDormant(dialog, new CModalDialogMarker());
    frame();
    startRunning({"gui\\glow.spr"});
    moveTo(kLeft);
    frame();
    EXPECT_EQ(overCount(), 0);
    EXPECT_EQ(node->getChildren().size(), 0u);

    deleteNode(dialog);
    getEngine().getRenderer().drainDeletionQueue();
    getEngine().setPauseLevel(2, true);
    // A press hands the hover behaviours the state again.
    pressLeft();
    releaseLeft();
    frame();
    EXPECT_EQ(overCount(), 0);
    getEngine().setPauseLevel(2, false);
    pressLeft();
    releaseLeft();
    frame();
    EXPECT_EQ(overCount(), 1);
    EXPECT_EQ(node->getChildren().size(), 1u);
}

TEST_F(HoverTest, AHoverWithoutImageStillRunsItsScriptsAndItsNodeGoingAwayEndsIt) {
    CNodeBasement* node = make("-Name:plain\n-Size:w4 h2\n-Event.Mouse.Over.In.Script:hoverIn\n"
                               "-Event.Mouse.Over.Out.Script:hoverOut\n",
                               kLeft);
    frame();
    startRunning({"gui\\glow.spr"});
    moveTo(kLeft);
    frame();
    EXPECT_EQ(overCount(), 1);
    auto* hover = dynamic_cast<CHoverBehaviour*>(node->findAnimator(CHoverBehaviour::kName, false));
    ASSERT_NE(hover, nullptr);
    EXPECT_TRUE(hover->isHovering());
    EXPECT_EQ(node->getChildren().size(), 0u);

    deleteNode(node);
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(chain().underCursorId(), 0);
    moveTo(kRight);
    frame();
    EXPECT_EQ(overCount(), 1);
}

} // namespace
