#pragma once

#include <irrlicht/irrlicht.h>

#include <functional>

// What a modal menu or prompt needs of its owner: the device whose window, events and GUI it
// uses, and a function that draws the frame beneath the GUI without moving the scene on (empty:
// the GUI is drawn over black).
struct ModalOwner {
    irr::IrrlichtDevice* device = nullptr;
    std::function<void()> drawFrame;
};

// True when someone can be asked: the owner has a device that draws to a window and the run is
// not unattended (platform/message_box.h). Otherwise menus and prompts answer at once.
bool canAskUser(const ModalOwner& owner);

// Receives the device's events while a modal loop runs. The key table keeps following the
// keyboard (it stands for the system's key state) and log texts still reach the receiver the
// loop replaced; everything else goes to handle(), and what it does not absorb goes on to the GUI.
class ModalEventReceiver : public irr::IEventReceiver {
public:
    bool OnEvent(const irr::SEvent& event) final;
    // The receiver the loop replaced (null outside a loop).
    void setReplaced(irr::IEventReceiver* receiver) { Replaced = receiver; }

protected:
    virtual bool handle(const irr::SEvent& event) = 0;

private:
    irr::IEventReceiver* Replaced = nullptr;
};

// A modal loop over the owner's GUI. While the object lives, the receiver takes the device's
// events (the engine's input module sees none, so nothing in the game reacts to them, and the
// GUI's own events come to the receiver) and the mouse cursor is shown; afterwards the focus is
// taken from whatever still holds it and the receiver and the cursor's visibility are restored.
// Build the GUI after constructing the loop and remove it before the loop goes away.
class ModalGuiLoop {
public:
    ModalGuiLoop(const ModalOwner& owner, ModalEventReceiver& receiver);
    ~ModalGuiLoop();
    ModalGuiLoop(const ModalGuiLoop&) = delete;
    ModalGuiLoop& operator=(const ModalGuiLoop&) = delete;

    // Until `finished` says so, each iteration pumps the device's events and draws the owner's
    // frame with the GUI on top. False when the device's window closed first.
    bool run(const std::function<bool()>& finished);

private:
    const ModalOwner& owner;
    ModalEventReceiver& receiver;
    irr::IEventReceiver* replaced;
    bool cursorWasVisible = true;
};

// Tests: a function called once per iteration of every modal loop, after the GUI is drawn and
// before the frame is shown (so it may capture the frame or post events). Empty: none.
void setModalLoopHook(std::function<void(irr::IrrlichtDevice*)> hook);
