// Default delegate of integers, floats and bools.
#include "library.h"
#include "machine.h"

namespace squirrel::detail {

namespace {

Value numberToFloat(Machine&, Value* args, int) {
    const Value& self = args[0];
    if (self.tag == Tag::Bool)
        return Value::real(self.b ? 1.0f : 0.0f);
    return Value::real(self.toFloat());
}

Value numberToInteger(Machine&, Value* args, int) {
    const Value& self = args[0];
    if (self.tag == Tag::Bool)
        return Value::integer(self.b ? 1 : 0);
    return Value::integer(self.toInt());
}

Value numberToChar(Machine& m, Value* args, int) {
    const Value& self = args[0];
    char c = static_cast<char>(self.tag == Tag::Bool ? self.b : self.toInt());
    return m.state.string(std::string_view(&c, 1));
}

} // namespace

void createNumberDelegate(State& s) {
    s.numberDelegate = s.newTable();
    Table* t = s.numberDelegate.table();
    s.registerNative(t, "tofloat", numberToFloat, 1, "n|b");
    s.registerNative(t, "tointeger", numberToInteger, 1, "n|b");
    s.registerNative(t, "tostring", delegateToString, 1, "n|b");
    s.registerNative(t, "tochar", numberToChar, 1, "n|b");
    s.registerNative(t, "weakref", delegateWeakRef, 1, "n|b");
}

} // namespace squirrel::detail
