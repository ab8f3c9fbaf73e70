#include "script_places.h"

#include "utils/line_alignment.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <numeric>

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

// The file a name stands for, as readTextFile finds it.
std::string resolvedFile(const std::string& name) {
    return name.find(":\\") != std::string::npos ? name : resolveDataPath(name);
}

} // namespace

std::vector<int> writtenLineNumbers(const std::string& path, const std::string& readText) {
    std::string written;
    readFileRaw(resolvedFile(path), written);
    written = replaceAll(written, "\r", "");
    if (written == readText) {
        std::vector<int> numbers(
            static_cast<size_t>(std::count(readText.begin(), readText.end(), '\n')) + 1);
        std::iota(numbers.begin(), numbers.end(), 1);
        return numbers;
    }
    std::vector<int> numbers = alignLines(written, readText);
    for (int& number : numbers) {
        ++number;
    }
    return numbers;
}

std::string placeText(const std::string& path, int line) {
    std::string name = path;
    makeDataRelative(name);
    return format("(%s line %i)", name.c_str(), line);
}

std::string codePlace(const std::string& file, const std::string& code, int lineInCode) {
    if (file.empty()) {
        return std::string();
    }
    std::string text;
    if (!fileExists(resolvedFile(file)) || !readTextFile(file, text)) {
        return std::string();
    }
    size_t lineInText = static_cast<size_t>(std::max(lineInCode, 1)) - 1;
    std::vector<int> numbers = writtenLineNumbers(file, text);
    if (!text.empty() && startsWith(code, text)) {
        return lineInText < numbers.size() ? placeText(file, numbers[lineInText]) : std::string();
    }
    size_t at = code.empty() ? std::string::npos : findKeyValue(text, code);
    if (at == std::string::npos) {
        std::string name = file;
        makeDataRelative(name);
        return "(" + name + ")";
    }
    lineInText += static_cast<size_t>(std::count(text.begin(), text.begin() + at, '\n'));
    return placeText(file, numbers[std::min(lineInText, numbers.size() - 1)]);
}

void ScriptLineOrigins::clear() {
    Files.clear();
    Lines.assign(1, Origin{-1, 0});
}

void ScriptLineOrigins::appendFile(const std::string& path, const std::string& readText) {
    int file = static_cast<int>(Files.size());
    Files.push_back(path);
    for (int line : writtenLineNumbers(path, readText)) {
        Lines.push_back(Origin{file, line});
    }
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
