// The regexp class of the string library.
#include "library.h"
#include "machine.h"
#include "native_class.h"
#include "regexp.h"

namespace squirrel::detail {

namespace {

const char kRegexpType = 0;

struct CompiledRegex : NativeData {
    explicit CompiledRegex(std::string_view pattern) : regex(pattern) {}
    Regex regex;
};

const Regex& regexOf(Machine& m, const Value& self) {
    return nativeDataOf<CompiledRegex>(m, self, &kRegexpType).regex;
}

Value regexpConstructor(Machine& m, Value* args, int) {
    try {
        setNativeData(m, args[0], std::make_unique<CompiledRegex>(args[1].str()->view()));
    } catch (const RegexError& e) {
        m.raiseError("%s", e.what());
    }
    return Value();
}

// Matching costs the operation budget one operation per step.
Regex::StepCounter budgetCounter(Machine& m) {
    return [&m](std::size_t steps) { m.chargeOperations(static_cast<std::int64_t>(steps)); };
}

Value regexpMatch(Machine& m, Value* args, int) {
    try {
        return Value::boolean(regexOf(m, args[0]).match(args[1].str()->view(), budgetCounter(m)));
    } catch (const RegexError& e) {
        m.raiseError("%s", e.what());
    }
}

// Runs a search from the optional start position.
bool search(Machine& m, Value* args, int count, std::vector<Regex::Capture>& captures) {
    const Regex& regex = regexOf(m, args[0]);
    std::int32_t start = count > 2 ? args[2].toInt() : 0;
    if (start < 0 || static_cast<std::uint32_t>(start) > args[1].str()->length)
        m.raiseError("invalid starting position");
    try {
        return regex.search(args[1].str()->view(), static_cast<std::size_t>(start), captures,
                            budgetCounter(m));
    } catch (const RegexError& e) {
        m.raiseError("%s", e.what());
    }
}

// {begin = ..., end = ...}; a group that took no part gives 0 and 0.
Value range(State& s, const Regex::Capture& capture) {
    Value table = s.newTable();
    bool matched = capture.begin >= 0;
    table.table()->set(s.string("begin"),
                       Value::integer(matched ? static_cast<std::int32_t>(capture.begin) : 0));
    table.table()->set(s.string("end"),
                       Value::integer(matched ? static_cast<std::int32_t>(capture.end) : 0));
    return table;
}

Value regexpSearch(Machine& m, Value* args, int count) {
    std::vector<Regex::Capture> captures;
    if (!search(m, args, count, captures))
        return Value();
    return range(m.state, captures[0]);
}

Value regexpCapture(Machine& m, Value* args, int count) {
    std::vector<Regex::Capture> captures;
    if (!search(m, args, count, captures))
        return Value();
    Value result = m.state.newArray();
    for (const Regex::Capture& capture : captures)
        result.array()->items.push_back(range(m.state, capture));
    return result;
}

Value regexpSubExpCount(Machine& m, Value* args, int) {
    return Value::integer(static_cast<std::int32_t>(regexOf(m, args[0]).captureCount()));
}

} // namespace

void registerRegexpClass(State& s) {
    Value cls = newNativeClass(s, &kRegexpType);
    addNativeMethod(s, cls, "constructor", regexpConstructor, 2, "xs");
    addNativeMethod(s, cls, "match", regexpMatch, 2, "xs");
    addNativeMethod(s, cls, "search", regexpSearch, -2, "xsn");
    addNativeMethod(s, cls, "capture", regexpCapture, -2, "xsn");
    addNativeMethod(s, cls, "subexpcount", regexpSubExpCount, 1, "x");
    s.root.table()->set(s.string("regexp"), cls);
}

} // namespace squirrel::detail
