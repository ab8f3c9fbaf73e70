#include "option_set.h"

#include "utils/base64.h"
#include "utils/debug.h"
#include "utils/key_value.h"
#include "utils/number_text.h"
#include "utils/utils_str.h"

#include <cstdlib>
#include <vector>

bool SignedByteOrder::operator()(const std::string& a, const std::string& b) const {
    size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        signed char left = static_cast<signed char>(a[i]);
        signed char right = static_cast<signed char>(b[i]);
        if (left != right) {
            return left < right;
        }
    }
    return a.size() < b.size();
}

namespace {

template <typename Map, typename Value>
Value lookup(const Map& map, const std::string& name, Value fallback) {
    auto found = map.find(name);
    return found == map.end() ? fallback : found->second;
}

// An option record line ends at its line break and its name at the first "]": a name holding
// either could not be read back as itself, so it is refused with a warning.
bool isStorableName(const std::string& name) {
    if (name.find_first_of("\r\n]") == std::string::npos) {
        return true;
    }
    showErrorBox("Warning! Option name cannot be stored: '" + replaceAll(name, "\n", "\\n") + "'",
                 false);
    return false;
}

template <typename Map, typename Value>
void store(Map& map, const std::string& name, Value value, Value absent, int& changes) {
    if (!isStorableName(name)) {
        return;
    }
    if (lookup(map, name, absent) != value) {
        ++changes;
    }
    map[name] = value;
}

bool passesFilters(const std::string& name, const std::string& include,
                   const std::string& exclude) {
    if (!include.empty() && !wildcardMatch(name, include)) {
        return false;
    }
    return exclude.empty() || !wildcardMatch(name, exclude);
}

// The names of every "\n" + prefix + name + "]" in the text.
std::vector<std::string> recordNames(const std::string& text, const std::string& prefix) {
    std::vector<std::string> names;
    std::string marker = "\n" + prefix;
    int position = 0;
    while ((position = find(text, marker, position)) >= 0) {
        int nameStart = position + static_cast<int>(marker.size());
        int close = findChar(text, ']', nameStart);
        if (close < 0) {
            break;
        }
        std::string name = text.substr(nameStart, close - nameStart);
        // A record broken across lines is not an option of this file.
        if (name.find_first_of("\r\n") == std::string::npos) {
            names.push_back(name);
        }
        position = close + 1;
    }
    return names;
}

} // namespace

std::string OptionSet::getStringOption(const std::string& name, const std::string& fallback) const {
    return lookup(stringOptions, name, fallback);
}

int32_t OptionSet::getLongOption(const std::string& name, int32_t fallback) const {
    return lookup(longOptions, name, fallback);
}

float OptionSet::getDoubleOption(const std::string& name, float fallback) const {
    return lookup(doubleOptions, name, fallback);
}

void OptionSet::setStringOption(const std::string& name, const std::string& value) {
    store(stringOptions, name, value, std::string(), changes);
}

void OptionSet::setLongOption(const std::string& name, int32_t value) {
    store(longOptions, name, value, 0, changes);
}

void OptionSet::setDoubleOption(const std::string& name, float value) {
    store(doubleOptions, name, value, 0.0f, changes);
}

void OptionSet::removeOption(const std::string& name) {
    if (stringOptions.erase(name) + longOptions.erase(name) + doubleOptions.erase(name) != 0) {
        ++changes;
    }
}

int OptionSet::findOption(const std::string& name, std::string& text, int32_t& number,
                          float& real) const {
    auto textFound = stringOptions.find(name);
    if (textFound != stringOptions.end()) {
        text = textFound->second;
        return 1;
    }
    auto numberFound = longOptions.find(name);
    if (numberFound != longOptions.end()) {
        number = numberFound->second;
        return 2;
    }
    auto realFound = doubleOptions.find(name);
    if (realFound != doubleOptions.end()) {
        real = realFound->second;
        return 3;
    }
    return 0;
}

std::string OptionSet::serializeOptions(const std::string& include,
                                        const std::string& exclude) const {
    std::string text = "\n";
    for (const auto& [name, value] : stringOptions) {
        if (!passesFilters(name, include, exclude)) {
            continue;
        }
        // A plain record line is trimmed when read and its file is read up to a zero byte:
        // values it cannot hold as they are go in Base64.
        if (value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
            trim(value) == value) {
            writeOption(text, "Option[" + name + "]", value);
        } else {
            writeOption(text, "OptionStrB64[" + name + "]", base64Encode(kBase64Standard, value));
        }
    }
    for (const auto& [name, value] : longOptions) {
        if (passesFilters(name, include, exclude)) {
            writeOption(text, "OptionLong[" + name + "]", static_cast<int>(value));
        }
    }
    for (const auto& [name, value] : doubleOptions) {
        if (passesFilters(name, include, exclude)) {
            writeOption(text, "OptionDouble[" + name + "]", static_cast<double>(value));
        }
    }
    return text;
}

void OptionSet::parseOptions(const std::string& text) {
    for (const std::string& name : recordNames(text, "Option[")) {
        stringOptions[name] = getOption(text, "Option[" + name + "]", "\n");
    }
    for (const std::string& name : recordNames(text, "OptionStrB64[")) {
        stringOptions[name] =
            base64Decode(kBase64Standard, getOption(text, "OptionStrB64[" + name + "]", "\n"));
    }
    for (const std::string& name : recordNames(text, "OptionLong[")) {
        longOptions[name] = parseInt(getOption(text, "OptionLong[" + name + "]", "\n"));
    }
    for (const std::string& name : recordNames(text, "OptionDouble[")) {
        // Read with the inverse of the writer's printf form, so that every written value (also
        // those beyond the engine's eight-digit number reader) comes back.
        const std::string value = getOption(text, "OptionDouble[" + name + "]", "\n");
        doubleOptions[name] = engineFloat(std::strtod(value.c_str(), nullptr), value);
    }
}
