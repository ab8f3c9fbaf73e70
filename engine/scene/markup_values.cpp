#include "markup_values.h"

#include "utils/utils_str.h"

namespace {

// Where the value of name + "=" starts, or npos.
size_t valueStart(const std::string& text, const std::string& name) {
    size_t at = text.find(name + "=");
    return at == std::string::npos ? at : at + name.size() + 1;
}

} // namespace

std::string markupTagValue(const std::string& text, const std::string& name) {
    size_t start = valueStart(text, name);
    if (start == std::string::npos) {
        return std::string();
    }
    size_t end = text.find('>', start);
    return trim(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

std::string markupAttribute(const std::string& text, const std::string& name) {
    size_t start = valueStart(text, name);
    if (start == std::string::npos || start >= text.size()) {
        return std::string();
    }
    char quote = text[start];
    if (quote == '"' || quote == '\'') {
        size_t end = text.find(quote, start + 1);
        return text.substr(start + 1,
                           end == std::string::npos ? std::string::npos : end - start - 1);
    }
    size_t end = text.find_first_of(" >", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
