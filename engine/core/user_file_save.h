#pragma once

#include <string>

// Saves one of the player's files (profile, options, high scores) so that a killed process
// leaves either the old or the new file, never a damaged one. When the save fails (a full disk,
// a folder the player may not write to) the player is told, with the file and the reason, and
// the game goes on with the file as it was. True when the file was written.
bool saveUserFile(const std::string& path, const std::string& text);
