#pragma once

#include <string>
#include <vector>

// Places in the files authors write, for script error reports: "(scripts\rules.nut line 27)".

// "(FILE line N)" with the file as a data name; "(FILE)" for no line (0).
std::string placeText(const std::string& path, int line);

// The place of a line (from 1) of a piece of script code written in the file: code that is the
// value of a key in a description or dialog file starts on the key's line, or on the line after
// it for a value that starts on its own line; code that starts with the whole text of a script
// file starts on its first line (lines the caller added after it have no place). A line that came
// from an included file is placed there. When the file holds the code in neither way (its macros
// changed it), the place names only the file; without a file it is "".
std::string codePlace(const std::string& file, const std::string& code, int lineInCode);

// Where the lines of a text joined from several script files come from, kept right while the
// text grows and while its macros are expanded.
class ScriptLineOrigins {
public:
    ScriptLineOrigins() { clear(); }

    // An empty text: one line from no file.
    void clear();
    // The joined text got a line break and then the file's text as readTextFile gave it; its
    // lines are placed where they were written, in the file or in a file it includes.
    void appendFile(const std::string& path, const std::string& readText);
    // The joined text was changed from `before` to `after` (its macros were expanded).
    void followEdit(const std::string& before, const std::string& after);
    // The place of a line of the joined text (from 1), or "" for a line from no file.
    std::string place(int line) const;

private:
    struct Origin {
        int file; // index into Files, -1 for none
        int line; // in that file, from 1; 0 when unknown
    };
    // The index of the file in Files, added when new.
    int fileIndex(const std::string& path);

    std::vector<std::string> Files;
    std::vector<Origin> Lines;
};
