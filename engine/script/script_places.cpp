#include "script_places.h"

#include "utils/line_alignment.h"
#include "utils/source_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <algorithm>

namespace {

// Where the code stands in the text as a key's value: after the key's colon on the same line, or
// on the lines after a line that ends with a colon, with nothing but blanks around it on its
// lines. npos when it stands nowhere so.
size_t findKeyValue(const std::string& text, const std::string& code) {
    const char* const blanks = " \t";
    for (size_t at = text.find(code); at != std::string::npos; at = text.find(code, at + 1)) {
        size_t before = at == 0 ? std::string::npos : text.find_last_not_of(blanks, at - 1);
        if (before == std::string::npos) {
            continue;
        }
        bool opensValue = text[before] == ':';
        if (text[before] == '\n' && before > 0) {
            size_t keyEnd = text.find_last_not_of(blanks, before - 1);
            opensValue = keyEnd != std::string::npos && text[keyEnd] == ':';
        }
        size_t after = text.find_first_not_of(blanks, at + code.size());
        if (opensValue && (after == std::string::npos || text[after] == '\n')) {
            return at;
        }
    }
    return std::string::npos;
}

} // namespace

std::string placeText(const std::string& path, int line) {
    std::string name = path;
    makeDataRelative(name);
    return line > 0 ? format("(%s line %i)", name.c_str(), line) : "(" + name + ")";
}

std::string codePlace(const std::string& file, const std::string& code, int lineInCode) {
    if (file.empty()) {
        return std::string();
    }
    SourceText source;
    if (!readSourceText(resolveDataPath(file), source)) {
        return std::string();
    }
    const std::string& text = source.text;
    size_t lineInText = static_cast<size_t>(std::max(lineInCode, 1)) - 1;
    if (!text.empty() && startsWith(code, text)) {
        if (lineInText >= source.lines.size()) {
            return std::string();
        }
        const SourceText::Origin& origin = source.lines[lineInText];
        return placeText(origin.file, origin.line);
    }
    size_t at = code.empty() ? std::string::npos : findKeyValue(text, code);
    if (at == std::string::npos) {
        return placeText(file, 0);
    }
    lineInText += static_cast<size_t>(std::count(text.begin(), text.begin() + at, '\n'));
    const SourceText::Origin& origin = source.lines[std::min(lineInText, source.lines.size() - 1)];
    return placeText(origin.file, origin.line);
}

void ScriptLineOrigins::clear() {
    Files.clear();
    Lines.assign(1, Origin{-1, 0});
}

void ScriptLineOrigins::appendFile(const std::string& path, const std::string& readText) {
    std::string file = resolveDataPath(path);
    SourceText source;
    if (readText.empty()) {
        // The reader gives nothing for an empty file; the one line is its first.
        source.lines.push_back(SourceText::Origin{file, 1});
    } else if (!readSourceText(file, source) || source.text != readText) {
        // The reader gave the text from its cache and the file has changed since: the lines are
        // known only by their file.
        size_t count = static_cast<size_t>(std::count(readText.begin(), readText.end(), '\n'));
        source.lines.assign(count + 1, SourceText::Origin{file, 0});
    }
    for (const SourceText::Origin& origin : source.lines) {
        Lines.push_back(Origin{fileIndex(origin.file), origin.line});
    }
}

int ScriptLineOrigins::fileIndex(const std::string& path) {
    auto found = std::find(Files.begin(), Files.end(), path);
    if (found != Files.end()) {
        return static_cast<int>(found - Files.begin());
    }
    Files.push_back(path);
    return static_cast<int>(Files.size()) - 1;
}

void ScriptLineOrigins::followEdit(const std::string& before, const std::string& after) {
    if (before == after) {
        return;
    }
    std::vector<Origin> edited;
    for (int line : alignLines(before, after)) {
        edited.push_back(Lines[static_cast<size_t>(line)]);
    }
    Lines.swap(edited);
}

std::string ScriptLineOrigins::place(int line) const {
    if (line < 1 || static_cast<size_t>(line) > Lines.size()) {
        return std::string();
    }
    const Origin& origin = Lines[static_cast<size_t>(line) - 1];
    return origin.file < 0 ? std::string()
                           : placeText(Files[static_cast<size_t>(origin.file)], origin.line);
}
