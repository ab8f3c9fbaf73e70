#pragma once

#include <string>

// The program folder: drive and folder of the executable in engine form, lower case, ending
// with a backslash. Computed on first use.
std::string programFolder();
// Places the program folder elsewhere (tests and tools that run the engine over another data set).
void setProgramFolder(const std::string& folder);

// The whole file into `out`, up to its first zero byte. False for an empty path, a missing or
// empty file, or a failed read.
bool readFileRaw(const std::string& path, std::string& out);

// Writes the text through a temporary file renamed over the target, so an interrupted save never
// leaves a truncated file. True when every byte was written.
bool writeTextFile(const std::string& path, const std::string& text);
