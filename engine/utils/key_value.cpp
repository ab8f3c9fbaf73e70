#include "key_value.h"

#include "utils/number_text.h"
#include "utils/utils_str.h"

std::string getBetween(const std::string& text, const std::string& start, const std::string& end,
                       int& position, const std::string* parallel) {
    if (position < 0 || static_cast<size_t>(position) >= text.size()) {
        position = -1;
        return std::string();
    }
    int found = find(text, start, position);
    if (found < 0) {
        position = -1;
        return std::string();
    }
    int valueStart = found + static_cast<int>(start.size());
    const std::string& source = parallel != nullptr ? *parallel : text;
    if (!end.empty()) {
        int endAt = find(text, end, valueStart);
        if (endAt < 0) {
            position = static_cast<int>(text.size());
            return std::string();
        }
        position = endAt + static_cast<int>(end.size());
        return mid(source, valueStart, endAt - valueStart);
    }
    position = static_cast<int>(text.size());
    return trimRight(mid(source, valueStart));
}

std::string getOption(const std::string& text, const std::string& key,
                      const std::string& terminator, const std::string* parallel) {
    std::string pattern = key + "=";
    if (startsWith(text, "\n")) {
        pattern = "\n" + pattern;
    }
    int position = 0;
    return trim(getBetween(text, pattern, terminator, position, parallel));
}

namespace {

bool hasKeyLine(const std::string& text, const std::string& key) {
    return find(text, "\n" + key + "=") >= 0;
}

} // namespace

bool readStringOption(std::string& target, const std::string& text, const std::string& key) {
    if (!hasKeyLine(text, key)) {
        return false;
    }
    target = getOption(text, key, "\n");
    return true;
}

bool readIntOption(int& target, const std::string& text, const std::string& key) {
    if (!hasKeyLine(text, key)) {
        return false;
    }
    target = parseInt(getOption(text, key, "\n"));
    return true;
}

bool readFloatOption(float& target, const std::string& text, const std::string& key) {
    if (!hasKeyLine(text, key)) {
        return false;
    }
    target = parseFloat(getOption(text, key, "\n"));
    return true;
}

void writeOption(std::string& text, const std::string& key, const std::string& value) {
    text += key + "=" + value + "\n";
}

void writeOption(std::string& text, const std::string& key, int value) {
    writeOption(text, key, intToText(value));
}

void writeOption(std::string& text, const std::string& key, double value) {
    writeOption(text, key, format("%0.2f", value));
}
