// Default delegate of functions (script closures and native functions).
#include "library.h"
#include "machine.h"

namespace squirrel::detail {

namespace {

Value closureCall(Machine& m, Value* args, int count) {
    Value fn = args[0];
    return m.call(fn, args[1], args + 2, count - 2);
}

Value closurePCall(Machine& m, Value* args, int count) {
    Value fn = args[0];
    return m.protectedCall(fn, args[1], args + 2, count - 2);
}

// The array holds `this` first, then the arguments.
Value callWithArray(Machine& m, Value* args, bool isProtected) {
    Value fn = args[0];
    std::vector<Value> values = args[1].array()->items;
    if (values.empty())
        m.raiseError("the argument array must hold the 'this' object");
    int count = static_cast<int>(values.size()) - 1;
    return isProtected ? m.protectedCall(fn, values[0], values.data() + 1, count)
                       : m.call(fn, values[0], values.data() + 1, count);
}

Value closureACall(Machine& m, Value* args, int) {
    return callWithArray(m, args, false);
}
Value closurePACall(Machine& m, Value* args, int) {
    return callWithArray(m, args, true);
}

Value closureBindEnv(Machine& m, Value* args, int) {
    const Value& self = args[0];
    const Value& env = args[1];
    if (self.tag == Tag::Closure) {
        Closure* source = self.closure();
        Closure* bound = new Closure(m.state.gcHead, source->proto);
        Value result(bound);
        bound->outers = source->outers;
        bound->defaults = source->defaults;
        bound->root = source->root;
        bound->base = source->base;
        bound->env = makeWeakRef(env);
        return result;
    }
    NativeClosure* source = self.native();
    NativeClosure* bound = new NativeClosure(m.state.gcHead, source->fn, source->name);
    Value result(bound);
    bound->paramCheck = source->paramCheck;
    bound->typeMask = source->typeMask;
    bound->outers = source->outers;
    bound->host = source->host;
    bound->env = makeWeakRef(env);
    return result;
}

Value closureSetRoot(Machine& m, Value* args, int) {
    if (args[0].tag != Tag::Closure)
        m.raiseError("native functions have no root table");
    args[0].closure()->root = args[1];
    return Value();
}

Value closureGetRoot(Machine& m, Value* args, int) {
    if (args[0].tag == Tag::Closure && !args[0].closure()->root.isNull())
        return args[0].closure()->root;
    return m.state.root;
}

Value closureGetInfos(Machine& m, Value* args, int) {
    State& s = m.state;
    Value info = s.newTable();
    Table* t = info.table();
    if (args[0].tag == Tag::Closure) {
        Closure* c = args[0].closure();
        FunctionProto* proto = c->proto;
        t->set(s.string("native"), Value::boolean(false));
        t->set(s.string("name"), proto->name);
        t->set(s.string("src"), proto->source);
        Value parameters = s.newArray();
        for (std::size_t i = 1; i < proto->parameters.size(); ++i)
            parameters.array()->items.push_back(proto->parameters[i]);
        t->set(s.string("parameters"), parameters);
        Value defaults = s.newArray();
        defaults.array()->items = c->defaults;
        t->set(s.string("defparams"), defaults);
        t->set(s.string("varargs"), Value::integer(proto->varargs ? 1 : 0));
    } else {
        NativeClosure* n = args[0].native();
        t->set(s.string("native"), Value::boolean(true));
        t->set(s.string("name"), n->name);
        t->set(s.string("paramscheck"), Value::integer(n->paramCheck));
        Value mask = s.newArray();
        for (std::uint32_t bits : n->typeMask)
            mask.array()->items.push_back(
                Value::integer(static_cast<std::int32_t>(bits ? bits : 0xFFFFFFFFu)));
        t->set(s.string("typecheck"), mask);
    }
    return info;
}

} // namespace

void createClosureDelegate(State& s) {
    s.closureDelegate = s.newTable();
    Table* t = s.closureDelegate.table();
    s.registerNative(t, "call", closureCall, -2, "c");
    s.registerNative(t, "pcall", closurePCall, -2, "c");
    s.registerNative(t, "acall", closureACall, 2, "ca");
    s.registerNative(t, "pacall", closurePACall, 2, "ca");
    s.registerNative(t, "tostring", delegateToString, 1, "c");
    s.registerNative(t, "weakref", delegateWeakRef, 1, "c");
    s.registerNative(t, "bindenv", closureBindEnv, 2, "c");
    s.registerNative(t, "setroot", closureSetRoot, 2, "ct");
    s.registerNative(t, "getroot", closureGetRoot, 1, "c");
    s.registerNative(t, "getinfos", closureGetInfos, 1, "c");
}

} // namespace squirrel::detail
