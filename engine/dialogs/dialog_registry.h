#pragma once

#include <string>

// The process-wide dialog registries: dialog names to description files (filled at preload),
// and the Escape-action, key-action and music stacks whose last entries belong to the topmost
// dialog. One lock guards them; any thread may ask.

// Reads the ".dlg" file and, when it has a "-DialogName:", maps that name to the file. Returns 1.
int registerDialogFile(const std::string& path);
// The file registered for the name; a name not registered is the fatal "incorrect dialog name!!!".
std::string getDialogFile(const std::string& name);
// The topmost dialog's Escape action and key action, or "" when no open dialog has one.
std::string getTopEscAction();
std::string getTopKeyAction();
// The dialog files those actions were written in, or "".
std::string getTopEscActionFile();
std::string getTopKeyActionFile();
