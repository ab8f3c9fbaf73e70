#pragma once

#include <cstddef>
#include <string>

// The macros the engine's text file reader expands: "${thisfolder}\" and "${include(NAME)}".

// Replaces "${thisfolder}\" in the text of the file at `path` by the file's folder as a data name.
void expandThisFolder(const std::string& path, std::string& text);

struct IncludeDirective {
    size_t start = 0; // where "${include(" starts
    size_t end = 0;   // just after its ")}"
    std::string name;
};

// The first include directive at or after `from`. False when there is none, and for one without
// its closing ")}" or with an empty name: the reader expands nothing from there on.
bool findIncludeDirective(const std::string& text, size_t from, IncludeDirective& out);
