#include "key_value_check.h"

#include "scene/description_values.h"
#include "utils/number_text.h"
#include "utils/utils_str.h"

#include <cctype>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The length of the decimal number the engine reads at `at` (sign, digits, fraction, exponent);
// 0 when there is no digit.
size_t numberLength(const std::string& text, size_t at) {
    size_t end = at;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) {
        ++end;
    }
    size_t digits = 0;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
        ++digits;
    }
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && isDigit(text[end])) {
            ++end;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (end < text.size() && text[end] == 'e') {
        size_t exponent = end + 1;
        if (exponent < text.size() && text[exponent] == '-') {
            ++exponent;
        }
        if (exponent < text.size() && isDigit(text[exponent])) {
            end = exponent;
            while (end < text.size() && isDigit(text[end])) {
                ++end;
            }
        }
    }
    return end - at;
}

std::string tagList(const char* tags) {
    std::string list;
    for (const char* t = tags; *t != '\0'; ++t) {
        list += list.empty() ? "" : ", ";
        list += *t;
    }
    return list;
}

std::string numberText(float value) {
    return format("%g", static_cast<double>(value));
}

void checkInt(const std::string& value, std::vector<ValueProblem>& out) {
    std::string written = trim(value);
    int read = parseInt(value);
    if (!value.empty() && isBlank(value[0])) {
        out.push_back(
            {true, format("'%s' starts with a blank: the engine reads %d", value.c_str(), read)});
        return;
    }
    size_t at = written[0] == '+' ? 1 : 0;
    if (at < written.size() && written[at] == '-') {
        ++at;
    }
    size_t digits = 0;
    while (at + digits < written.size() && isDigit(written[at + digits])) {
        ++digits;
    }
    if (digits == 0 || at + digits != written.size() || digits > 8) {
        out.push_back({true, format("'%s' is not a whole number: the engine reads %d",
                                    written.c_str(), read)});
    }
}

