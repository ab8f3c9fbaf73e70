#pragma once

#include <string>
#include <vector>

// What the check mode said about a game folder: its status and its report's lines.
struct PackCheck {
    int status = -1;
    std::vector<std::string> lines;
};

// Runs the check mode in this process over the game folder (an engine path ending in "\").
PackCheck checkGameFolder(const std::string& gameFolder);
