#pragma once

#include "check_session.h"
#include "utils/source_text.h"

#include <functional>
#include <string>
#include <vector>

class CDialogFactory;

// The header of a dialog file as the check reads it: the source text, the line where the sprite
// part begins (the header's end), the header text as the engine reads it and the engine's dialog
// record.
struct DialogHeader {
    const SourceText& source;
    size_t end;
    const std::string& text;
    const CDialogFactory& dialog;

    // The place of the header line that holds the key; the file (line 0) when none does.
    CheckPlace placeOf(const std::string& key) const;
};

// Registers the dialog names of every ".dlg" file (as preloading does) in the session; a name
// given by two files is reported.
void registerCheckedDialog(CheckSession& session, const std::string& path);
// Checks a dialog file: its header keys and what they name, then its sprite part (and structure
// file) as descriptions.
void checkDialogFile(CheckSession& session, const std::string& path);

// Checks the game adds for every dialog header (levels are dialogs with game keys); they replace
// the ones set before.
using DialogHeaderCheck = std::function<void(CheckSession&, const DialogHeader&)>;
void setDialogHeaderChecks(std::vector<DialogHeaderCheck> checks);
