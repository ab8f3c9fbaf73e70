#pragma once

#include "check_session.h"

#include <vector>

// A data file that the engine or the game opens by a fixed name, whatever the game's files say.
struct RequiredFile {
    // The data name ("gui\\empty.png").
    const char* name;
    // What it is for, as the report says it.
    const char* purpose;
    // Empty when it is always needed; otherwise the feature that needs it (a script function's
    // name, or a feature the check notes, such as "frame markup"), reported where first used.
    const char* neededBy = "";
    // For a font: the fewest characters it must define.
    int fontCharacters = 1;
    // Read from the current language's folder only (the string table), so a missing one is
    // reported there rather than in the common folder.
    bool perLanguage = false;
};

// The files the engine itself opens by name.
const std::vector<RequiredFile>& engineRequiredFiles();

// Reports each required file the game lacks (or cannot use: images must decode, fonts load):
// always-needed ones at the file itself, the others where their feature is first used.
void checkRequiredFiles(CheckSession& session, const std::vector<RequiredFile>& files);
