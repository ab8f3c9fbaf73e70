#pragma once

#include <string>
#include <utility>
#include <vector>

// A text file as the engine's file reader gives it (carriage returns removed, "${thisfolder}\" and
// "${include(name)}" expanded the same way), with the file and line each of its lines came from,
// so that problems found in the expanded text are reported where the author wrote them.
struct SourceText {
    struct Origin {
        std::string file;
        int line = 0;
    };

    // The resolved path of the file.
    std::string path;
    std::string text;
    // One entry per line of `text` (lines end at line feeds).
    std::vector<Origin> lines;
    // Included files that could not be read (the engine's reader puts nothing in their place),
    // each with the place of its include directive.
    std::vector<std::pair<Origin, std::string>> missingIncludes;

    // Where the line holding the offset into `text` came from.
    Origin originAt(size_t offset) const;
    // Where the line of that index came from; the file itself (line 0) outside the text.
    Origin originOfLine(size_t index) const;
};

// Reads the file (a resolved path); false when it is missing or empty.
bool readSourceText(const std::string& path, SourceText& out);
