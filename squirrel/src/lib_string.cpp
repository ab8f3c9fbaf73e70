// The string library: format and printf, stripping, splitting, escaping and prefix tests.
#include "library.h"
#include "machine.h"

#include <cctype>
#include <cstdio>

namespace squirrel::detail {

namespace {

// Formats args[first...] after the format string args[first - 1] as printf does: flags
// "-+ #0", a width and a precision of up to two digits each, and the conversions
// d i o u x X c (integers), e E f g G (floats), s (strings) and %%.
std::string formatArguments(Machine& m, const Value* args, int count, int first) {
    const String* format = args[first - 1].str();
    std::string out;
    int next = first;
    for (std::uint32_t i = 0; i < format->length; ++i) {
        char c = format->data[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 < format->length && format->data[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::string directive = "%";
        std::uint32_t j = i + 1;
        while (j < format->length &&
               std::string_view("-+ #0").find(format->data[j]) != std::string_view::npos)
            directive += format->data[j++];
        std::uint32_t digits = 0;
        while (j < format->length && std::isdigit(static_cast<unsigned char>(format->data[j]))) {
            directive += format->data[j++];
            if (++digits > 2)
                m.raiseError("width format too long");
        }
        if (j < format->length && format->data[j] == '.') {
            directive += format->data[j++];
            digits = 0;
            while (j < format->length &&
                   std::isdigit(static_cast<unsigned char>(format->data[j]))) {
                directive += format->data[j++];
                if (++digits > 2)
                    m.raiseError("precision format too long");
            }
        }
        if (j >= format->length)
            m.raiseError("invalid format");
        char conversion = format->data[j];
        directive += conversion;
        i = j;
        if (std::string_view("diouxXceEfgGs").find(conversion) == std::string_view::npos)
            m.raiseError("invalid format");
        if (next >= count)
            m.raiseError("not enough parameters for the given format string");
        const Value& arg = args[next++];
        switch (conversion) {
        case 's':
            if (arg.tag != Tag::String)
                m.raiseError("string expected for the specified format");
            out += formatString(directive.c_str(), arg.str()->c_str());
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'g':
        case 'G':
            if (!arg.isNumber())
                m.raiseError("float expected for the specified format");
            out += formatString(directive.c_str(), static_cast<double>(arg.toFloat()));
            break;
        default:
            if (!arg.isNumber())
                m.raiseError("integer expected for the specified format");
            out += formatString(directive.c_str(), arg.toInt());
            break;
        }
    }
    return out;
}

Value stringFormat(Machine& m, Value* args, int count) {
    return m.state.string(formatArguments(m, args, count, 2));
}

Value stringPrintf(Machine& m, Value* args, int count) {
    std::string text = formatArguments(m, args, count, 2);
    m.state.print(text);
    return Value();
}

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c));
}

Value strip(Machine& m, const Value& text, bool left, bool right) {
    std::string_view s = text.str()->view();
    while (left && !s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (right && !s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return m.state.string(s);
}

Value stringStrip(Machine& m, Value* args, int) {
    return strip(m, args[1], true, true);
}

Value stringLStrip(Machine& m, Value* args, int) {
    return strip(m, args[1], true, false);
}

Value stringRStrip(Machine& m, Value* args, int) {
    return strip(m, args[1], false, true);
}

// split(text, separators, [skipempty]): the pieces between separator characters.
Value stringSplit(Machine& m, Value* args, int count) {
    std::string_view text = args[1].str()->view();
    std::string_view separators = args[2].str()->view();
    bool skipEmpty = count > 3 && args[3].truthy();
    Value result = m.state.newArray();
    auto& items = result.array()->items;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && separators.find(text[i]) == std::string_view::npos)
            continue;
        if (!skipEmpty || i > start)
            items.push_back(m.state.string(text.substr(start, i - start)));
        start = i + 1;
    }
    return result;
}

// A backslash before quotes, backslashes and the zero byte; \xnn for every other character
// that does not print, control characters with a name of their own included (a line feed is
// written \x0a). The length is worked out first, so that an escaped text too long for a string
// fails before anything is allocated, and the result is written in place.
std::size_t escapedLength(char c) {
    switch (c) {
    case '\\':
    case '"':
    case '\'':
    case '\0':
        return 2;
    default:
        return std::isprint(static_cast<unsigned char>(c)) ? 1 : 4;
    }
}

Value stringEscape(Machine& m, Value* args, int) {
    std::string_view text = args[1].str()->view();
    std::size_t length = 0;
    for (char c : text)
        length += escapedLength(c);
    return m.state.strings.build(length, [text](char* out) {
        static const char kHex[] = "0123456789abcdef";
        for (char c : text) {
            switch (escapedLength(c)) {
            case 1:
                *out++ = c;
                break;
            case 2:
                *out++ = '\\';
                *out++ = c == '\0' ? '0' : c;
                break;
            default: {
                auto byte = static_cast<unsigned char>(c);
                *out++ = '\\';
                *out++ = 'x';
                *out++ = kHex[byte >> 4];
                *out++ = kHex[byte & 15];
                break;
            }
            }
        }
    });
}

Value stringStartsWith(Machine&, Value* args, int) {
    std::string_view text = args[1].str()->view();
    std::string_view prefix = args[2].str()->view();
    return Value::boolean(text.substr(0, prefix.size()) == prefix);
}

Value stringEndsWith(Machine&, Value* args, int) {
    std::string_view text = args[1].str()->view();
    std::string_view suffix = args[2].str()->view();
    return Value::boolean(text.size() >= suffix.size() &&
                          text.substr(text.size() - suffix.size()) == suffix);
}

} // namespace

void registerStringLibrary(State& s) {
    Table* root = s.root.table();
    s.registerNative(root, "format", stringFormat, -2, ".s");
    s.registerNative(root, "printf", stringPrintf, -2, ".s");
    s.registerNative(root, "strip", stringStrip, 2, ".s");
    s.registerNative(root, "lstrip", stringLStrip, 2, ".s");
    s.registerNative(root, "rstrip", stringRStrip, 2, ".s");
    s.registerNative(root, "split", stringSplit, -3, ".ssb");
    s.registerNative(root, "escape", stringEscape, 2, ".s");
    s.registerNative(root, "startswith", stringStartsWith, 3, ".ss");
    s.registerNative(root, "endswith", stringEndsWith, 3, ".ss");
    registerRegexpClass(s);
}

} // namespace squirrel::detail
