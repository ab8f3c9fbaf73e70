#pragma once

#include "utils/modal_gui_loop.h"

#include <string>

// Asks the user for one line of text: a window titled "Enter string" saying "Enter string and
// press Ok", with an edit box holding the default text (selected, so typing replaces it), OK and
// Cancel. Enter is OK; Escape, Cancel and the window's close button cancel. Returns the answer
// trimmed of white space at both ends, empty when cancelled or when the window closed; when no
// one can be asked (canAskUser), the default text trimmed.
std::string showTextPrompt(const ModalOwner& owner, const std::string& defaultText);
