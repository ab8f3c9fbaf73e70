#pragma once

#include <map>
#include <string>
#include <vector>

// The script functions a reference document describes: every level-3 heading outside fenced code
// blocks whose text starts with "core_" or "game_", written as a call signature
// "### name(first, second = default)". A function's section runs to the next heading.
struct DocumentedFunction {
    int line = 0;                       // the heading's line, from 1
    bool hasSignature = false;          // the heading holds "(" and a closing ")" after the name
    std::vector<std::string> arguments; // trimmed, as written (defaults included)
    bool hasExample = false;            // its section has a "```squirrel" block that calls it
};

struct ReferenceHeadings {
    std::map<std::string, DocumentedFunction> functions;
    // Names with more than one heading, each with the line of a later heading.
    std::vector<std::pair<std::string, int>> duplicates;
};

ReferenceHeadings readReferenceHeadings(const std::string& markdown);
