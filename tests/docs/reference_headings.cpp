#include "docs/reference_headings.h"

#include "utils/utils_str.h"

#include <sstream>

namespace {

bool isScriptFunctionName(const std::string& text) {
    return startsWith(text, "core_") || startsWith(text, "game_");
}

// The comma-separated arguments between the parentheses; none for "()".
std::vector<std::string> signatureArguments(const std::string& inside) {
    std::vector<std::string> arguments;
    if (trim(inside).empty()) {
        return arguments;
    }
    std::stringstream pieces(inside);
    std::string piece;
    while (std::getline(pieces, piece, ',')) {
        arguments.push_back(trim(piece));
    }
    return arguments;
}

} // namespace

ReferenceHeadings readReferenceHeadings(const std::string& markdown) {
    ReferenceHeadings headings;
    std::stringstream lines(markdown);
    std::string line;
    int number = 0;
    bool inCode = false;
    bool inExample = false;
    DocumentedFunction* section = nullptr;
    std::string sectionCall;
    while (std::getline(lines, line)) {
        ++number;
        if (startsWith(line, "```")) {
            inExample = !inCode && trim(line.substr(3)) == "squirrel";
            inCode = !inCode;
            continue;
        }
        if (inCode) {
            if (inExample && section != nullptr && line.find(sectionCall) != std::string::npos) {
                section->hasExample = true;
            }
            continue;
        }
        if (startsWith(line, "#")) {
            section = nullptr;
        }
        if (!startsWith(line, "### ")) {
            continue;
        }
        std::string heading = trim(line.substr(4));
        size_t open = heading.find('(');
        std::string name = trim(heading.substr(0, open));
        if (!isScriptFunctionName(name)) {
            continue;
        }
        DocumentedFunction function;
        function.line = number;
        size_t close = heading.rfind(')');
        if (open != std::string::npos && close != std::string::npos && close > open) {
            function.hasSignature = true;
            function.arguments = signatureArguments(heading.substr(open + 1, close - open - 1));
        }
        auto [entry, added] = headings.functions.emplace(name, function);
        if (!added) {
            headings.duplicates.emplace_back(name, number);
            continue;
        }
        section = &entry->second;
        sectionCall = name + "(";
    }
    return headings;
}
