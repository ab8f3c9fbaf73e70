#pragma once

#include <string>

// Chooses the game to run from the command line: "-game=DIR" makes DIR (a native path, absolute or
// relative to the working folder) the game folder. Returns an empty text when the option is
// absent or DIR holds a game; otherwise one line that names DIR and what it lacks, and the game
// folder stays as it was.
std::string chooseGameFolder();
