#pragma once

#include "utils/modal_gui_loop.h"

#include <string>
#include <vector>

// The item cut to `length` characters with "..." appended when it was longer (white space at the
// cut end removed first), then white space at its start removed.
std::string shortText(const std::string& item, int length);

// One entry of a popup menu's main menu: an item, or a submenu holding grouped items.
struct PopupMenuEntry {
    std::string text;       // what the entry shows
    int item = -1;          // the item's index; -1 for a submenu
    std::vector<int> group; // a submenu's items, in list order
};

// The main menu for the items. Each item shows shortText (item, 30). With a group length above
// 0, items whose shortText (item, groupLength) is shared with another item are grouped: such an
// item joins the submenu added last when its title is that shortened text, and otherwise opens a
// new submenu with that title. Other items stay in the main menu.
std::vector<PopupMenuEntry> layoutPopupMenu(const std::vector<std::string>& items, int groupLength);

// Shows the items as a menu at the mouse position over the owner's window and waits until the
// user chooses (left or right button) or closes it (Escape, or a click outside). Returns the
// chosen item's index, or -1 when nothing was chosen, the list is empty, or no one can be asked
// (canAskUser).
int showPopupMenu(const std::vector<std::string>& items, const ModalOwner& owner, int groupLength);
