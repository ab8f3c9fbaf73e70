#include "utils_str.h"

#include <cstdarg>
#include <cstdio>

namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
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
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

std::string toUpper(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
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
