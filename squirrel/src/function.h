// Compiled functions and the closures made from them.
#pragma once

#include "object.h"
#include "opcodes.h"
#include "string_table.h"

#include <memory>
#include <vector>

namespace squirrel::detail {

class Machine;

// What the compiler produces for one function body; shared by all closures made from it.
struct FunctionProto : RefCounted {
    FunctionProto() : RefCounted(Tag::FunctionProto) {}

    struct LocalInfo {
        Value name;
        std::uint32_t startPc; // first instruction where the local is visible
        std::uint32_t endPc;   // first instruction where it is not
        std::uint8_t reg;
    };
    struct LineInfo {
        std::uint32_t pc;
        std::int32_t line;
    };
    // A free variable copies, when the closure is made, either a local of the enclosing
    // function or a free variable of the enclosing closure.
    struct OuterInfo {
        Value name;
        bool fromLocal;
        std::uint8_t index;
    };

    std::vector<Instr> code;
    std::vector<Value> constants;
    std::vector<Value> functions; // nested function prototypes
    std::vector<LocalInfo> locals;
    std::vector<LineInfo> lines;
    std::vector<OuterInfo> outers;
    std::vector<Value> parameters; // names, `this` first
    Value name;
    Value source;
    // The number of the compilation that made it (State::compilations at the time).
    std::uint32_t compilation = 0;
    std::uint8_t paramCount = 1; // `this` included; a variadic function's vargv is not
    std::uint8_t defaultCount = 0;
    std::uint8_t stackSize = 1;
    // The argument count (this included) of a call that needs no adjustment; 0 for variadic
    // functions and generators, which always take the slower path.
    std::uint8_t directArgs = 0;
    bool varargs = false;
    bool generator = false; // the body yields: a call makes a generator
    // What a call costs the operation budget: the number of instructions.
    std::int32_t callCost = 0;

    // Source line of the instruction at pc, or -1 when compiled without line information.
    std::int32_t lineAt(std::uint32_t pc) const;
};

struct Closure : GCObject {
    Closure(GCObject*& listHead, FunctionProto* proto);
    ~Closure();

    FunctionProto* proto;
    Value env;  // weak reference to the bound `this`, or null
    Value root; // root table of the closure, or null for the machine's
    Value base; // base class of the class the method belongs to, for `base`
    std::vector<Value> outers;
    std::vector<Value> defaults;
};

// A native function: receives its arguments with `this` at args[0] and returns its result;
// errors are raised through the machine.
using NativeFn = Value (*)(Machine& machine, Value* args, int count);

struct NativeClosure : GCObject {
    NativeClosure(GCObject*& listHead, NativeFn fn, Value name)
        : GCObject(Tag::NativeClosure, listHead), fn(fn), name(std::move(name)) {}

    NativeFn fn;
    Value name;
    Value env; // weak reference to the bound `this`, or null
    // Parameter check: 0 none, n > 0 exactly n values, n < 0 at least -n values (this counted).
    std::int32_t paramCheck = 0;
    std::vector<std::uint32_t> typeMask; // accepted type codes per position, 0 for any
    std::vector<Value> outers;
    std::shared_ptr<void> host; // data of a function registered through the embedding interface
};

} // namespace squirrel::detail
