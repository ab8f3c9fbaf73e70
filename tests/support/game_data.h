#pragma once

#include "support/test_program.h"

// Copies the repository's game data folders ("data", "data_en", "data_de") into the program's
// folder, over what is there, so that a test runs the bundled game itself. They are copied, not
// linked, because the game writes into its language files (missing text keys).
void copyGameData(const TestProgram& program);
