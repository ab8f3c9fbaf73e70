#include "x11_input.h"

#include "core/vellumengine.h"
#include "input/any_input.h"
#include "input/focus_chain.h"
#include "platform/key_state.h"
#include "platform/process.h"
#include "scene/node_factory.h"
#include "scene/node_text.h"
#include "scene/node_utilities.h"
#include "script/module_scripting_core.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/pixel_test_device.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "support/window_focus.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The engine on an OpenGL window of the (virtual) X display, with the input module as the
// device's event receiver, so input comes through the window system as the user's does.
class InputWindow : public testing::Test {
protected:
    void SetUp() override {
        setLanguage("data_en");
        program.copyTestImage("orange_16.png", "gui/orange.png");
        program.copyTestImage("alpha_steps_48x16.png", "gui/steps.png");
        window = std::make_unique<PixelTestDevice>(irr::video::EDT_OPENGL,
                                                   irr::core::dimension2du(640, 480));
        ASSERT_TRUE(window->valid());
        device = window->irrlichtDevice();
        device->getTimer()->stop();
        device->getTimer()->setTime(1000);
        scene = std::make_unique<EngineScene>(device);
        game = new TestGame();
        CVellumEngine& engine = getEngine();
        engine.setClient(game);
        game->drop();
        engine.setMainThreadId(currentThreadId());
        registerCoreFunctions(engine.getScripting().vm());
        engine.getScripting().vm().run(
            "::counts <- {};"
            "function bump(name) { if (!(name in ::counts)) ::counts[name] <- 0; "
            "::counts[name]++; }",
            "test");
        defineNameId("pole", 1001);
        engine.rootNode() = createEmptyNode(scene->root(), 1001, irr::core::vector3df(0, 0, 0));
        device->setEventReceiver(&engine.getInput());
        input = std::make_unique<X11Input>(device);
        ASSERT_TRUE(input->valid());
        clearKeyStates();
        clearAnyInput();
    }
    void TearDown() override {
        CVellumEngine& engine = getEngine();
        if (device != nullptr) {
            device->setEventReceiver(nullptr);
            engine.getRenderer().drainDeletionQueue();
            scene->scene()->clear();
        }
        engine.rootNode() = nullptr;
        engine.setStage(STAGE_CREATED);
        clearDescriptionCache();
        clearKeyStates();
        scene.reset();
        window.reset();
        engine.setClient(nullptr);
        engine.setMainThreadId(0);
    }

    CNodeBasement* make(const std::string& description, const irr::core::vector3df& position) {
        return createSprite("raw:\\\n" + description, 1, 1, position, getEngine().rootNode(),
                            nullptr, "input window test");
    }
    // The device takes its window messages, then a frame is drawn 25 ms later than the last.
    void frame() {
        device->run();
        device->getTimer()->setTime(now += 25);
        scene->driver()->beginScene(true, true, irr::video::SColor(255, 0, 0, 0));
        getEngine().getRenderer().renderAll();
        scene->driver()->endScene();
    }
    void clickAt(const irr::core::vector3df& point) {
        irr::core::position2di pixel = scene->screenPoint(point);
        input->movePointer(pixel.X, pixel.Y);
        input->leftButton(true);
        input->leftButton(false);
        frame();
        frame();
    }
    static int count(const std::string& name) {
        return getEngine().getScripting().vm().rootTable().get("counts").get(name).toInt();
    }

    TestProgram program;
    MessageBoxRecorder boxes;
    std::unique_ptr<PixelTestDevice> window;
    irr::IrrlichtDevice* device = nullptr;
    std::unique_ptr<EngineScene> scene;
    TestGame* game = nullptr;
    std::unique_ptr<X11Input> input;
    irr::u32 now = 1000;
};

TEST_F(InputWindow, APixelPerfectButtonTakesClicksOnItsOpaquePixelsOnlyAndTheOneBehindTheRest) {
    make("-Texture:\\gui\\orange.png\n-Size:w12 h4\n-Event.Mouse.Click.Action:bump(\"back\");\n",
         irr::core::vector3df(0, 0, 0));
    // Columns of alpha 255, 128 and 0, each 2 units wide.
    make("-Texture:\\gui\\steps.png\n-Size:w6 h2\n-Position:z-1\n"
         "-Event.Mouse.Click.Action:bump(\"front\");\n-Event.Mouse.Click.PixelPerfect:1\n",
         irr::core::vector3df(0, 0, 0));
    frame();
    getEngine().setStage(STAGE_RUNNING);

    clickAt(irr::core::vector3df(-2, 0, 0));
    EXPECT_EQ(count("front"), 1);
    EXPECT_EQ(count("back"), 0);
    clickAt(irr::core::vector3df(0, 0.5f, 0));
    EXPECT_EQ(count("front"), 2) << "alpha 128 counts as opaque";
    clickAt(irr::core::vector3df(2, 0, 0));
    EXPECT_EQ(count("front"), 2);
    EXPECT_EQ(count("back"), 1);
    clickAt(irr::core::vector3df(5, 1.5f, 0));
    EXPECT_EQ(count("back"), 2);
}

TEST_F(InputWindow, KeysLetGoOfWhileTheWindowHadNoFocusDoNotStayDown) {
    frame();
    getEngine().setStage(STAGE_RUNNING);
    ASSERT_TRUE(setWindowFocus(device, true));
    frame();
    input->key(XK_a, true);
    frame();
    ASSERT_TRUE(readKeyState(irr::KEY_KEY_A));

    // The user switches to another window and lets the key go there.
    ASSERT_TRUE(setWindowFocus(device, false));
    frame();
    getEngine().getInput().updateCursor();
    EXPECT_FALSE(readKeyState(irr::KEY_KEY_A));
    ASSERT_TRUE(setWindowFocus(device, true));
    frame();
    getEngine().getInput().updateCursor();
    EXPECT_FALSE(readKeyState(irr::KEY_KEY_A));
}

TEST_F(InputWindow, TypedAndPastedTextReachesTheEditorAsOneLineOfPrintableText) {
    make("-Texture:\\gui\\orange.png\n-Name:entry\n-Size:w8 h1\n-Label:?\n"
         "-Animation.SimpleTextEditor:s20 @name\n",
         irr::core::vector3df(0, 0, 0));
    CTextNode* label = findTextNode("entry");
    ASSERT_NE(label, nullptr);
    frame();
    getEngine().setStage(STAGE_RUNNING);

    input->type("<sound=x>");
    frame();
    frame();
    EXPECT_EQ(label->getStringProperty("name", ""), "<sound=x>");
    EXPECT_EQ(label->getText(), " <sound=x>|");

    device->getOSOperator()->copyToClipboard("ab\ncd\te");
    input->key(XK_v, true, true);
    input->key(XK_v, false, true);
    frame();
    frame();
    EXPECT_EQ(label->getStringProperty("name", ""), "<sound=x>abcde");
}

} // namespace
