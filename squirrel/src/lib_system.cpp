// The system library: environment, commands, clocks, dates and file removal and renaming.
#include "library.h"
#include "machine.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace squirrel::detail {

namespace {

Value systemGetEnv(Machine& m, Value* args, int) {
    const char* value = std::getenv(args[1].str()->c_str());
    return value ? m.state.string(value) : Value();
}

Value systemSystem(Machine&, Value* args, int) {
    return Value::integer(std::system(args[1].str()->c_str()));
}

// Processor time of the process, in seconds.
Value systemClock(Machine&, Value*, int) {
    return Value::real(static_cast<float>(std::clock()) / CLOCKS_PER_SEC);
}

Value systemTime(Machine&, Value*, int) {
    return Value::integer(static_cast<std::int32_t>(std::time(nullptr)));
}

// date([time, [format]]): the broken-down time, local ('l', the default) or UTC ('u').
Value systemDate(Machine& m, Value* args, int count) {
    std::time_t t = count > 1 ? static_cast<std::time_t>(args[1].toInt()) : std::time(nullptr);
    int format = count > 2 ? args[2].toInt() : 'l';
    std::tm parts{};
    if (format == 'u')
        gmtime_r(&t, &parts);
    else if (format == 'l')
        localtime_r(&t, &parts);
    else
        m.raiseError("invalid format");
    State& s = m.state;
    Value date = s.newTable();
    Table* d = date.table();
    d->set(s.string("sec"), Value::integer(parts.tm_sec));
    d->set(s.string("min"), Value::integer(parts.tm_min));
    d->set(s.string("hour"), Value::integer(parts.tm_hour));
    d->set(s.string("day"), Value::integer(parts.tm_mday));
    d->set(s.string("month"), Value::integer(parts.tm_mon));
    d->set(s.string("year"), Value::integer(parts.tm_year + 1900));
    d->set(s.string("wday"), Value::integer(parts.tm_wday));
    d->set(s.string("yday"), Value::integer(parts.tm_yday));
    return date;
}

Value systemRemove(Machine& m, Value* args, int) {
    if (std::remove(args[1].str()->c_str()) != 0)
        m.raiseError("remove() failed");
    return Value();
}

Value systemRename(Machine& m, Value* args, int) {
    if (std::rename(args[1].str()->c_str(), args[2].str()->c_str()) != 0)
        m.raiseError("rename() failed");
    return Value();
}

} // namespace

void registerSystemLibrary(State& s) {
    Table* root = s.root.table();
    s.registerNative(root, "getenv", systemGetEnv, 2, ".s");
    s.registerNative(root, "system", systemSystem, 2, ".s");
    s.registerNative(root, "clock", systemClock, 1);
    s.registerNative(root, "time", systemTime, 1);
    s.registerNative(root, "date", systemDate, -1, ".nn");
    s.registerNative(root, "remove", systemRemove, 2, ".s");
    s.registerNative(root, "rename", systemRename, 3, ".ss");
}

} // namespace squirrel::detail
