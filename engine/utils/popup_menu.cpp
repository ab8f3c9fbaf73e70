#include "popup_menu.h"

#include "utils/utils_str.h"
#include "utils/windows_1252.h"

#include <algorithm>

namespace {

constexpr int kItemTextLength = 30;

class MenuReceiver : public ModalEventReceiver {
public:
    MenuReceiver(irr::gui::IGUIEnvironment* gui, int itemCount) : gui(gui), itemCount(itemCount) {}

    int chosen = -1;
    bool cancelled = false;

protected:
    bool handle(const irr::SEvent& event) override {
        if (event.EventType == irr::EET_GUI_EVENT &&
            event.GUIEvent.EventType == irr::gui::EGET_MENU_ITEM_SELECTED &&
            event.GUIEvent.Caller->getType() == irr::gui::EGUIET_CONTEXT_MENU) {
            auto* menu = static_cast<irr::gui::IGUIContextMenu*>(event.GUIEvent.Caller);
            const int selected = menu->getSelectedItem();
            const int command = selected < 0 ? 0 : menu->getItemCommandId(selected);
            if (command >= 1 && command <= itemCount) {
                chosen = command - 1;
            }
            return true;
        }
        if (event.EventType == irr::EET_KEY_INPUT_EVENT && event.KeyInput.PressedDown &&
            event.KeyInput.Key == irr::KEY_ESCAPE) {
            cancelled = true;
            return true;
        }
        if (event.EventType == irr::EET_MOUSE_INPUT_EVENT) {
            return chooseWithRightButton(event);
        }
        return false;
    }

private:
    // The right button chooses as the left one does.
    bool chooseWithRightButton(const irr::SEvent& event) {
        irr::SEvent asLeft = event;
        if (event.MouseInput.Event == irr::EMIE_RMOUSE_PRESSED_DOWN) {
            asLeft.MouseInput.Event = irr::EMIE_LMOUSE_PRESSED_DOWN;
        } else if (event.MouseInput.Event == irr::EMIE_RMOUSE_LEFT_UP) {
            asLeft.MouseInput.Event = irr::EMIE_LMOUSE_LEFT_UP;
        } else {
            return false;
        }
        gui->postEventFromUser(asLeft);
        return true;
    }

    irr::gui::IGUIEnvironment* gui;
    int itemCount;
};

// Moves the menu inside the screen when it would reach past its right or bottom edge.
void keepOnScreen(irr::gui::IGUIContextMenu* menu, const irr::core::dimension2du& screen) {
    const irr::core::recti area = menu->getAbsolutePosition();
    const int dx = std::max(-area.UpperLeftCorner.X,
                            std::min(0, static_cast<int>(screen.Width) - area.LowerRightCorner.X));
    const int dy = std::max(-area.UpperLeftCorner.Y,
                            std::min(0, static_cast<int>(screen.Height) - area.LowerRightCorner.Y));
    if (dx != 0 || dy != 0) {
        menu->move(irr::core::position2di(dx, dy));
    }
}

void addItem(irr::gui::IGUIContextMenu* menu, const std::vector<std::string>& items, int index) {
    menu->addItem(windows1252ToWide(shortText(items[index], kItemTextLength)).c_str(), index + 1);
}

} // namespace

std::string shortText(const std::string& item, int length) {
    if (static_cast<int>(item.size()) > length) {
        return trimLeft(trimRight(left(item, length)) + "...");
    }
    return trimLeft(item);
}

std::vector<PopupMenuEntry> layoutPopupMenu(const std::vector<std::string>& items,
                                            int groupLength) {
    std::vector<std::string> keys;
    if (groupLength > 0) {
        for (const std::string& item : items) {
            keys.push_back(shortText(item, groupLength));
        }
    }
    std::vector<PopupMenuEntry> entries;
    int currentGroup = -1;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const bool grouped = groupLength > 0 && std::count(keys.begin(), keys.end(), keys[i]) > 1;
        if (!grouped) {
            entries.push_back({shortText(items[i], kItemTextLength), i, {}});
            continue;
        }
        if (currentGroup < 0 || entries[currentGroup].text != keys[i]) {
            entries.push_back({keys[i], -1, {}});
            currentGroup = static_cast<int>(entries.size()) - 1;
        }
        entries[currentGroup].group.push_back(i);
    }
    return entries;
}

int showPopupMenu(const std::vector<std::string>& items, const ModalOwner& owner, int groupLength) {
    if (items.empty() || !canAskUser(owner)) {
        return -1;
    }
    irr::gui::IGUIEnvironment* gui = owner.device->getGUIEnvironment();
    irr::core::position2di at(0, 0);
    if (irr::gui::ICursorControl* cursor = owner.device->getCursorControl()) {
        at = cursor->getPosition();
    }
    MenuReceiver receiver(gui, static_cast<int>(items.size()));
    ModalGuiLoop loop(owner, receiver);
    irr::gui::IGUIContextMenu* menu =
        gui->addContextMenu(irr::core::recti(at, irr::core::dimension2di(1, 1)));
    menu->grab();
    // Closing only takes the focus from the menu (the loop watches for that); the menu is
    // removed below, after the loop.
    menu->setCloseHandling(irr::gui::ECMC_IGNORE);
    for (const PopupMenuEntry& entry : layoutPopupMenu(items, groupLength)) {
        if (entry.item >= 0) {
            addItem(menu, items, entry.item);
            continue;
        }
        const irr::u32 index = menu->addItem(windows1252ToWide(entry.text).c_str(), -1, true, true);
        irr::gui::IGUIContextMenu* submenu = menu->getSubMenu(index);
        for (int item : entry.group) {
            addItem(submenu, items, item);
        }
    }
    keepOnScreen(menu, owner.device->getVideoDriver()->getScreenSize());
    gui->setFocus(menu);

    loop.run([&] {
        irr::gui::IGUIElement* focus = gui->getFocus();
        const bool open = focus != nullptr && (focus == menu || menu->isMyChild(focus));
        return receiver.chosen >= 0 || receiver.cancelled || !open;
    });
    menu->remove();
    menu->drop();
    return receiver.chosen;
}
