#include "module_mousekeyb.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "input/any_input.h"
#include "platform/key_state.h"
#include "utils/debug.h"
#include "utils/system.h"

#include <algorithm>

bool CInputModule::OnEvent(const irr::SEvent& event) {
    // The key table stands for the system's asynchronous key state, so it follows every event.
    if (event.EventType == irr::EET_KEY_INPUT_EVENT) {
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
    if (event.EventType == irr::EET_MOUSE_INPUT_EVENT) {
        ScopedLock guard(engine.getInputLock());
        switch (event.MouseInput.Event) {
        case irr::EMIE_MOUSE_MOVED:
            updateCursor();
            break;
        case irr::EMIE_LMOUSE_PRESSED_DOWN:
            LeftDown = 1;
            DownTime = getTicks();
            updateCursor();
            break;
        case irr::EMIE_LMOUSE_LEFT_UP:
            LeftDown = 0;
            DownTime = 0;
            break;
        default:
            break;
        }
    }
    if (event.EventType == irr::EET_KEY_INPUT_EVENT && event.KeyInput.PressedDown &&
        (event.KeyInput.Key == irr::KEY_SPACE || event.KeyInput.Key == irr::KEY_RETURN)) {
        ScopedLock guard(engine.getInputLock());
        setAnyInput();
    }
    return engine.hasClient() && engine.getClient()->onEvent(event);
}

void CInputModule::updateCursor() {
    CVellumEngine& engine = getEngine();
    irr::IrrlichtDevice* device = engine.getDevice();
    if (!device || !device->getCursorControl()) {
        return;
    }
    irr::core::position2di position = device->getCursorControl()->getPosition();
    const CUserProfile* profile = engine.getActiveProfile();
    CursorX = std::clamp(position.X, 0, profile->getXResolution());
    CursorY = std::clamp(position.Y, 0, profile->getYResolution());
}
