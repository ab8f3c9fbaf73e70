#include "number_text.h"

#include "debug.h"
#include "utils_str.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kMaxDigits = 8;
// A reported number's text is cut to this many characters.
constexpr size_t kQuotedNumberLength = 40;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads up to kMaxDigits decimal digits at `position`, moving it past them.
int64_t readDigits(const std::string& text, size_t& position, int* digitCount = nullptr) {
    int64_t value = 0;
    int count = 0;
    while (count < kMaxDigits && position < text.size() && isDigit(text[position])) {
        value = value * 10 + (text[position] - '0');
        ++position;
        ++count;
    }
    if (digitCount != nullptr) {
        *digitCount = count;
    }
    return value;
}

// Skips one leading "+" and then one "-", moving `position` past them; true for a "-".
bool readSign(const std::string& text, size_t& position) {
    if (position < text.size() && text[position] == '+') {
        ++position;
    }
    if (position < text.size() && text[position] == '-') {
        ++position;
        return true;
    }
    return false;
}

int parseHex(const std::string& text, size_t position) {
    uint32_t value = 0;
    for (; position < text.size(); ++position) {
        int digit = hexDigitValue(text[position]);
        if (digit < 0) {
            break;
        }
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return static_cast<int>(value);
}

} // namespace

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

int parseInt(const std::string& text) {
    size_t position = 0;
    bool negative = readSign(text, position);
    int value = static_cast<int>(readDigits(text, position));
    return negative ? -value : value;
}

int parseIntAnyBase(const std::string& text) {
    if (text.empty()) {
        return 0;
    }
    if (text.size() > 2 && text[0] == '0' && text[1] == 'x') {
        return parseHex(text, 2);
    }
    if (text.size() > 2 && text[0] == '&' && text[1] == '#') {
        if (text[2] == 'x' || text[2] == 'X') {
            return parseHex(text, 3);
        }
        return parseInt(text.substr(2));
    }
    if (text.size() > 1 && text[0] == '#') {
        return parseHex(text, 1);
    }
    return parseInt(text);
}

float parseFloat(const std::string& text) {
    size_t position = 0;
    bool negative = readSign(text, position);
    double value = static_cast<double>(readDigits(text, position));
    if (position < text.size() && text[position] == '.') {
        ++position;
        int fractionDigits = 0;
        int64_t fraction = readDigits(text, position, &fractionDigits);
        value += static_cast<double>(fraction) / std::pow(10.0, fractionDigits);
        if (position < text.size() && text[position] == 'e') {
            ++position;
            bool negativeExponent = false;
            if (position < text.size() && text[position] == '-') {
                negativeExponent = true;
                ++position;
            }
            double exponent = static_cast<double>(readDigits(text, position));
            if (value != 0.0) {
                value *= std::pow(10.0, negativeExponent ? -exponent : exponent);
            }
        }
    }
    return engineFloat(negative ? -value : value, text);
}

float engineFloat(double value, const std::string& text) {
    if (!(std::fabs(value) <= static_cast<double>(FLT_MAX))) {
        showErrorBox(format("The number '%s' is beyond the range of numbers the engine reads "
                            "(about 3.4e38 either way): it is read as 0",
                            text.substr(0, kQuotedNumberLength).c_str()),
                     false);
        return 0.0f;
    }
    return value == 0.0 ? 0.0f : static_cast<float>(value);
}

int parseColor(const std::string& text) {
    if (text.empty()) {
        return 0;
    }
    if (text.size() == 7 && text[0] == '#') {
        int color = 0;
        for (int pair = 0; pair < 3; ++pair) {
            int high = hexDigitValue(text[1 + pair * 2]);
            int low = hexDigitValue(text[2 + pair * 2]);
            int component = (high < 0 ? 0 : high) * 16 + (low < 0 ? 0 : low);
            color += component << (8 * pair);
        }
        return color;
    }
    return static_cast<int>(
        std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10), INT_MIN, INT_MAX));
}
