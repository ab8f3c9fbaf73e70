#include "module_mousekeyb.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "dialogs/dialog_registry.h"
#include "input/any_input.h"
#include "input/developer_keys.h"
#include "input/focus_chain.h"
#include "input/input_dispatcher.h"
#include "input/text_editor_behaviour.h"
#include "platform/key_state.h"
#include "scene/picture_area.h"
#include "utils/debug.h"
#include "utils/system.h"

#include <algorithm>

namespace {

// A script table describing a key event for a dialog's key action. Every action gets a table of
// its own: actions run on the next frame, when later key events must not have changed it.
squirrel::Object keyTable(const irr::SEvent::SKeyInput& key) {
    squirrel::Object table = getEngine().getScripting().vm().newTable();
    table.set("_key", squirrel::Object(static_cast<int>(key.Key)));
    table.set("_shift", squirrel::Object(key.Shift));
    table.set("_control", squirrel::Object(key.Control));
    table.set("_pressed", squirrel::Object(key.PressedDown));
    return table;
}

} // namespace

bool CInputModule::OnEvent(const irr::SEvent& event) {
    // The key table stands for the system's asynchronous key state, so it follows every event.
    if (event.EventType == irr::EET_KEY_INPUT_EVENT) {
        checkWindowFocus();
        setKeyState(event.KeyInput.Key, event.KeyInput.PressedDown);
    }
    CVellumEngine& engine = getEngine();
    if (engine.getStage() < STAGE_RUNNING) {
        return false;
    }
    if (event.EventType == irr::EET_LOG_TEXT_EVENT) {
        logDebug(event.LogEvent.Text);
        return true;
    }
    // The scene lock comes before the input lock (see CVellumEngine): a frame holds it while the
    // device delivers events, but events may also arrive outside a frame.
    if (event.EventType == irr::EET_MOUSE_INPUT_EVENT) {
        ScopedLock sceneGuard(engine.getSceneLock());
        ScopedLock guard(engine.getInputLock());
        handleMouse(event.MouseInput);
    }
    if (event.EventType == irr::EET_KEY_INPUT_EVENT) {
        ScopedLock sceneGuard(engine.getSceneLock());
        ScopedLock guard(engine.getInputLock());
        if (handleKey(event.KeyInput)) {
            return true;
        }
    }
    return engine.hasClient() && engine.getClient()->onEvent(event);
}

void CInputModule::handleMouse(const irr::SEvent::SMouseInput& mouse) {
    CFocusChain& chain = getFocusChain();
    switch (mouse.Event) {
    case irr::EMIE_MOUSE_MOVED:
        updateCursor();
        break;
    case irr::EMIE_LMOUSE_PRESSED_DOWN:
        updateCursor();
        if (PointerOverBars) {
            break;
        }
        LeftDown = 1;
        DownTime = getTicks();
        ++PressCount;
        chain.setPressedId(chain.underCursorId());
        chain.setLastClickPosition(
            irr::core::vector2df(static_cast<float>(CursorX), static_cast<float>(CursorY)));
        queueInputDispatch(InputHandlers::Hover, false);
        break;
    case irr::EMIE_LMOUSE_LEFT_UP:
        LeftDown = 0;
        DownTime = 0;
        chain.setReleasedId(chain.underCursorId());
        chain.setReleasedPress(PressCount);
        chain.setPressedId(0);
        queueInputDispatch(InputHandlers::Click, true);
        break;
    case irr::EMIE_RMOUSE_LEFT_UP:
        if (PointerOverBars) {
            break;
        }
        chain.setRightClickId(chain.underCursorId());
        chain.setLastClickPosition(
            irr::core::vector2df(static_cast<float>(CursorX), static_cast<float>(CursorY)));
        queueInputDispatch(InputHandlers::Click, true);
        break;
    default:
        break;
    }
}

bool CInputModule::handleKey(const irr::SEvent::SKeyInput& key) {
    CVellumEngine& engine = getEngine();
    passKeyToTextEditor(key);
    std::string keyAction = getTopKeyAction();
    if (!keyAction.empty()) {
        engine.getScripting().queueScriptAction(keyAction, keyTable(key), getTopKeyActionFile());
    }
    if (!key.PressedDown) {
        return false;
    }
    if (key.Key == irr::KEY_SPACE || key.Key == irr::KEY_RETURN) {
        setAnyInput();
    }
    if (key.Key == irr::KEY_ESCAPE) {
        engine.getScripting().queueScriptAction(getTopEscAction(), squirrel::Object(),
                                                getTopEscActionFile());
        return true;
    }
    if (engine.isDebugMode() && key.Control) {
        handleDeveloperKey(key.Key);
    }
    return false;
}

void CInputModule::updateCursor() {
    CVellumEngine& engine = getEngine();
    irr::IrrlichtDevice* device = engine.getDevice();
    if (!device || !device->getCursorControl()) {
        return;
    }
    ScopedLock sceneGuard(engine.getSceneLock());
    ScopedLock guard(engine.getInputLock());
    checkWindowFocus();
    const irr::core::position2di position = device->getCursorControl()->getPosition();
    const irr::core::recti picture = currentPictureArea();
    PointerOverBars = !picture.isPointInside(position);
    CursorX = std::clamp(position.X - picture.UpperLeftCorner.X, 0, picture.getWidth());
    CursorY = std::clamp(position.Y - picture.UpperLeftCorner.Y, 0, picture.getHeight());
    CFocusChain& chain = getFocusChain();
    int underCursor =
        PointerOverBars ? 0 : chain.pickNode(irr::core::position2di(CursorX, CursorY));
    if (underCursor != chain.underCursorId()) {
        chain.setUnderCursorId(underCursor);
        queueInputDispatch(InputHandlers::Hover, false);
    }
}

void CInputModule::checkWindowFocus() {
    irr::IrrlichtDevice* device = getEngine().getDevice();
    if (!device) {
        return;
    }
    int focused = device->isWindowFocused() ? 1 : 0;
    if (WindowFocused != -1 && focused != WindowFocused) {
        clearKeyStates();
    }
    WindowFocused = focused;
}
