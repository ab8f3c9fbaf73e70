#include "utils_str.h"

#include "utils/number_text.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char lowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char upperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

int find(const std::string& text, const std::string& what, int start) {
    if (start < 0 || static_cast<size_t>(start) > text.size()) {
        return -1;
    }
    size_t at = text.find(what, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int findChar(const std::string& text, char c, int start) {
    if (start < 0 || static_cast<size_t>(start) >= text.size()) {
        return -1;
    }
    size_t at = text.find(c, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

std::string replaceAll(const std::string& text, const std::string& from, const std::string& to) {
    std::string result = text;
    replaceN(result, from, to, -1);
    return result;
}

int replaceN(std::string& text, const std::string& from, const std::string& to, int count) {
    if (from.empty() || count == 0) {
        return 0;
    }
    std::string result;
    int replaced = 0;
    size_t position = 0;
    while (count < 0 || replaced < count) {
        size_t at = text.find(from, position);
        if (at == std::string::npos) {
            break;
        }
        result.append(text, position, at - position);
        result += to;
        position = at + from.size();
        ++replaced;
    }
    if (replaced > 0) {
        result.append(text, position, std::string::npos);
        text.swap(result);
    }
    return replaced;
}

std::string left(const std::string& text, int count) {
    if (count <= 0) {
        return std::string();
    }
    return text.substr(0, static_cast<size_t>(count));
}

std::string right(const std::string& text, int count) {
    if (count <= 0) {
        return std::string();
    }
    size_t length = static_cast<size_t>(count);
    return length >= text.size() ? text : text.substr(text.size() - length);
}

std::string mid(const std::string& text, int start, int count) {
    if (start < 0) {
        start = 0;
    }
    if (static_cast<size_t>(start) >= text.size()) {
        return std::string();
    }
    return text.substr(static_cast<size_t>(start),
                       count < 0 ? std::string::npos : static_cast<size_t>(count));
}

std::string trimLeft(const std::string& text) {
    size_t first = 0;
    while (first < text.size() && isWhiteSpace(text[first])) {
        ++first;
    }
    return text.substr(first);
}

std::string trimRight(const std::string& text) {
    size_t end = text.size();
    while (end > 0 && isWhiteSpace(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string trim(const std::string& text) {
    return trimLeft(trimRight(text));
}

std::string toLower(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        c = lowerChar(c);
    }
    return result;
}

std::string toUpper(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        c = upperChar(c);
    }
    return result;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

std::string format(const char* pattern, ...) {
    va_list arguments;
    va_start(arguments, pattern);
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, pattern, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        result.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(&result[0], result.size(), pattern, arguments);
        result.resize(static_cast<size_t>(length));
    }
    va_end(arguments);
    return result;
}

std::string intToText(long long value) {
    return std::to_string(value);
}

std::string joinList(const std::vector<std::string>& items, char separator) {
    std::string result;
    for (const std::string& item : items) {
        if (!result.empty()) {
            result += separator;
        }
        result += item;
    }
    return result;
}

std::vector<std::string> splitList(const std::string& text, char separator, bool keepEmpty) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (true) {
        size_t end = text.find(separator, start);
        std::string piece = text.substr(start, end == std::string::npos ? end : end - start);
        if (keepEmpty || !piece.empty()) {
            pieces.push_back(piece);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return pieces;
}

void sanitizeFileName(std::string& text) {
    // Nothing to destroy at exit: profiles are saved from the engine's destructor.
    constexpr std::string_view special = "\\\"'\t\r\n%:+!?/()<>*~`;";
    for (char& c : text) {
        if (special.find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    while (replaceN(text, "__", "_", -1) > 0) {
    }
    while (replaceN(text, "  ", " ", -1) > 0) {
    }
    text = trim(text);
    size_t first = text.find_first_not_of('_');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text = text.substr(first, text.find_last_not_of('_') - first + 1);
}

bool wildcardMatch(const std::string& text, const std::string& pattern) {
    size_t t = 0;
    size_t p = 0;
    size_t starPattern = std::string::npos;
    size_t starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starText = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (starPattern != std::string::npos) {
            p = starPattern + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::string urlEscape(const std::string& text) {
    std::string result;
    result.reserve(text.size() * 3);
    for (unsigned char c : text) {
        result += format("%%%02X", c);
    }
    return result;
}

namespace {

bool isTitleSeparator(char c) {
    return c == ' ' || c == '-' || c == '_' || c == ':' || c == ',' || c == '.' || c == '\\' ||
           c == '/';
}

} // namespace

std::string urlUnescape(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            result +=
                static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else if (c == '+') {
            result += ' ';
        } else {
            result += c;
        }
    }
    return result;
}

std::string titleCase(const std::string& text, bool dropSeparators) {
    std::string result;
    result.reserve(text.size());
    bool upperNext = true;
    for (char c : text) {
        bool separator = isTitleSeparator(c);
        if (!(separator && dropSeparators)) {
            result += upperNext ? upperChar(c) : lowerChar(c);
        }
        upperNext = separator;
    }
    return result;
}

int bitsFromString(const std::string& text) {
    uint32_t bits = 0;
    size_t count = text.size() < 32 ? text.size() : 32;
    for (size_t i = 0; i < count; ++i) {
        if (text[text.size() - 1 - i] != '0') {
            bits |= 1u << i;
        }
    }
    return static_cast<int>(bits);
}
