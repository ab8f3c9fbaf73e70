#pragma once

#include "dialogs/module_dialogfactory.h"
#include "input/any_input.h"
#include "input/focus_chain.h"
#include "platform/key_state.h"
#include "scene/node_utilities.h"
#include "script_timers/script_fixture.h"
#include "utils/utils_fs.h"

#include <string>
#include <vector>

// A game that remembers the events it is handed.
class InputGame : public TimedGame {
public:
    bool onEvent(const irr::SEvent& event) override {
        seen.push_back(event);
        return false;
    }
    std::vector<irr::SEvent> seen;
};

// The engine on the NULL device with the engine's root node "pole" (ID 1001), the input module as
// the device's event receiver and events posted through the device as the user makes them. The
// script function click(t) counts "click" and keeps t in ::clicked.
class InputTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        inputGame = new InputGame();
        getEngine().setClient(inputGame);
        inputGame->drop();
        defineNameId("pole", kPoleId);
        pole = createEmptyNode(scene->root(), kPoleId, irr::core::vector3df(0, 0, 0));
        getEngine().rootNode() = pole;
        device->setEventReceiver(&getEngine().getInput());
        clearAnyInput();
        clearKeyStates();
        run("function click(t) { bump(\"click\"); ::clicked <- t; }");
        now = kStart;
    }
    void TearDown() override {
        CVellumEngine& engine = getEngine();
        // The input module outlives the test: it must not keep the button held.
        if (engine.getInput().isLeftDown()) {
            engine.setStage(STAGE_RUNNING);
            releaseLeft();
        }
        device->setEventReceiver(nullptr);
        engine.getConfig().Debug = 0;
        engine.setStage(STAGE_CREATED);
        clearKeyStates();
        ScriptTest::TearDown();
    }

    // A sprite from a description text below the node (the engine's root node by default).
    CNodeBasement* make(const std::string& description,
                        const irr::core::vector3df& position = irr::core::vector3df(0, 0, 0),
                        irr::scene::ISceneNode* parent = nullptr) {
        return createSprite("raw:\\\n-Texture:\\gui\\orange.png\n" + description, 1, 1, position,
                            parent ? parent : pole, nullptr, "input test");
    }
    // A 4 by 2 button whose click runs `action`.
    CNodeBasement* button(const std::string& name, const irr::core::vector3df& position,
                          const std::string& action = "click", const std::string& more = "") {
        return make("-Name:" + name + "\n-Size:w4 h2\n-Event.Mouse.Click.Action:" + action + "\n" +
                        more,
                    position);
    }
    // Resolves data names the way preloading does, then lets the engine run (the input module
    // handles events from then on).
    static void startRunning(const std::vector<std::string>& dataNames = {}) {
        for (const std::string& name : dataNames) {
            resolveDataPath(name);
        }
        getEngine().setStage(STAGE_RUNNING);
    }

    // The next frame, 25 ms after the last one.
    void frame() { frameAt(now += 25); }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            frame();
        }
    }

    void post(const irr::SEvent& event) { device->postEventFromUser(event); }
    void mouse(irr::EMOUSE_INPUT_EVENT kind) {
        irr::SEvent event{};
        event.EventType = irr::EET_MOUSE_INPUT_EVENT;
        event.MouseInput.Event = kind;
        irr::core::position2di at = device->getCursorControl()->getPosition();
        event.MouseInput.X = at.X;
        event.MouseInput.Y = at.Y;
        post(event);
    }
    // Moves the cursor over the scene point (at Z 0).
    void moveTo(const irr::core::vector3df& point) {
        device->getCursorControl()->setPosition(scene->screenPoint(point));
        mouse(irr::EMIE_MOUSE_MOVED);
    }
    void pressLeft() { mouse(irr::EMIE_LMOUSE_PRESSED_DOWN); }
    void releaseLeft() { mouse(irr::EMIE_LMOUSE_LEFT_UP); }
    // Press and release over the point, then the frame that hands the click on.
    void clickAt(const irr::core::vector3df& point) {
        moveTo(point);
        pressLeft();
        releaseLeft();
        frame();
    }
    void rightClickAt(const irr::core::vector3df& point) {
        moveTo(point);
        mouse(irr::EMIE_RMOUSE_PRESSED_DOWN);
        mouse(irr::EMIE_RMOUSE_LEFT_UP);
        frame();
    }
    void key(irr::EKEY_CODE code, wchar_t character, bool pressed, bool control = false,
             bool shift = false) {
        irr::SEvent event{};
        event.EventType = irr::EET_KEY_INPUT_EVENT;
        event.KeyInput.Key = code;
        event.KeyInput.Char = character;
        event.KeyInput.PressedDown = pressed;
        event.KeyInput.Control = control;
        event.KeyInput.Shift = shift;
        post(event);
    }
    void tap(irr::EKEY_CODE code, wchar_t character = 0, bool control = false) {
        key(code, character, true, control);
        key(code, character, false, control);
    }

    static squirrel::Object global(const std::string& name) {
        return getEngine().getScripting().vm().rootTable().get(name);
    }
    static CFocusChain& chain() { return getFocusChain(); }

    static constexpr int kPoleId = 1001;
    CNodeBasement* pole = nullptr;
    InputGame* inputGame = nullptr;
    irr::u32 now = kStart;
};
