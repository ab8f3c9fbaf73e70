#include "core/vellumengine.h"
#include "platform/frame_capture.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "scene/node_sprite.h"
#include "script/module_scripting_core.h"
#include "support/engine_scene.h"
#include "support/pixel_test_device.h"
#include "support/temporary_folder.h"
#include "support/test_game.h"
#include "utils/debug.h"
#include "utils/modal_gui_loop.h"
#include "utils/popup_menu.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace irr;

namespace {

const core::dimension2du screenSize(640, 480);
const video::SColor orange(255, 200, 100, 50);

// Counts the steps it is given.
class CountingAnimator : public scene::ISceneNodeAnimator {
public:
    void animateNode(scene::ISceneNode*, u32) override { ++steps; }
    scene::ISceneNodeAnimator* createClone(scene::ISceneNode*,
                                           scene::ISceneManager* = nullptr) override {
        return nullptr;
    }
    int steps = 0;
};

// The engine on a real window (OpenGL under the virtual display) with an orange sprite at the
// top left, nobody marked absent, and the script functions registered. Each test answers the
// menu or prompt through events it posts from the loop hook, one step per loop iteration.
class AskOnScreen : public testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
        if (const char* ci = std::getenv("CI")) {
            savedCi = ci;
            unsetenv("CI");
        }
        setUnattendedRun(false);
        device = std::make_unique<PixelTestDevice>(video::EDT_OPENGL, screenSize);
        ASSERT_TRUE(device->valid());
        scene = std::make_unique<EngineScene>(device->irrlichtDevice());
        sprite = scene->addSprite(testImagePath("orange_16.png"), core::vector3df(-12, 8, 0),
                                  core::dimension2df(10, 8));
        getEngine().setMainThreadId(currentThreadId());
        registerCoreFunctions(vm());
        setModalLoopHook([this](IrrlichtDevice*) {
            ++iterations;
            if (iterations > kMaxIterations) {
                ADD_FAILURE() << "the loop did not end";
                postKey(KEY_ESCAPE, 0);
                return;
            }
            if (static_cast<size_t>(iterations) <= steps.size()) {
                steps[iterations - 1]();
            }
        });
        cursor()->setPosition(100, 100);
    }

    void TearDown() override {
        setModalLoopHook(nullptr);
        getEngine().setMainThreadId(0);
        scene.reset();
        device.reset();
        if (!savedCi.empty()) {
            setenv("CI", savedCi.c_str(), 1);
        }
    }

    static constexpr int kMaxIterations = 200;

    static squirrel::VM& vm() { return getEngine().getScripting().vm(); }
    static squirrel::Object eval(const std::string& expression) {
        return vm().run("return " + expression + ";", "test");
    }

    IrrlichtDevice* irrlicht() const { return device->irrlichtDevice(); }
    gui::ICursorControl* cursor() const { return irrlicht()->getCursorControl(); }
    gui::IGUIEnvironment* gui() const { return irrlicht()->getGUIEnvironment(); }

    // The GUI element of that type below the root (the open menu or prompt window).
    gui::IGUIElement* openElement(gui::EGUI_ELEMENT_TYPE type) const {
        for (gui::IGUIElement* child : gui()->getRootGUIElement()->getChildren()) {
            if (child->getType() == type) {
                return child;
            }
        }
        return nullptr;
    }
    gui::IGUIContextMenu* openMenu() const {
        return static_cast<gui::IGUIContextMenu*>(openElement(gui::EGUIET_CONTEXT_MENU));
    }
    gui::IGUIElement* promptButton(const wchar_t* text) const {
        gui::IGUIElement* window = openElement(gui::EGUIET_WINDOW);
        for (gui::IGUIElement* child :
             window ? window->getChildren() : core::list<gui::IGUIElement*>()) {
            if (child->getType() == gui::EGUIET_BUTTON && core::stringw(text) == child->getText()) {
                return child;
            }
        }
        return nullptr;
    }
    // The middle of the menu's item (its items are equally high).
    static core::position2di itemCentre(gui::IGUIContextMenu* menu, int index) {
        const core::recti area = menu->getAbsolutePosition();
        const int count = static_cast<int>(menu->getItemCount());
        return core::position2di(area.getCenter().X, area.UpperLeftCorner.Y + area.getHeight() *
                                                                                  (2 * index + 1) /
                                                                                  (2 * count));
    }

    void postMouse(EMOUSE_INPUT_EVENT kind, core::position2di at) {
        SEvent event{};
        event.EventType = EET_MOUSE_INPUT_EVENT;
        event.MouseInput.Event = kind;
        event.MouseInput.X = at.X;
        event.MouseInput.Y = at.Y;
        irrlicht()->postEventFromUser(event);
    }
    void click(core::position2di at, bool rightButton = false) {
        postMouse(EMIE_MOUSE_MOVED, at);
        postMouse(rightButton ? EMIE_RMOUSE_PRESSED_DOWN : EMIE_LMOUSE_PRESSED_DOWN, at);
        postMouse(rightButton ? EMIE_RMOUSE_LEFT_UP : EMIE_LMOUSE_LEFT_UP, at);
    }
    void postKey(EKEY_CODE key, wchar_t character) {
        SEvent event{};
        event.EventType = EET_KEY_INPUT_EVENT;
        event.KeyInput.Key = key;
        event.KeyInput.Char = character;
        event.KeyInput.PressedDown = true;
        irrlicht()->postEventFromUser(event);
        event.KeyInput.PressedDown = false;
        irrlicht()->postEventFromUser(event);
    }
    void type(const std::wstring& text) {
        for (wchar_t c : text) {
            const bool letterOrDigit = (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9');
            const EKEY_CODE key = c == L' '       ? KEY_SPACE
                                  : letterOrDigit ? static_cast<EKEY_CODE>(towupper(c))
                                                  : KEY_OEM_1;
            postKey(key, c);
        }
    }
    // Writes the frame drawn so far where VELLUM_TEST_SCREENSHOTS says (when it does).
    void keepScreenshot(video::IImage* image, const std::string& name) {
        const char* folder = std::getenv("VELLUM_TEST_SCREENSHOTS");
        if (folder && *folder) {
            writePngImage(irrlicht()->getVideoDriver(), image, std::string(folder) + "/" + name);
        }
    }

    TemporaryFolder program;
    std::string savedCi;
    std::unique_ptr<PixelTestDevice> device;
    std::unique_ptr<EngineScene> scene;
    CSpriteNode* sprite = nullptr;
    int iterations = 0;
    std::vector<std::function<void()>> steps;
};

