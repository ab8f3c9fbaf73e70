#include "description_values.h"

#include "utils/debug.h"
#include "utils/number_text.h"
#include "utils/utils_str.h"

#include <cmath>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits at `position` into `value`, moving past them; returns how many were read.
int readDigitRun(const std::string& text, size_t& position, double& value) {
    int count = 0;
    while (position < text.size() && isDigit(text[position])) {
        value = value * 10.0 + (text[position] - '0');
        ++position;
        ++count;
    }
    return count;
}

// The digits after a decimal point as a fraction; those beyond a double's precision are read
// past and left out, so that any number of them gives a number.
double readFraction(const std::string& text, size_t& position) {
    constexpr int kSignificantDigits = 17;
    double digits = 0.0;
    int used = 0;
    for (; position < text.size() && isDigit(text[position]); ++position) {
        if (used < kSignificantDigits) {
            digits = digits * 10.0 + (text[position] - '0');
            ++used;
        }
    }
    return digits / std::pow(10.0, used);
}

} // namespace

bool getKeyValue(const std::string& section, const std::string& key, std::string& value) {
    value.clear();
    size_t found = section.find(key);
    if (found == std::string::npos) {
        return false;
    }
    size_t start = found + key.size();
    if (start < section.size() && section[start] == '\n') {
        // The search starts at the key's own line feed: a key followed directly by the next key
        // line has an empty value.
        size_t end = start;
        while (end != std::string::npos && end + 1 < section.size() && section[end + 1] != '-' &&
               section[end + 1] != '[') {
            end = section.find('\n', end + 1);
        }
        if (end == std::string::npos) {
            value = section.substr(start + 1);
        } else if (end > start) {
            value = section.substr(start + 1, end - start - 1);
        }
    } else {
        value = getKeyLine(section, key);
    }
    return !value.empty();
}

std::string getKeyLine(const std::string& section, const std::string& key) {
    size_t found = section.find(key);
    if (found == std::string::npos) {
        return std::string();
    }
    size_t start = found + key.size();
    size_t end = section.find('\n', start);
    if (end == std::string::npos) {
        return std::string();
    }
    return section.substr(start, end - start);
}

int readDescriptionInt(const std::string& value) {
    return parseInt(value);
}

float readDescriptionFloat(const std::string& value) {
    if (value.find(',') != std::string::npos) {
        showErrorBox(format("Warning! whorg float delimiter used: %s", value.c_str()), false);
    }
    size_t position = 0;
    while (position < value.size() && (value[position] == ' ' || value[position] == '\t')) {
        ++position;
    }
    return readFloatAt(value, position);
}

float readFloatAt(const std::string& value, size_t position) {
    const size_t start = position;
    bool negative = false;
    if (position < value.size() && (value[position] == '+' || value[position] == '-')) {
        negative = value[position] == '-';
        ++position;
    }
    double number = 0.0;
    readDigitRun(value, position, number);
    if (position < value.size() && value[position] == '.') {
        ++position;
        number += readFraction(value, position);
    }
    if (position < value.size() && value[position] == 'e') {
        ++position;
        bool negativeExponent = false;
        if (position < value.size() && value[position] == '-') {
            negativeExponent = true;
            ++position;
        }
        double exponent = 0.0;
        if (readDigitRun(value, position, exponent) > 0 && number != 0.0) {
            number *= std::pow(10.0, negativeExponent ? -exponent : exponent);
        }
    }
    return engineFloat(negative ? -number : number, value.substr(start, position - start));
}

bool readTaggedInt(const std::string& value, char tag, int& target) {
    size_t found = value.find(tag);
    if (found == std::string::npos) {
        return false;
    }
    target = parseInt(value.substr(found + 1));
    return true;
}

bool readTaggedFloat(const std::string& value, char tag, float& target) {
    size_t found = value.find(tag);
    if (found == std::string::npos) {
        return false;
    }
    target = readFloatAt(value, found + 1);
    return true;
}

bool readTailString(const std::string& value, char marker, std::string& target) {
    size_t found = value.find(marker);
    if (found == std::string::npos) {
        return false;
    }
    target = trim(value.substr(found + 1));
    return true;
}

uint32_t readDescriptionColor(const std::string& value) {
    uint32_t color = 0;
    for (char c : value) {
        int digit = hexDigitValue(c);
        if (digit < 0) {
            break;
        }
        color = color * 16u + static_cast<uint32_t>(digit);
    }
    return color;
}
