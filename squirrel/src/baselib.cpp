// The base library: global functions and constants in the root table.
#include "compiler.h"
#include "library.h"
#include "machine.h"
#include "size_limits.h"

namespace squirrel::detail {

namespace {

Value basePrint(Machine& m, Value* args, int) {
    Value text = m.toString(args[1]);
    m.state.print(text.str()->view());
    return Value();
}

Value baseError(Machine& m, Value* args, int) {
    Value text = m.toString(args[1]);
    m.state.printError(text.str()->view());
    return Value();
}

Value baseAssert(Machine& m, Value* args, int count) {
    if (!args[1].truthy()) {
        if (count > 2)
            m.raise(args[2]);
        m.raiseError("assertion failed");
    }
    return Value();
}

Value baseType(Machine& m, Value* args, int) {
    return m.state.typeNames[static_cast<std::size_t>(args[1].tag)];
}

Value baseArray(Machine& m, Value* args, int count) {
    if (args[1].toInt() < 0)
        m.raiseError("negative size");
    auto size = static_cast<std::size_t>(args[1].toInt());
    checkElements(size, sizeof(Value));
    Value array = m.state.newArray();
    array.array()->items.assign(size, count > 2 ? args[2] : Value());
    return array;
}

Value baseGetRootTable(Machine& m, Value*, int) {
    return m.state.root;
}

Value baseSetRootTable(Machine& m, Value* args, int) {
    Value previous = m.state.root;
    m.state.root = args[1];
    return previous;
}

Value baseGetConstTable(Machine& m, Value*, int) {
    return m.state.consts;
}

Value baseSetConstTable(Machine& m, Value* args, int) {
    Value previous = m.state.consts;
    m.state.consts = args[1];
    return previous;
}

Value baseCompileString(Machine& m, Value* args, int count) {
    std::string_view name = count > 2 ? args[2].str()->view() : "unnamedbuffer";
    Value proto;
    try {
        proto = compileScript(m.state, args[1].str()->view(), name);
    } catch (const CompileError& e) {
        m.raiseError("%s", e.what());
    }
    return Value(new Closure(m.state.gcHead, proto.as<FunctionProto>()));
}

Value baseCollectGarbage(Machine& m, Value*, int) {
    return Value::integer(collectCycles(m.state.gcHead));
}

// The unreachable objects, alive again in an array (null when there are none).
Value baseResurrectUnreachable(Machine& m, Value*, int) {
    std::vector<Value> garbage = findUnreachable(m.state.gcHead);
    if (garbage.empty())
        return Value();
    Value array = m.state.newArray();
    array.array()->items = std::move(garbage);
    return array;
}

Value baseSetErrorHandler(Machine& m, Value* args, int) {
    m.state.errorHandler = args[1];
    return Value();
}

Value baseSetDebugHook(Machine& m, Value* args, int) {
    m.state.debugHook = args[1];
    return Value();
}

Value baseCallee(Machine& m, Value*, int) {
    const Frame* caller = m.frameAt(1);
    return caller ? Value(caller->callee) : Value();
}

Value baseEnableDebugInfo(Machine& m, Value* args, int) {
    m.state.lineInfo = !args[1].isNull();
    return Value();
}

Value baseGetStackInfos(Machine& m, Value* args, int) {
    return stackInfos(m, args[1].toInt());
}

} // namespace

Value delegateToString(Machine& m, Value* args, int) {
    return m.toString(args[0]);
}

// Numbers, bools and null are their own weak reference.
Value delegateWeakRef(Machine&, Value* args, int) {
    return makeWeakRef(args[0]);
}

SliceRange sliceRange(Machine& m, Value* args, int count, std::int32_t length) {
    std::int32_t start = args[1].toInt();
    std::int32_t end = count > 2 ? args[2].toInt() : length;
    if (start < 0)
        start += length;
    if (end < 0)
        end += length;
    if (end < start)
        m.raiseError("wrong indexes");
    if (end > length || start < 0)
        m.raiseError("slice out of range");
    return {start, end};
}

Value stackInfos(Machine& m, int level) {
    const Frame* frame = m.frameAt(level);
    if (!frame)
        return Value();
    State& s = m.state;
    Value info = s.newTable();
    Table* t = info.table();
    Value locals = s.newTable();
    if (frame->callee->tag == Tag::Closure) {
        FunctionProto* proto = reinterpret_cast<Closure*>(frame->callee)->proto;
        t->set(s.string("func"), proto->name.isNull() ? s.string("unknown") : proto->name);
        t->set(s.string("src"), proto->source);
        std::uint32_t pc = static_cast<std::uint32_t>(frame->ip - proto->code.data());
        std::uint32_t at = pc ? pc - 1 : 0;
        for (const auto& local : proto->locals) {
            if (local.startPc <= at && at < local.endPc && local.name.str()->data[0] != '@') {
                const Value& value = m.stackSlot(frame->base + local.reg);
                locals.table()->set(local.name, value);
            }
        }
    } else {
        const NativeClosure* native = reinterpret_cast<const NativeClosure*>(frame->callee);
        t->set(s.string("func"), native->name);
        t->set(s.string("src"), s.string("NATIVE"));
    }
    t->set(s.string("line"), Value::integer(m.currentLine(*frame)));
    t->set(s.string("locals"), locals);
    return info;
}

void registerBaseLibrary(State& s) {
    Table* root = s.root.table();
    s.registerNative(root, "print", basePrint, 2);
    s.registerNative(root, "error", baseError, 2);
    s.registerNative(root, "assert", baseAssert, -2);
    s.registerNative(root, "type", baseType, 2);
    s.registerNative(root, "array", baseArray, -2, ".n");
    s.registerNative(root, "getroottable", baseGetRootTable, 1);
    s.registerNative(root, "setroottable", baseSetRootTable, 2, ".t");
    s.registerNative(root, "getconsttable", baseGetConstTable, 1);
    s.registerNative(root, "setconsttable", baseSetConstTable, 2, ".t");
    s.registerNative(root, "compilestring", baseCompileString, -2, ".ss");
    s.registerNative(root, "collectgarbage", baseCollectGarbage, 1);
    s.registerNative(root, "resurrectunreachable", baseResurrectUnreachable, 1);
    s.registerNative(root, "seterrorhandler", baseSetErrorHandler, 2, ".c|o");
    s.registerNative(root, "setdebughook", baseSetDebugHook, 2, ".c|o");
    s.registerNative(root, "callee", baseCallee, 1);
    s.registerNative(root, "enabledebuginfo", baseEnableDebugInfo, 2);
    s.registerNative(root, "getstackinfos", baseGetStackInfos, 2, ".n");
    root->set(s.string("_versionnumber_"), Value::integer(212));
    root->set(s.string("_version_"), s.string("Squirrel 2.1.2"));
    root->set(s.string("_charsize_"), Value::integer(1));
    root->set(s.string("_intsize_"), Value::integer(4));
    root->set(s.string("_floatsize_"), Value::integer(4));
}

} // namespace squirrel::detail
