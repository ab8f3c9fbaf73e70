// Default delegate of strings.
#include "library.h"
#include "machine.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace squirrel::detail {

namespace {

Value stringLen(Machine&, Value* args, int) {
    return Value::integer(static_cast<std::int32_t>(args[0].str()->length));
}

// Reads a number the way the language's string conversions do: a text with a '.' or an
// exponent is a float, anything else an integer in the given base; trailing text is ignored.
bool parseNumber(const char* text, int base, Value& out) {
    bool isFloat = false;
    for (const char* p = text; *p; ++p) {
        if (*p == '.' || (base <= 13 && (*p == 'e' || *p == 'E'))) {
            isFloat = true;
            break;
        }
    }
    char* end;
    if (isFloat) {
        double value = std::strtod(text, &end);
        if (end == text)
            return false;
        out = Value::real(static_cast<float>(value));
    } else {
        long long value = std::strtoll(text, &end, base);
        if (end == text)
            return false;
        out = Value::integer(static_cast<std::int32_t>(value));
    }
    return true;
}

Value stringToInteger(Machine& m, Value* args, int count) {
    int base = count > 1 ? args[1].toInt() : 10;
    Value number;
    if (!parseNumber(args[0].str()->c_str(), base, number))
        m.raiseError("cannot convert the string");
    return Value::integer(number.toInt());
}

Value stringToFloat(Machine& m, Value* args, int) {
    Value number;
    if (!parseNumber(args[0].str()->c_str(), 10, number))
        m.raiseError("cannot convert the string");
    return Value::real(number.toFloat());
}

Value stringToString(Machine&, Value* args, int) {
    return args[0];
}

Value stringSlice(Machine& m, Value* args, int count) {
    String* s = args[0].str();
    SliceRange range = sliceRange(m, args, count, static_cast<std::int32_t>(s->length));
    return m.state.string(s->view().substr(static_cast<std::size_t>(range.start),
                                           static_cast<std::size_t>(range.end - range.start)));
}

Value stringFind(Machine&, Value* args, int count) {
    String* s = args[0].str();
    std::int32_t start = count > 2 ? args[2].toInt() : 0;
    if (start < 0 || static_cast<std::uint32_t>(start) >= s->length)
        return Value();
    std::size_t found = s->view().find(args[1].str()->view(), static_cast<std::size_t>(start));
    if (found == std::string_view::npos)
        return Value();
    return Value::integer(static_cast<std::int32_t>(found));
}

Value changeCase(Machine& m, Value* args, int (*convert)(int)) {
    std::string text(args[0].str()->view());
    for (char& c : text)
        c = static_cast<char>(convert(static_cast<unsigned char>(c)));
    return m.state.string(text);
}

Value stringToLower(Machine& m, Value* args, int) {
    return changeCase(m, args, std::tolower);
}
Value stringToUpper(Machine& m, Value* args, int) {
    return changeCase(m, args, std::toupper);
}

} // namespace

void createStringDelegate(State& s) {
    s.stringDelegate = s.newTable();
    Table* t = s.stringDelegate.table();
    s.registerNative(t, "len", stringLen, 1, "s");
    s.registerNative(t, "tointeger", stringToInteger, -1, "sn");
    s.registerNative(t, "tofloat", stringToFloat, 1, "s");
    s.registerNative(t, "tostring", stringToString, 1, "s");
    s.registerNative(t, "slice", stringSlice, -2, "snn");
    s.registerNative(t, "find", stringFind, -2, "ssn");
    s.registerNative(t, "tolower", stringToLower, 1, "s");
    s.registerNative(t, "weakref", delegateWeakRef, 1, "s");
    s.registerNative(t, "toupper", stringToUpper, 1, "s");
}

} // namespace squirrel::detail