TEST_F(AskOnScreen, ChoosingTheSecondItemReturnsOneAndTheCursorIsShownMeanwhile) {
    cursor()->setVisible(false);
    bool cursorShown = false;
    steps.push_back([&] {
        gui::IGUIContextMenu* menu = openMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->getItemCount(), 3u);
        EXPECT_EQ(core::stringw(menu->getItemText(1)), core::stringw(L"second"));
        EXPECT_EQ(menu->getAbsolutePosition().UpperLeftCorner, core::position2di(100, 100));
        cursorShown = cursor()->isVisible();
        click(itemCentre(menu, 1));
    });
    EXPECT_EQ(eval("core_AskChoice([\"first\", \"second\", \"third\"], \"title\")").toInt(), 1);
    EXPECT_TRUE(cursorShown);
    EXPECT_FALSE(cursor()->isVisible());
    EXPECT_EQ(openMenu(), nullptr);
    EXPECT_EQ(iterations, 1);
}

// Counts the events the game is handed.
class WatchingGame : public TestGame {
public:
    bool onEvent(const SEvent& event) override {
        ++(event.EventType == EET_MOUSE_INPUT_EVENT ? mouseEvents : keyEvents);
        return false;
    }
    int mouseEvents = 0;
    int keyEvents = 0;
};

TEST_F(AskOnScreen, ClicksOnTheMenuNeverReachTheInputModuleOrTheGame) {
    CVellumEngine& engine = getEngine();
    WatchingGame* game = new WatchingGame();
    engine.setClient(game);
    game->drop();
    engine.setStage(STAGE_RUNNING);
    irrlicht()->setEventReceiver(&engine.getInput());
    postKey(KEY_KEY_Q, L'q');
    ASSERT_EQ(game->keyEvents, 2);

    steps.push_back([&] { click(itemCentre(openMenu(), 0)); });
    EXPECT_EQ(eval("core_AskChoice([\"first\", \"second\"], \"title\")").toInt(), 0);
    EXPECT_EQ(game->mouseEvents, 0);
    EXPECT_FALSE(engine.getInput().isLeftDown());
    EXPECT_EQ(engine.getInput().downTime(), 0u);
    EXPECT_EQ(irrlicht()->getEventReceiver(), &engine.getInput());

    steps.assign(1, [&] { postKey(KEY_ESCAPE, 0); });
    iterations = 0;
    EXPECT_EQ(eval("core_AskString(0, \"text\")").toString(), "");
    EXPECT_EQ(game->keyEvents, 2);
    EXPECT_EQ(irrlicht()->getEventReceiver(), &engine.getInput());

    irrlicht()->setEventReceiver(nullptr);
    engine.setStage(STAGE_CREATED);
    engine.setClient(nullptr);
}

