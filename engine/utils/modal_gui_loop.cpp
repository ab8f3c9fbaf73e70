#include "modal_gui_loop.h"

#include "platform/clock.h"
#include "platform/key_state.h"
#include "platform/message_box.h"

#include <utility>

namespace {

std::function<void(irr::IrrlichtDevice*)> loopHook;

// A modal loop needs no more frames than the screen shows.
constexpr uint32_t kLoopPauseMs = 10;

} // namespace

bool canAskUser(const ModalOwner& owner) {
    if (!owner.device || !owner.device->getVideoDriver() || !owner.device->getGUIEnvironment()) {
        return false;
    }
    if (owner.device->getVideoDriver()->getDriverType() == irr::video::EDT_NULL) {
        return false;
    }
    return !isUnattendedRun();
}

bool ModalEventReceiver::OnEvent(const irr::SEvent& event) {
    if (event.EventType == irr::EET_KEY_INPUT_EVENT) {
        setKeyState(event.KeyInput.Key, event.KeyInput.PressedDown);
    }
    if (event.EventType == irr::EET_LOG_TEXT_EVENT) {
        return Replaced != nullptr && Replaced->OnEvent(event);
    }
    return handle(event);
}

ModalGuiLoop::ModalGuiLoop(const ModalOwner& owner, ModalEventReceiver& receiver)
    : owner(owner), receiver(receiver), replaced(owner.device->getEventReceiver()) {
    receiver.setReplaced(replaced);
    owner.device->setEventReceiver(&receiver);
    owner.device->getGUIEnvironment()->setUserEventReceiver(&receiver);
    if (irr::gui::ICursorControl* cursor = owner.device->getCursorControl()) {
        cursorWasVisible = cursor->isVisible();
        cursor->setVisible(true);
    }
}

ModalGuiLoop::~ModalGuiLoop() {
    irr::gui::IGUIEnvironment* gui = owner.device->getGUIEnvironment();
    gui->setFocus(nullptr);
    owner.device->setEventReceiver(replaced);
    gui->setUserEventReceiver(replaced);
    receiver.setReplaced(nullptr);
    if (irr::gui::ICursorControl* cursor = owner.device->getCursorControl()) {
        cursor->setVisible(cursorWasVisible);
    }
}

bool ModalGuiLoop::run(const std::function<bool()>& finished) {
    irr::IrrlichtDevice* device = owner.device;
    irr::video::IVideoDriver* driver = device->getVideoDriver();
    irr::gui::IGUIEnvironment* gui = device->getGUIEnvironment();
    while (!finished()) {
        if (!device->run()) {
            return false;
        }
        if (finished()) {
            break;
        }
        driver->beginScene(true, true, irr::video::SColor(255, 0, 0, 0));
        if (owner.drawFrame) {
            owner.drawFrame();
        }
        gui->drawAll();
        if (loopHook) {
            loopHook(device);
        }
        driver->endScene();
        sleepMilliseconds(kLoopPauseMs);
    }
    return true;
}

void setModalLoopHook(std::function<void(irr::IrrlichtDevice*)> hook) {
    loopHook = std::move(hook);
}