// The letter-number items of a tagged value (the part before any tail).
void checkTaggedItems(const DescriptionKey& key, const std::string& whole, size_t itemsEnd,
                      size_t itemsStart, std::vector<ValueProblem>& out) {
    const std::string tags = key.tags;
    std::string given;
    bool anyTag = false;
    size_t at = itemsStart;
    while (at < itemsEnd) {
        if (isBlank(whole[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < itemsEnd && !isBlank(whole[end])) {
            ++end;
        }
        std::string item = whole.substr(at, end - at);
        char letter = item[0];
        if (tags.find(letter) == std::string::npos) {
            if (numberLength(item, 0) > 0) {
                out.push_back({true, format("'%s' has no tag letter (%s): the engine ignores it",
                                            item.c_str(), tagList(key.tags).c_str())});
            } else {
                out.push_back({true, format("'%s' is no tag of this key (%s): the engine ignores "
                                            "it",
                                            item.c_str(), tagList(key.tags).c_str())});
            }
        } else {
            anyTag = true;
            given += letter;
            size_t length = numberLength(item, 1);
            if (item.find(',') != std::string::npos) {
                out.push_back(
                    {true, format("'%s' is written with a comma: the engine reads %s", item.c_str(),
                                  numberText(readFloatAt(item, 1)).c_str())});
            } else if (length == 0 || length + 1 != item.size()) {
                out.push_back(
                    {true, format("'%s' is not a letter and a number: the engine reads "
                                  "%s",
                                  item.c_str(), numberText(readFloatAt(item, 1)).c_str())});
            } else if (whole.find(letter) != at) {
                out.push_back({true, format("the engine reads '%c' at its first occurrence in "
                                            "'%s', not from '%s'",
                                            letter, whole.c_str(), item.c_str())});
            }
        }
        at = end;
    }
    // A tag left out is still looked for in the rest of the value, such as a name after '@'.
    for (char tag : tags) {
        size_t found = whole.find(tag);
        if (given.find(tag) == std::string::npos && found != std::string::npos &&
            !(key.tagsBeforeTail && found >= itemsEnd)) {
            out.push_back({false, format("'%c' is not given, so the engine reads it at its "
                                         "first occurrence in '%s': %s (give it to be sure)",
                                         tag, trim(whole).c_str(),
                                         numberText(readFloatAt(whole, found + 1)).c_str())});
        }
    }
    if (!anyTag && whole.find_first_of(key.tags) == std::string::npos &&
        !(key.bareNumber && numberLength(whole, itemsStart) > 0)) {
        out.push_back({true, format("'%s' gives none of the tags %s: the engine ignores the value",
                                    trim(whole).c_str(), tagList(key.tags).c_str())});
    }
}

void checkTagged(const DescriptionKey& key, const std::string& value,
                 std::vector<ValueProblem>& out) {
    size_t itemsEnd = key.tail != 0 ? value.find(key.tail) : std::string::npos;
    if (itemsEnd == std::string::npos) {
        itemsEnd = value.size();
    } else if (trim(value.substr(itemsEnd + 1)).empty()) {
        out.push_back({true, format("nothing follows '%c'", key.tail)});
    }
    size_t start = 0;
    while (start < itemsEnd && isBlank(value[start])) {
        ++start;
    }
    if (key.bareNumber && numberLength(value, start) > 0 &&
        value.find_first_of(key.tags) == std::string::npos) {
        size_t length = numberLength(value, start);
        if (value.find(',') != std::string::npos) {
            out.push_back(
                {true, format("'%s' is written with a comma: the engine reads %s",
                              trim(value).c_str(), numberText(readFloatAt(value, start)).c_str())});
        } else if (!trim(value.substr(start + length, itemsEnd - start - length)).empty()) {
            out.push_back({true, format("'%s' after the number is ignored",
                                        trim(value.substr(start + length)).c_str())});
        }
        return;
    }
    checkTaggedItems(key, value, itemsEnd, start, out);
}

void checkNumber(const DescriptionKey& key, const std::string& value,
                 std::vector<ValueProblem>& out) {
    size_t start = 0;
    while (start < value.size() && isBlank(value[start])) {
        ++start;
    }
    size_t length = numberLength(value, start);
    if (length == 0) {
        out.push_back(
            {true, format("'%s' is not a number: the engine reads 0", trim(value).c_str())});
        return;
    }
    size_t rest = start + length;
    if (rest < value.size() && value[rest] == ',') {
        out.push_back(
            {true, format("'%s' is written with a comma: the engine reads %s", trim(value).c_str(),
                          numberText(readFloatAt(value, start)).c_str())});
        return;
    }
    if (trim(value.substr(rest)).empty()) {
        return;
    }
    if (*key.tags == '\0') {
        out.push_back(
            {true, format("'%s' after the number is ignored", trim(value.substr(rest)).c_str())});
        return;
    }
    checkTaggedItems(key, value, value.size(), rest, out);
}

void checkColour(const std::string& value, std::vector<ValueProblem>& out) {
    std::string written = trim(value);
    size_t digits = 0;
    while (digits < written.size() && hexDigitValue(written[digits]) >= 0) {
        ++digits;
    }
    if (digits != written.size() || digits > 8) {
        out.push_back({true, format("'%s' is not a colour of up to 8 hexadecimal digits "
                                    "AARRGGBB (no prefix): the engine reads %08X",
                                    written.c_str(), readDescriptionColor(written))});
    }
}

} // namespace

std::vector<ValueProblem> checkKeyValue(const DescriptionKey& key, const std::string& value) {
    std::vector<ValueProblem> problems;
    if (value.find("${") != std::string::npos || trim(value).empty()) {
        return problems;
    }
    switch (key.form) {
    case KeyForm::Int:
        checkInt(value, problems);
        if (key.maximum > 0 && parseInt(value) > key.maximum) {
            problems.push_back({true, format("%d is more than the %d the engine makes",
                                             parseInt(value), key.maximum)});
        }
        break;
    case KeyForm::Number:
        checkNumber(key, value, problems);
        break;
    case KeyForm::Tagged:
        checkTagged(key, value, problems);
        break;
    case KeyForm::Colour:
        checkColour(value, problems);
        break;
    default:
        break;
    }
    return problems;
}
