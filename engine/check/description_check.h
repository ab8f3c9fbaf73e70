#pragma once

#include "check_session.h"
#include "utils/source_text.h"

#include <functional>
#include <string>
#include <vector>

class SpriteDescription;

// How the engine reaches a description text: the name its record is reset with (a file's data
// path, or "raw:\" and the text) and the file relative paths resolve against ("" for the
// record's own name), with the macro parameters it is created with.
struct DescriptionRoot {
    std::string name;
    std::string sourceFolder;
    std::vector<std::string> macroParams;
    // A "raw:\" text: its sub-sprites get no folder of their own.
    bool isInline = false;
};

// The lines of one section of a description in its source text, for reporting a key's place.
struct SectionLines {
    const SourceText& source;
    // The source's text cut into lines.
    const std::vector<std::string>& lines;
    size_t first;
    size_t end;

    // The section's text as the engine's parser gets it.
    std::string text() const;

    // The place of the first line in the section that holds the key (the engine takes the first
    // occurrence); the section's first line when none does.
    CheckPlace placeOf(const std::string& key) const;
    CheckPlace start() const;
};

// Checks a sprite description file (a data name or path, optionally with "?" macro parameters)
// once per source: its keys, its values and everything it names. `namedAt` is where it was named.
void checkDescriptionFile(CheckSession& session, const std::string& source,
                          const CheckPlace& namedAt);
// Checks the lines [first, end) of a source text as a description text (a dialog's sprite part).
// With `firstIsSubSprite` the first section is itself a sub-sprite (a dialog's structure file).
void checkDescriptionLines(CheckSession& session, const SourceText& source, size_t first,
                           size_t end, const DescriptionRoot& root, bool firstIsSubSprite);
// Checks the key lines [first, end) of a source text as keys read in those places (KeyPlace):
// unknown keys, repeated keys, and values read differently from what was written.
void checkKeyLines(CheckSession& session, const SourceText& source, size_t first, size_t end,
                   unsigned places);

// Checks the game adds for the record of every sprite section (its own keys' meaning); they
// replace the ones set before.
using DescriptionRecordCheck =
    std::function<void(CheckSession&, const SpriteDescription&, const SectionLines&)>;
void setDescriptionRecordChecks(std::vector<DescriptionRecordCheck> checks);

// Reports each file the text includes that could not be read, at its include directive.
void reportMissingIncludes(CheckSession& session, const SourceText& source);