TEST_F(AskOnScreen, TheRightButtonChoosesToo) {
    steps.push_back([&] { click(itemCentre(openMenu(), 2), true); });
    EXPECT_EQ(eval("core_AskChoice([\"first\", \"second\", \"third\"], \"title\")").toInt(), 2);
}

TEST_F(AskOnScreen, EscapeOrAClickOutsideClosesTheMenuWithMinusOne) {
    steps.push_back([&] { postKey(KEY_ESCAPE, 0); });
    EXPECT_EQ(eval("core_AskChoice([\"first\", \"second\"], \"title\")").toInt(), -1);
    EXPECT_EQ(openMenu(), nullptr);

    iterations = 0;
    steps.assign(1, [&] { click(core::position2di(600, 400)); });
    EXPECT_EQ(eval("core_AskChoice([\"first\", \"second\"], \"title\")").toInt(), -1);
    EXPECT_EQ(openMenu(), nullptr);
    EXPECT_EQ(iterations, 1);
}

TEST_F(AskOnScreen, TheMenuHoldsAtMostHundredItemsUpToTheFirstEmptyOne) {
    size_t shown = 0;
    steps.push_back([&] {
        shown = openMenu()->getItemCount();
        postKey(KEY_ESCAPE, 0);
    });
    EXPECT_EQ(eval("core_AskChoice(array(150, \"item\"), \"title\")").toInt(), -1);
    EXPECT_EQ(shown, 100u);
    iterations = 0;
    steps.assign(1, [&] {
        shown = openMenu()->getItemCount();
        click(itemCentre(openMenu(), 1));
    });
    EXPECT_EQ(eval("core_AskChoice([\"a\", \"b\", \"\", \"c\"], \"title\")").toInt(), 1);
    EXPECT_EQ(shown, 2u);
}

TEST_F(AskOnScreen, AMenuNearTheScreenEdgeMovesIntoTheScreen) {
    cursor()->setPosition(600, 460);
    core::recti area;
    steps.push_back([&] {
        area = openMenu()->getAbsolutePosition();
        postKey(KEY_ESCAPE, 0);
    });
    EXPECT_EQ(eval("core_AskChoice([\"first item\", \"second\", \"third\"], \"\")").toInt(), -1);
    EXPECT_LE(area.LowerRightCorner.X, 640);
    EXPECT_LE(area.LowerRightCorner.Y, 480);
    EXPECT_GT(area.getWidth(), 40);
    EXPECT_GT(area.getHeight(), 30);
}

TEST_F(AskOnScreen, GroupedItemsAreChosenFromTheirSubmenuOrTheMainMenu) {
    const ModalOwner owner{irrlicht(), nullptr};
    const std::vector<std::string> items = {"abc1", "abc2", "xyz"};
    steps.push_back([&] {
        gui::IGUIContextMenu* menu = openMenu();
        ASSERT_EQ(menu->getItemCount(), 2u);
        EXPECT_EQ(core::stringw(menu->getItemText(0)), core::stringw(L"abc..."));
        postMouse(EMIE_MOUSE_MOVED, itemCentre(menu, 0));
    });
    steps.push_back([&] {
        gui::IGUIContextMenu* submenu = openMenu()->getSubMenu(0);
        ASSERT_NE(submenu, nullptr);
        ASSERT_TRUE(submenu->isVisible());
        ASSERT_EQ(submenu->getItemCount(), 2u);
        EXPECT_EQ(core::stringw(submenu->getItemText(1)), core::stringw(L"abc2"));
        video::IImage* image = captureFrame(irrlicht()->getVideoDriver());
        keepScreenshot(image, "menu_with_submenu.png");
        image->drop();
        click(itemCentre(submenu, 1));
    });
    EXPECT_EQ(showPopupMenu(items, owner, 3), 1);

    iterations = 0;
    steps.assign(1, [&] { click(itemCentre(openMenu(), 1)); });
    EXPECT_EQ(showPopupMenu(items, owner, 3), 2);
}

