#pragma once

#include <string>

// Runs the shell command and gives its exit status; -1 when it did not exit normally.
int runShellCommand(const std::string& command);

// The share of a picture file's pixels (every fourth in each direction) that are not black;
// -1 when the file cannot be read as a picture.
float litShare(const std::string& pngPath);