TEST_F(AskOnScreen, TypedTextReplacesTheDefaultAndEnterReturnsItTrimmed) {
    steps.push_back([&] { type(L"  new text 42 "); });
    steps.push_back([&] { postKey(KEY_RETURN, L'\r'); });
    EXPECT_EQ(eval("core_AskString(0, \"old\")").toString(), "new text 42");
    EXPECT_EQ(openElement(gui::EGUIET_WINDOW), nullptr);
}

TEST_F(AskOnScreen, OkReturnsTheDefaultTextByteForByte) {
    const std::string text = "it's \"quoted\" $(touch /tmp/ask_owned) `id` \\\\server\\share\\ "
                             "%PATH% & | ; caf\xE9";
    vm().rootTable().set("defaultText", vm().string(" " + text + " "));
    steps.push_back([&] {
        gui::IGUIElement* ok = promptButton(L"OK");
        ASSERT_NE(ok, nullptr);
        click(ok->getAbsolutePosition().getCenter());
    });
    EXPECT_EQ(eval("core_AskString(0, defaultText)").toString(), text);
}

TEST_F(AskOnScreen, EscapeCancelAndTheCloseButtonAnswerEmpty) {
    steps.push_back([&] { postKey(KEY_ESCAPE, 0); });
    EXPECT_EQ(eval("core_AskString(0, \"keep\")").toString(), "");

    iterations = 0;
    steps.assign(1, [&] { click(promptButton(L"Cancel")->getAbsolutePosition().getCenter()); });
    EXPECT_EQ(eval("core_AskString(0, \"keep\")").toString(), "");

    iterations = 0;
    steps.assign(1, [&] {
        gui::IGUIWindow* window = static_cast<gui::IGUIWindow*>(openElement(gui::EGUIET_WINDOW));
        click(window->getCloseButton()->getAbsolutePosition().getCenter());
    });
    EXPECT_EQ(eval("core_AskString(0, \"keep\")").toString(), "");
    EXPECT_EQ(openElement(gui::EGUIET_WINDOW), nullptr);
}

TEST_F(AskOnScreen, TheSceneShowsBeneathThePromptWithoutAnimating) {
    CountingAnimator* animator = new CountingAnimator();
    sprite->addAnimator(animator);
    animator->drop();
    for (int i = 0; i < 4; ++i) {
        steps.push_back([] {});
    }
    steps.push_back([&] {
        // The camera's view is set by the loop's drawing.
        const core::position2di spritePixel = scene->screenPoint(core::vector3df(-12, 8, 0));
        video::IImage* image = captureFrame(irrlicht()->getVideoDriver());
        ASSERT_NE(image, nullptr);
        keepScreenshot(image, "prompt_over_scene.png");
        EXPECT_TRUE(pixelNear(image, spritePixel.X, spritePixel.Y, orange, 8));
        // The prompt's window covers the middle of the screen.
        EXPECT_FALSE(pixelNear(image, 320, 240, video::SColor(255, 0, 0, 0), 8));
        image->drop();
        postKey(KEY_RETURN, L'\r');
    });
    EXPECT_EQ(eval("core_AskString(0, \"answer\")").toString(), "answer");
    EXPECT_EQ(iterations, 5);
    EXPECT_EQ(animator->steps, 0);
}

TEST_F(AskOnScreen, UnattendedRunsAnswerWithoutOpeningTheLoop) {
    setUnattendedRun(true);
    EXPECT_EQ(eval("core_AskChoice([\"first\", \"second\"], \"title\")").toInt(), -1);
    EXPECT_EQ(eval("core_AskString(0, \"  default \")").toString(), "default");
    setUnattendedRun(false);
    setenv("CI", "true", 1);
    EXPECT_EQ(eval("core_AskChoice([\"first\", \"second\"], \"title\")").toInt(), -1);
    EXPECT_EQ(eval("core_AskString(0, \"  default \")").toString(), "default");
    unsetenv("CI");
    EXPECT_EQ(iterations, 0);
}

} // namespace
