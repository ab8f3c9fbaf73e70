// The interpreter loop that runs bytecode, with its helpers for foreach and the debug hook.
#include "machine.h"
#include "size_limits.h"

#include <cstring>

// GCC merges the identical jumps that end each operation into a few shared ones (cross-jumping),
// which turns the threaded dispatch back into one hard-to-predict jump, and its global common
// subexpression pass lengthens the paths between operations; both are off for this file. Its
// priority register allocator, with scheduling before allocation that watches register
// pressure, keeps the frame's registers and constants out of memory in this one large function,
// where the defaults spill them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("no-crossjumping", "no-gcse", "ira-algorithm=priority", "schedule-insns",     \
                     "sched-pressure")
#endif

namespace squirrel::detail {

namespace {

// Both operands are integers: the fast path of arithmetic and comparisons, tested with one
// branch that the compiler is told is usually taken.
inline bool bothIntegers(const Value& x, const Value& y) {
    unsigned mismatch = (static_cast<unsigned>(x.tag) ^ static_cast<unsigned>(Tag::Integer)) |
                        (static_cast<unsigned>(y.tag) ^ static_cast<unsigned>(Tag::Integer));
    return __builtin_expect(mismatch == 0, 1);
}

// Write the scalar result of an operation to a register, then release the object the register
// held, if any: nothing but that object is kept aside across the release.
template <typename Overwrite>
inline void writeScalar(Value& target, Overwrite overwrite) {
    Tag oldTag = target.tag;
    RefCounted* old = target.ref;
    overwrite(target);
    if (__builtin_expect(isRefCounted(oldTag), 0))
        releaseRef(old);
}
inline void writeInt(Value& target, std::int32_t v) {
    writeScalar(target, [v](Value& t) { t.overwriteInt(v); });
}
inline void writeFloat(Value& target, float v) {
    writeScalar(target, [v](Value& t) { t.overwriteFloat(v); });
}
inline void writeBool(Value& target, bool v) {
    writeScalar(target, [v](Value& t) { t.overwriteBool(v); });
}

} // namespace

// Advances a foreach loop over slots[0] (the container); slots[1] holds the position, slots[2]
// and slots[3] receive the key and the value. Returns false at the end.
bool Machine::foreachStep(Value* slots) {
    const Value& container = slots[0];
    std::int32_t position = slots[1].isNull() ? 0 : slots[1].i;
    switch (container.tag) {
    case Tag::Array: {
        auto& items = container.array()->items;
        if (static_cast<std::size_t>(position) >= items.size())
            return false;
        slots[2].setInt(position);
        slots[3] = slotValue(items[static_cast<std::size_t>(position)]);
        slots[1].setInt(position + 1);
        return true;
    }
    case Tag::Table: {
        Table* t = container.table();
        std::uint32_t live = t->nextLive(static_cast<std::uint32_t>(position));
        if (live >= t->end())
            return false;
        slots[2] = t->key(live);
        slots[3] = slotValue(t->value(live));
        slots[1].setInt(static_cast<std::int32_t>(live + 1));
        return true;
    }
    case Tag::String: {
        String* text = container.str();
        if (static_cast<std::uint32_t>(position) >= text->length)
            return false;
        slots[2].setInt(position);
        slots[3].setInt(static_cast<signed char>(text->data[position]));
        slots[1].setInt(position + 1);
        return true;
    }
    case Tag::Class: {
        // Members come in the order of the class's key table, as for a table.
        const Class* cls = container.as<Class>();
        std::uint32_t live = cls->index.nextLive(static_cast<std::uint32_t>(position));
        if (live >= cls->index.end())
            return false;
        const ClassMember& member =
            cls->members[static_cast<std::size_t>(cls->index.value(live).i)];
        slots[2] = member.key;
        slots[3] = slotValue(member.value);
        slots[1].setInt(static_cast<std::int32_t>(live + 1));
        return true;
    }
    case Tag::Instance: {
        // _nexti gives the key after the previous one (null at the start), null at the end.
        Value fn;
        if (!metamethod(container, Meta::Nexti, fn))
            raiseError("_nexti failed");
        Value object = container;
        Value key = call(fn, object, &slots[1], 1);
        if (key.isNull())
            return false;
        Value value;
        if (!tryGet(object, key, value))
            raiseError("_nexti returned an invalid idx");
        slots[1] = key;
        slots[2] = std::move(key);
        slots[3] = std::move(value);
        return true;
    }
    case Tag::Generator: {
        // Each step resumes the generator; the value it returns at its end is not visited.
        Generator* generator = container.as<Generator>();
        if (generator->status == Generator::Status::Dead)
            return false;
        Value value = resumeNested(generator);
        if (generator->status == Generator::Status::Dead)
            return false;
        slots[2].setInt(position);
        slots[3] = std::move(value);
        slots[1].setInt(position + 1);
        return true;
    }
    default:
        raiseError("cannot iterate %s", typeName(container.tag));
    }
}

Value Machine::getThisOrRoot(const Value& self, const Closure* closure, const Value& key) {
    Value result;
    if (tryGet(self, key, result))
        return result;
    const Value& root = closure->root.isNull() ? state.root : closure->root;
    Value* v = root.tag == Tag::Table ? root.table()->find(key) : nullptr;
    if (!v)
        raiseIndexError(key);
    return slotValue(*v);
}

// Calls the script's debug hook with the event ('l' line, 'c' call, 'r' return), the source,
// the line and the function name. Code the hook runs is not reported.
void Machine::callDebugHook(int event, const Frame& frame, std::int32_t line) {
    FunctionProto* proto = reinterpret_cast<Closure*>(frame.callee)->proto;
    Value args[4] = {Value::integer(event), proto->source, Value::integer(line), proto->name};
    Value hook = state.debugHook;
    inHook_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inHook_};
    call(hook, state.root, args, 4);
}

// The interpreter loop. It runs the frames from entry (pushed with the boundary flag) up, and
// every script frame they call, and returns when the entry frame returns. A thread that was
// suspended continues in its innermost frame.
Value Machine::execute(const std::uint32_t entry, bool callHook) {
    const std::uint32_t savedEntry = executeEntry_;
    executeEntry_ = entry;
    ++executeDepth_;
    struct Leave {
        Machine& m;
        std::uint32_t savedEntry;
        ~Leave() {
            m.executeEntry_ = savedEntry;
            --m.executeDepth_;
        }
    } leave{*this, savedEntry};

    const Instr* ip;
    Value* R;
    const Value* K;

#define LOAD_FRAME()                                                                               \
    do {                                                                                           \
        ip = frames.back().ip;                                                                     \
        R = stack_ + frames.back().base;                                                           \
        K = frames.back().constants;                                                               \
        hookLine = -1;                                                                             \
    } while (0)
// The running frame and function are read from the frame stack when needed, and the frame's base
// from R, so that they take no registers.
#define BASE() static_cast<std::int32_t>(R - stack_)
#define CLOSURE() reinterpret_cast<Closure*>(frames.back().callee)
#define PROTO() CLOSURE()->proto
#define SELECT_TABLE() (dispatch = state.debugHook.isNull() || inHook_ ? kDispatch : kHookDispatch)
#define SAVE_IP() (frames.back().ip = ip)
// Each operation jumps straight to the next one through the table (a GCC extension), which
// predicts better than one shared switch.
#define DISPATCH()                                                                                 \
    do {                                                                                           \
        const void* handler = dispatch[static_cast<std::size_t>(ip->op)];                          \
        ++ip;                                                                                      \
        goto* handler;                                                                             \
    } while (0)
#define TARGET(name) op_##name:
// The instruction being run: the one before ip. It is not kept in a variable of its own so that
// the compiler need not keep it alive across calls.
#define in (ip - 1)
// A native function asked this thread to suspend: the loop stops, leaving its frames as they
// are; wakeup's value goes to the given slot.
#define SUSPEND(slot)                                                                              \
    do {                                                                                           \
        resumeSlot_ = (slot);                                                                      \
        return Value();                                                                            \
    } while (0)

// An error was caught: the loop goes on at the trap's handler, or does `leave` when no trap of
// this loop takes the error.
#define CONTINUE_AT(trapHandler, leave)                                                            \
    do {                                                                                           \
        const Instr* handler = (trapHandler);                                                      \
        if (!handler)                                                                              \
            leave;                                                                                 \
        LOAD_FRAME();                                                                              \
        ip = handler;                                                                              \
        SELECT_TABLE();                                                                            \
    } while (0)
// A taken jump. A jump back ends a round of a loop and costs the operation budget the
// instructions it goes back over.
#define JUMP()                                                                                     \
    do {                                                                                           \
        if (in->d < 0 && (state.budgetLeft += in->d) < 0) {                                        \
            SAVE_IP();                                                                             \
            budgetSpent();                                                                         \
        }                                                                                          \
        ip += in->d;                                                                               \
    } while (0)

    static const void* const kDispatch[] = {
        &&op_LoadNull,  &&op_LoadInt,   &&op_LoadFloat,    &&op_LoadBool,  &&op_LoadConst,
        &&op_LoadRoot,  &&op_Move,      &&op_GetOuter,     &&op_SetOuter,  &&op_NewTable,
        &&op_NewArray,  &&op_Append,    &&op_NewSlot,      &&op_NewSlotK,  &&op_Get,
        &&op_GetK,      &&op_Set,       &&op_SetK,         &&op_GetThis,   &&op_SetThis,
        &&op_PrepCall,  &&op_PrepCallK, &&op_Delete,       &&op_In,        &&op_InstanceOf,
        &&op_TypeOf,    &&op_Clone,     &&op_SetDelegate,  &&op_Add,       &&op_Sub,
        &&op_Mul,       &&op_Div,       &&op_Mod,          &&op_ArithI,    &&op_Neg,
        &&op_Not,       &&op_BitNot,    &&op_BitAnd,       &&op_BitOr,     &&op_BitXor,
        &&op_Shl,       &&op_Shr,       &&op_UShr,         &&op_Eq,        &&op_Ne,
        &&op_Lt,        &&op_Le,        &&op_Gt,           &&op_Ge,        &&op_Cmp,
        &&op_Jmp,       &&op_JmpIfTrue, &&op_JmpIfFalse,   &&op_JfEq,      &&op_JfNe,
        &&op_JfLt,      &&op_JfLe,      &&op_JfGt,         &&op_JfGe,      &&op_Call,
        &&op_TailCall,  &&op_Return,    &&op_ReturnNull,   &&op_Closure,   &&op_Foreach,
        &&op_PushTrap,  &&op_PopTrap,   &&op_Throw,        &&op_NewClass,  &&op_NewMember,
        &&op_GetBase,   &&op_GetParent, &&op_Yield,        &&op_Resume,    &&op_JfLtK,
        &&op_JfLeK,     &&op_JfGtK,     &&op_JfGeK,        &&op_MulK,      &&op_DivK,
        &&op_ModK,      &&op_BitAndK,   &&op_BitOrK,       &&op_BitXorK,   &&op_ShlK,
        &&op_ShrK,      &&op_UShrK,     &&op_PrepCallThis, &&op_PrepLocal, &&op_StepJfLt,
        &&op_StepJfLe,  &&op_StepJfGt,  &&op_StepJfGe,     &&op_StepJfLtK, &&op_StepJfLeK,
        &&op_StepJfGtK, &&op_StepJfGeK,
    };
    static_assert(sizeof(kDispatch) / sizeof(kDispatch[0]) ==
                      static_cast<std::size_t>(Op::StepJfGeK) + 1,
                  "one dispatch entry per operation");
    // With a debug hook set, every operation first passes through op_Hook.
    static const void* const kHookDispatch[] = {
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook, &&op_Hook,
        &&op_Hook,
    };
    static_assert(sizeof(kHookDispatch) == sizeof(kDispatch), "one hook entry per operation");
    // The hook can only be set or cleared by native code, so the table is chosen on entry and
    // after each native call.
    const void* const* dispatch = kDispatch;
    SELECT_TABLE();
    std::int32_t hookLine = -1;
    LOAD_FRAME();
    if (callHook && dispatch == kHookDispatch)
        callDebugHook('c', frames.back(), PROTO()->lineAt(0));
    for (;;) {
        try {
            if (raiseOnEntry_) {
                raiseOnEntry_ = false;
                throw ScriptException{};
            }
            DISPATCH();
        op_Hook : {
            std::int32_t line =
                PROTO()->lineAt(static_cast<std::uint32_t>(ip - 1 - PROTO()->code.data()));
            if (line != hookLine) {
                hookLine = line;
                SAVE_IP();
                callDebugHook('l', frames.back(), line);
            }
            goto* kDispatch[static_cast<std::size_t>(in->op)];
        }
            TARGET(LoadNull)
            for (std::int32_t i = 0; i < in->d; ++i)
                R[in->a + i].setNull();
            DISPATCH();
            TARGET(LoadInt)
            R[in->a].setInt(in->d);
            DISPATCH();
            TARGET(LoadFloat) {
                float value;
                std::memcpy(&value, &in->d, sizeof value);
                R[in->a].setFloat(value);
                DISPATCH();
            }
            TARGET(LoadBool)
            R[in->a].setBool(in->d != 0);
            DISPATCH();
            TARGET(LoadConst)
            R[in->a] = K[in->d];
            DISPATCH();
            TARGET(LoadRoot)
            R[in->a] = CLOSURE()->root.isNull() ? state.root : CLOSURE()->root;
            DISPATCH();
            TARGET(Move)
            R[in->a] = R[in->b];
            DISPATCH();
            TARGET(GetOuter)
            R[in->a] = CLOSURE()->outers[static_cast<std::size_t>(in->d)];
            DISPATCH();
            TARGET(SetOuter)
            CLOSURE()->outers[static_cast<std::size_t>(in->d)] = R[in->b];
            DISPATCH();
            TARGET(NewTable)
            R[in->a] = state.newTable(static_cast<std::uint32_t>(in->d));
            DISPATCH();
            TARGET(NewArray)
            R[in->a] = state.newArray();
            R[in->a].array()->items.reserve(static_cast<std::size_t>(in->d));
            DISPATCH();
            TARGET(Append)
            R[in->a].array()->items.push_back(R[in->b]);
            DISPATCH();
            TARGET(NewSlot) {
                Value& object = R[in->a];
                if (object.tag == Tag::Table && object.table()->delegate.isNull() &&
                    !R[in->b].isNull()) {
                    object.table()->set(R[in->b], R[in->c]);
                } else {
                    SAVE_IP();
                    newSlot(object, R[in->b], R[in->c]);
                }
                DISPATCH();
            }
            TARGET(NewSlotK) {
                Value& object = R[in->a];
                if (object.tag == Tag::Table && object.table()->delegate.isNull()) {
                    object.table()->set(K[in->d], R[in->c]);
                } else {
                    SAVE_IP();
                    newSlot(object, K[in->d], R[in->c]);
                }
                DISPATCH();
            }
            TARGET(Get) {
                const Value& object = R[in->b];
                const Value& key = R[in->c];
                if (object.tag == Tag::Array && key.tag == Tag::Integer) {
                    auto& items = object.array()->items;
                    if (static_cast<std::uint32_t>(key.i) < items.size()) {
                        R[in->a] = slotValue(items[static_cast<std::size_t>(key.i)]);
                        DISPATCH();
                    }
                } else if (object.tag == Tag::Table) {
                    if (Value* v = object.table()->find(key)) {
                        R[in->a] = slotValue(*v);
                        DISPATCH();
                    }
                }
                SAVE_IP();
                R[in->a] = get(object, key);
                DISPATCH();
            }
            TARGET(GetK) {
                const Value& object = R[in->b];
                if (object.tag == Tag::Table) {
                    if (Value* v = object.table()->findString(K[in->d].str())) {
                        R[in->a] = slotValue(*v);
                        DISPATCH();
                    }
                } else if (object.tag == Tag::Instance) {
                    Instance* instance = object.as<Instance>();
                    if (const ClassMember* m = instance->cls()->find(K[in->d])) {
                        R[in->a] =
                            slotValue(m->isField() ? instance->fields()[m->field] : m->value);
                        DISPATCH();
                    }
                } else if (object.tag == Tag::Class) {
                    if (const ClassMember* m = object.as<Class>()->find(K[in->d])) {
                        R[in->a] = slotValue(m->value);
                        DISPATCH();
                    }
                }
                SAVE_IP();
                R[in->a] = get(object, K[in->d]);
                DISPATCH();
            }
            TARGET(Set) {
                const Value& object = R[in->a];
                const Value& key = R[in->b];
                if (object.tag == Tag::Array && key.tag == Tag::Integer) {
                    auto& items = object.array()->items;
                    if (static_cast<std::uint32_t>(key.i) < items.size()) {
                        items[static_cast<std::size_t>(key.i)] = R[in->c];
                        DISPATCH();
                    }
                } else if (object.tag == Tag::Table) {
                    if (Value* v = object.table()->find(key)) {
                        *v = R[in->c];
                        DISPATCH();
                    }
                }
                SAVE_IP();
                set(object, key, R[in->c]);
                DISPATCH();
            }
            TARGET(SetK) {
                const Value& object = R[in->a];
                if (object.tag == Tag::Table) {
                    if (Value* v = object.table()->findString(K[in->d].str())) {
                        *v = R[in->c];
                        DISPATCH();
                    }
                } else if (object.tag == Tag::Instance) {
                    Instance* instance = object.as<Instance>();
                    const ClassMember* m = instance->cls()->find(K[in->d]);
                    if (m && m->isField()) {
                        instance->fields()[m->field] = R[in->c];
                        DISPATCH();
                    }
                }
                SAVE_IP();
                set(object, K[in->d], R[in->c]);
                DISPATCH();
            }
// PrepCallThis also passes `this` on to the function it fetches, for a call by name.
#define GET_THIS(name, passThis)                                                                   \
    TARGET(name) {                                                                                 \
        const Value& self = R[0];                                                                  \
        if (self.tag == Tag::Table) {                                                              \
            if (Value* v = self.table()->findString(K[in->d].str())) {                             \
                R[in->a] = slotValue(*v);                                                          \
                passThis;                                                                          \
                DISPATCH();                                                                        \
            }                                                                                      \
        } else if (self.tag == Tag::Instance) {                                                    \
            Instance* instance = self.as<Instance>();                                              \
            if (const ClassMember* m = instance->cls()->find(K[in->d])) {                          \
                R[in->a] = slotValue(m->isField() ? instance->fields()[m->field] : m->value);      \
                passThis;                                                                          \
                DISPATCH();                                                                        \
            }                                                                                      \
        }                                                                                          \
        SAVE_IP();                                                                                 \
        R[in->a] = getThisOrRoot(self, CLOSURE(), K[in->d]);                                       \
        passThis;                                                                                  \
        DISPATCH();                                                                                \
    }
            GET_THIS(GetThis, (void)0)
            GET_THIS(PrepCallThis, R[in->a + 1] = R[0])
            TARGET(PrepLocal)
            // The function register is a temporary above the locals, so neither write changes
            // a register the other reads.
            R[in->a + 1] = R[0];
            R[in->a] = R[in->b];
            DISPATCH();
            TARGET(SetThis) {
                const Value& self = R[0];
                if (self.tag == Tag::Table) {
                    if (Value* v = self.table()->findString(K[in->d].str())) {
                        *v = R[in->c];
                        DISPATCH();
                    }
                } else if (self.tag == Tag::Instance) {
                    Instance* instance = self.as<Instance>();
                    const ClassMember* m = instance->cls()->find(K[in->d]);
                    if (m && m->isField()) {
                        instance->fields()[m->field] = R[in->c];
                        DISPATCH();
                    }
                }
                SAVE_IP();
                if (contains(self, K[in->d]))
                    set(self, K[in->d], R[in->c]);
                else
                    set(CLOSURE()->root.isNull() ? state.root : CLOSURE()->root, K[in->d],
                        R[in->c]);
                DISPATCH();
            }
            TARGET(PrepCall)
            TARGET(PrepCallK) {
                // The method is taken before either register is written: a or a + 1 can be the
                // register of the object or of the key.
                {
                    const Value& object = R[in->b];
                    const Value& key = in->op == Op::PrepCallK ? K[in->d] : R[in->c];
                    const Value* found = nullptr;
                    if (object.tag == Tag::Table) {
                        found = object.table()->find(key);
                    } else if (object.tag == Tag::Instance) {
                        Instance* instance = object.as<Instance>();
                        if (const ClassMember* m = instance->cls()->find(key))
                            found = m->isField() ? &instance->fields()[m->field] : &m->value;
                    } else if (object.tag == Tag::Array && key.tag == Tag::String) {
                        // Methods of arrays and strings come straight from their default delegate.
                        found = state.arrayDelegate.table()->findString(key.str());
                    } else if (object.tag == Tag::String && key.tag == Tag::String) {
                        found = state.stringDelegate.table()->findString(key.str());
                    }
                    if (!found)
                        SAVE_IP();
                    Value method = found ? slotValue(*found) : get(object, key);
                    R[in->a + 1] = R[in->b];
                    R[in->a] = std::move(method);
                }
                DISPATCH();
            }
            TARGET(Delete) {
                SAVE_IP();
                R[in->a] = remove(R[in->b], R[in->c]);
                DISPATCH();
            }
            TARGET(In)
            SAVE_IP();
            R[in->a].setBool(contains(R[in->c], R[in->b]));
            DISPATCH();
            TARGET(InstanceOf)
            SAVE_IP();
            R[in->a].setBool(instanceOf(R[in->b], R[in->c]));
            DISPATCH();
            TARGET(TypeOf) {
                const Value& x = R[in->b];
                if (x.tag != Tag::Table && x.tag != Tag::Instance) {
                    R[in->a] = state.typeNames[static_cast<std::size_t>(x.tag)];
                    DISPATCH();
                }
                SAVE_IP();
                R[in->a] = typeOf(x);
                DISPATCH();
            }
            TARGET(Clone) {
                SAVE_IP();
                R[in->a] = clone(R[in->b]);
                DISPATCH();
            }
            TARGET(SetDelegate) {
                SAVE_IP();
                const Value& table = R[in->c];
                const Value& parent = R[in->b];
                if (table.tag != Tag::Table)
                    raiseError("delegate: the target is a %s, not a table", typeName(table.tag));
                if (parent.tag != Tag::Table && !parent.isNull())
                    raiseError("delegate: the delegate is a %s, not a table", typeName(parent.tag));
                table.table()->delegate = parent;
                R[in->a] = R[in->c];
                DISPATCH();
            }
            TARGET(Add) {
                const Value& x = R[in->b];
                const Value& y = R[in->c];
                if (bothIntegers(x, y)) {
                    writeInt(R[in->a], static_cast<std::int32_t>(static_cast<std::uint32_t>(x.i) +
                                                                 static_cast<std::uint32_t>(y.i)));
                } else if (x.isNumber() && y.isNumber()) {
                    writeFloat(R[in->a], x.toFloat() + y.toFloat());
                } else {
                    SAVE_IP();
                    R[in->a] = arith('+', x, y);
                }
                DISPATCH();
            }
            TARGET(Sub) {
                const Value& x = R[in->b];
                const Value& y = R[in->c];
                if (bothIntegers(x, y)) {
                    writeInt(R[in->a], static_cast<std::int32_t>(static_cast<std::uint32_t>(x.i) -
                                                                 static_cast<std::uint32_t>(y.i)));
                } else if (x.isNumber() && y.isNumber()) {
                    writeFloat(R[in->a], x.toFloat() - y.toFloat());
                } else {
                    SAVE_IP();
                    R[in->a] = arith('-', x, y);
                }
                DISPATCH();
            }
// The K forms take their right operand from the constants.
#define MULTIPLY(name, right)                                                                      \
    TARGET(name) {                                                                                 \
        const Value& x = R[in->b];                                                                 \
        const Value& y = right[in->c];                                                             \
        if (bothIntegers(x, y)) {                                                                  \
            writeInt(R[in->a], static_cast<std::int32_t>(static_cast<std::uint32_t>(x.i) *         \
                                                         static_cast<std::uint32_t>(y.i)));        \
        } else if (x.isNumber() && y.isNumber()) {                                                 \
            writeFloat(R[in->a], x.toFloat() * y.toFloat());                                       \
        } else {                                                                                   \
            SAVE_IP();                                                                             \
            R[in->a] = arith('*', x, y);                                                           \
        }                                                                                          \
        DISPATCH();                                                                                \
    }
            MULTIPLY(Mul, R)
            MULTIPLY(MulK, K)
// Zero and -1 divisors take the checked path (error, overflow).
#define DIVIDE(name, right, op)                                                                    \
    TARGET(name) {                                                                                 \
        const Value& x = R[in->b];                                                                 \
        const Value& y = right[in->c];                                                             \
        if (bothIntegers(x, y) && static_cast<std::uint32_t>(y.i) + 1u > 1u) {                     \
            writeInt(R[in->a], x.i op y.i);                                                        \
            DISPATCH();                                                                            \
        }                                                                                          \
        SAVE_IP();                                                                                 \
        R[in->a] = arith((#op)[0], x, y);                                                          \
        DISPATCH();                                                                                \
    }
            DIVIDE(Div, R, /)
            DIVIDE(Mod, R, %)
            DIVIDE(DivK, K, /)
            DIVIDE(ModK, K, %)
            TARGET(ArithI) {
                const Value& x = R[in->b];
                if (x.tag == Tag::Integer) {
                    std::uint32_t a = static_cast<std::uint32_t>(x.i);
                    std::uint32_t b = static_cast<std::uint32_t>(in->d);
                    writeInt(R[in->a], static_cast<std::int32_t>(in->c == '+' ? a + b : a - b));
                } else if (x.tag == Tag::Float) {
                    float b = static_cast<float>(in->d);
                    writeFloat(R[in->a], in->c == '+' ? x.f + b : x.f - b);
                } else {
                    SAVE_IP();
                    R[in->a] = arith(static_cast<char>(in->c), x, Value::integer(in->d));
                }
                DISPATCH();
            }
            TARGET(Neg) {
                const Value& x = R[in->b];
                if (x.tag == Tag::Integer)
                    writeInt(R[in->a],
                             static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(x.i)));
                else if (x.tag == Tag::Float)
                    writeFloat(R[in->a], -x.f);
                else {
                    SAVE_IP();
                    R[in->a] = negate(x);
                }
                DISPATCH();
            }
            TARGET(Not)
            R[in->a].setBool(!R[in->b].truthy());
            DISPATCH();
            TARGET(BitNot)
            if (R[in->b].tag != Tag::Integer) {
                SAVE_IP();
                raiseError("attempt to perform a bitwise op on a %s", typeName(R[in->b].tag));
            }
            writeInt(R[in->a], ~R[in->b].i);
            DISPATCH();
// Each bitwise operation and comparison has a target of its own, so that the operation is
// known when the code is compiled.
#define BITWISE(name, right, op)                                                                   \
    TARGET(name) {                                                                                 \
        const Value& x = R[in->b];                                                                 \
        const Value& y = right[in->c];                                                             \
        if (bothIntegers(x, y)) {                                                                  \
            writeInt(R[in->a], integerBitwise(Op::op, x.i, y.i));                                  \
            DISPATCH();                                                                            \
        }                                                                                          \
        SAVE_IP();                                                                                 \
        raiseBitwiseError(x, y);                                                                   \
    }
            BITWISE(BitAnd, R, BitAnd)
            BITWISE(BitOr, R, BitOr)
            BITWISE(BitXor, R, BitXor)
            BITWISE(Shl, R, Shl)
            BITWISE(Shr, R, Shr)
            BITWISE(UShr, R, UShr)
            BITWISE(BitAndK, K, BitAnd)
            BITWISE(BitOrK, K, BitOr)
            BITWISE(BitXorK, K, BitXor)
            BITWISE(ShlK, K, Shl)
            BITWISE(ShrK, K, Shr)
            BITWISE(UShrK, K, UShr)
            TARGET(Eq)
            TARGET(Ne) {
                bool same = equals(R[in->b], R[in->c]);
                writeBool(R[in->a], in->op == Op::Eq ? same : !same);
                DISPATCH();
            }
#define COMPARE(name, test)                                                                        \
    TARGET(name) {                                                                                 \
        const Value& x = R[in->b];                                                                 \
        const Value& y = R[in->c];                                                                 \
        bool holds;                                                                                \
        if (bothIntegers(x, y)) {                                                                  \
            holds = x.i test y.i;                                                                  \
        } else {                                                                                   \
            SAVE_IP();                                                                             \
            holds = compare(x, y) test 0;                                                          \
        }                                                                                          \
        writeBool(R[in->a], holds);                                                                \
        DISPATCH();                                                                                \
    }
            COMPARE(Lt, <)
            COMPARE(Le, <=)
            COMPARE(Gt, >)
            COMPARE(Ge, >=)
            TARGET(Cmp) {
                const Value& x = R[in->b];
                const Value& y = R[in->c];
                int order;
                if (bothIntegers(x, y)) {
                    order = x.i < y.i ? -1 : x.i > y.i ? 1 : 0;
                } else {
                    SAVE_IP();
                    order = compare(x, y);
                }
                writeInt(R[in->a], order);
                DISPATCH();
            }
            TARGET(Jmp)
            JUMP();
            DISPATCH();
            TARGET(JmpIfTrue)
            if (R[in->a].truthy())
                JUMP();
            DISPATCH();
            TARGET(JmpIfFalse)
            if (!R[in->a].truthy())
                JUMP();
            DISPATCH();
            TARGET(JfEq)
            if (!equals(R[in->b], R[in->c]))
                JUMP();
            DISPATCH();
            TARGET(JfNe)
            if (equals(R[in->b], R[in->c]))
                JUMP();
            DISPATCH();
// Floats compare as compare() orders them: anything unordered counts as greater. The K forms
// compare with a constant. Integers branch on the comparison itself, with no flag in between.
#define COMPARE_JUMP(name, test, right)                                                            \
    TARGET(name) {                                                                                 \
        const Value& x = R[in->b];                                                                 \
        const Value& y = right[in->c];                                                             \
        if (bothIntegers(x, y)) {                                                                  \
            if (!(x.i test y.i))                                                                   \
                JUMP();                                                                            \
            DISPATCH();                                                                            \
        }                                                                                          \
        bool holds;                                                                                \
        if (x.tag == Tag::Float && y.tag == Tag::Float) {                                          \
            holds = (x.f < y.f ? -1 : x.f == y.f ? 0 : 1) test 0;                                  \
        } else {                                                                                   \
            SAVE_IP();                                                                             \
            holds = compare(x, y) test 0;                                                          \
        }                                                                                          \
        if (!holds)                                                                                \
            JUMP();                                                                                \
        DISPATCH();                                                                                \
    }
            COMPARE_JUMP(JfLt, <, R)
            COMPARE_JUMP(JfLe, <=, R)
            COMPARE_JUMP(JfGt, >, R)
            COMPARE_JUMP(JfGe, >=, R)
            COMPARE_JUMP(JfLtK, <, K)
            COMPARE_JUMP(JfLeK, <=, K)
            COMPARE_JUMP(JfGtK, >, K)
            COMPARE_JUMP(JfGeK, >=, K)
// The step of a for loop, exactly as ArithI, then its test, which is the Jf operation's: an
// integer against an integer here, everything else in that operation's own code.
#define STEP_JUMP(name, jump, test, right)                                                         \
    TARGET(name) {                                                                                 \
        Value& x = R[in->b];                                                                       \
        const std::uint32_t amount = in->a & 127u;                                                 \
        const bool subtract = (in->a & 128u) != 0;                                                 \
        if (x.tag == Tag::Integer) {                                                               \
            const std::uint32_t old = static_cast<std::uint32_t>(x.i);                             \
            x.i = static_cast<std::int32_t>(subtract ? old - amount : old + amount);               \
            if (right[in->c].tag == Tag::Integer) {                                                \
                if (!(x.i test right[in->c].i))                                                    \
                    JUMP();                                                                        \
                DISPATCH();                                                                        \
            }                                                                                      \
        } else if (x.tag == Tag::Float) {                                                          \
            const float step = static_cast<float>(amount);                                         \
            writeFloat(x, subtract ? x.f - step : x.f + step);                                     \
        } else {                                                                                   \
            SAVE_IP();                                                                             \
            x = arith(subtract ? '-' : '+', x, Value::integer(static_cast<std::int32_t>(amount))); \
        }                                                                                          \
        goto op_##jump;                                                                            \
    }
            STEP_JUMP(StepJfLt, JfLt, <, R)
            STEP_JUMP(StepJfLe, JfLe, <=, R)
            STEP_JUMP(StepJfGt, JfGt, >, R)
            STEP_JUMP(StepJfGe, JfGe, >=, R)
            STEP_JUMP(StepJfLtK, JfLtK, <, K)
            STEP_JUMP(StepJfLeK, JfLeK, <=, K)
            STEP_JUMP(StepJfGtK, JfGtK, >, K)
            STEP_JUMP(StepJfGeK, JfGeK, >=, K)
            TARGET(Call) {
                Value& fn = R[in->b];
                SAVE_IP();
                if (fn.tag == Tag::Closure) {
                    Closure* callee = fn.closure();
                    FunctionProto* next = callee->proto;
                    std::int32_t base = BASE() + in->b + 1;
                    std::int32_t newTop = base + next->stackSize;
                    if (in->c == next->directArgs && callee->env.isNull() && newTop <= capacity_) {
                        // The common case, without argument adjustment. The frame takes over
                        // the function register's reference: the register is a temporary that
                        // receives the result, so nothing reads it during the call.
                        chargeOperations(next->callCost);
                        fn.tag = Tag::Null;
                        fn.raw = 0;
                        frames.push_back(Frame{callee, next->code.data(), next->constants.data(),
                                               base, BASE() + in->a, 0, next->stackSize});
                        top = newTop;
                        if (newTop > highWater_)
                            highWater_ = newTop;
                        // The new frame's registers come from what was just stored, not from
                        // the frame stack, so that the next dispatch need not wait for the stores.
                        ip = next->code.data();
                        R = stack_ + base;
                        K = next->constants.data();
                        hookLine = -1;
                        if (dispatch == kHookDispatch)
                            callDebugHook('c', frames.back(), PROTO()->lineAt(0));
                        DISPATCH();
                    }
                } else if (fn.tag == Tag::NativeClosure) {
                    R[in->a] = callNative(fn.native(), BASE() + in->b + 1, in->c);
                    if (suspending_)
                        SUSPEND(BASE() + in->a);
                    SELECT_TABLE();
                    DISPATCH();
                }
                if (enterOrCall(BASE() + in->b, in->c, BASE() + in->a)) {
                    LOAD_FRAME();
                    if (dispatch == kHookDispatch)
                        callDebugHook('c', frames.back(), PROTO()->lineAt(0));
                    DISPATCH();
                }
                if (suspending_)
                    SUSPEND(BASE() + in->a);
                SELECT_TABLE();
                DISPATCH();
            }
            TARGET(TailCall) {
                SAVE_IP();
                if (R[in->b].tag != Tag::Closure || R[in->b].closure()->proto->generator) {
                    // Anything but a script function is an ordinary call; the Return that
                    // follows the tail call hands the result back.
                    if (enterOrCall(BASE() + in->b, in->c, BASE() + in->b)) {
                        LOAD_FRAME();
                        if (dispatch == kHookDispatch)
                            callDebugHook('c', frames.back(), PROTO()->lineAt(0));
                        DISPATCH();
                    }
                    if (suspending_)
                        SUSPEND(BASE() + in->b);
                    SELECT_TABLE();
                    DISPATCH();
                }
                Closure* callee = R[in->b].closure();
                FunctionProto* next = callee->proto;
                chargeOperations(next->callCost);
                if (BASE() + next->stackSize > capacity_)
                    raiseError("stack overflow");
                if (in->c != next->directArgs)
                    checkArgumentCount(callee, in->c);
                // The frame takes over the function register's reference, before the arguments
                // move down over the registers; objects left above them are released.
                R[in->b].tag = Tag::Null;
                R[in->b].raw = 0;
                std::int32_t oldEnd = frames.back().stackSize;
                for (std::int32_t i = 0; i < in->c; ++i)
                    R[i] = std::move(R[in->b + 1 + i]);
                for (std::int32_t i = in->c; i < oldEnd; ++i)
                    releaseObject(R[i]);
                releaseRef(frames.back().callee);
                frames.back().callee = callee;
                frames.back().constants = next->constants.data();
                frames.back().stackSize = next->stackSize;
                if (in->c != next->paramCount || next->varargs)
                    adjustArguments(callee, BASE(), in->c);
                if (!callee->env.isNull())
                    R[0] = slotValue(callee->env);
                frames.back().ip = next->code.data();
                top = BASE() + next->stackSize;
                if (top > highWater_)
                    highWater_ = top;
                LOAD_FRAME();
                if (dispatch == kHookDispatch)
                    callDebugHook('c', frames.back(), PROTO()->lineAt(0));
                DISPATCH();
            }
            TARGET(Return)
            TARGET(ReturnNull) {
                if (dispatch == kHookDispatch) {
                    SAVE_IP();
                    callDebugHook(
                        'r', frames.back(),
                        PROTO()->lineAt(static_cast<std::uint32_t>(ip - 1 - PROTO()->code.data())));
                }
                if (frames.back().flags == 0 && traps_.empty()) {
                    // A script function returning to the script that called it: the result
                    // goes straight to its target, below this frame.
                    const Frame& frame = frames.back();
                    const Frame& caller = (&frame)[-1];
                    if (in->op == Op::Return)
                        stack_[frame.target] = std::move(R[in->a]);
                    else
                        stack_[frame.target].setNull();
                    // The frame's objects are released in place rather than by releaseObjects:
                    // this is the most frequent way out of a frame. A frame of up to eight slots
                    // (most are) takes one jump into a straight run of tests instead of a loop.
                    switch (frame.stackSize) {
                    default:
                        releaseObjects(R + 8, R + frame.stackSize);
                        [[fallthrough]];
                    case 8:
                        releaseObject(R[7]);
                        [[fallthrough]];
                    case 7:
                        releaseObject(R[6]);
                        [[fallthrough]];
                    case 6:
                        releaseObject(R[5]);
                        [[fallthrough]];
                    case 5:
                        releaseObject(R[4]);
                        [[fallthrough]];
                    case 4:
                        releaseObject(R[3]);
                        [[fallthrough]];
                    case 3:
                        releaseObject(R[2]);
                        [[fallthrough]];
                    case 2:
                        releaseObject(R[1]);
                        [[fallthrough]];
                    case 1:
                        releaseObject(R[0]);
                        [[fallthrough]];
                    case 0:
                        break;
                    }
                    RefCounted* callee = frame.callee;
                    ip = caller.ip;
                    R = stack_ + caller.base;
                    K = caller.constants;
                    hookLine = -1;
                    top = caller.base + caller.stackSize;
                    frames.pop_back();
                    releaseRef(callee);
                    DISPATCH();
                }
                {
                    Value result;
                    if (in->op == Op::Return)
                        result = std::move(R[in->a]);
                    releaseObjects(R, R + frames.back().stackSize);
                    if (!traps_.empty()) {
                        std::uint32_t index = static_cast<std::uint32_t>(frames.size() - 1);
                        while (!traps_.empty() && traps_.back().frame >= index)
                            traps_.pop_back();
                    }
                    std::uint8_t flags = frames.back().flags;
                    std::int32_t target = frames.back().target;
                    RefCounted* callee = frames.back().callee;
                    if (flags & kGenerator)
                        finishGenerator();
                    frames.pop_back();
                    releaseRef(callee);
                    if (flags & kBoundary)
                        return result;
                    LOAD_FRAME();
                    top = BASE() + frames.back().stackSize;
                    // A constructor's result is dropped here: the target holds the instance.
                    if (!(flags & kKeepTarget))
                        stack_[target] = std::move(result);
                }
                DISPATCH();
            }
            TARGET(Closure) {
                FunctionProto* fp =
                    PROTO()->functions[static_cast<std::size_t>(in->d)].as<FunctionProto>();
                {
                    Closure* made = new Closure(state.gcHead, fp);
                    Value holder(made);
                    made->outers.reserve(fp->outers.size());
                    for (const auto& outer : fp->outers)
                        made->outers.push_back(outer.fromLocal ? R[outer.index]
                                                               : CLOSURE()->outers[outer.index]);
                    for (std::uint8_t i = 0; i < fp->defaultCount; ++i)
                        made->defaults.push_back(R[in->b + i]);
                    if (in->c != kNoRegister)
                        made->env = makeWeakRef(R[in->c]);
                    R[in->a] = std::move(holder);
                }
                DISPATCH();
            }
            TARGET(Foreach) {
                Value* slots = R + in->a;
                if (slots[0].tag == Tag::Array && slots[1].tag != Tag::Null) {
                    // Arrays after the first step: the position is an integer.
                    auto& items = slots[0].array()->items;
                    std::int32_t position = slots[1].i;
                    if (static_cast<std::size_t>(position) >= items.size()) {
                        ip += in->d;
                        DISPATCH();
                    }
                    slots[2].setInt(position);
                    slots[3] = slotValue(items[static_cast<std::size_t>(position)]);
                    slots[1].i = position + 1;
                    DISPATCH();
                }
                SAVE_IP();
                if (!foreachStep(slots))
                    ip += in->d;
                DISPATCH();
            }
            TARGET(PushTrap)
            traps_.push_back(
                Trap{static_cast<std::uint32_t>(frames.size() - 1), ip + in->d, BASE() + in->a});
            DISPATCH();
            TARGET(PopTrap)
            for (std::int32_t i = 0; i < in->d; ++i)
                traps_.pop_back();
            DISPATCH();
            TARGET(Throw)
            SAVE_IP();
            raise(R[in->a]);
            TARGET(NewClass) {
                SAVE_IP();
                if (in->b != kNoRegister && R[in->b].tag != Tag::Class)
                    raiseError("trying to inherit from a %s", typeName(R[in->b].tag));
                R[in->a] = makeClass(in->b == kNoRegister ? Value() : R[in->b],
                                     in->c == kNoRegister ? Value() : R[in->c]);
                DISPATCH();
            }
            TARGET(NewMember) {
                SAVE_IP();
                std::int32_t attributes = in->d & 0xFF;
                addClassMember(R[in->a], R[in->b], R[in->c],
                               attributes == kNoRegister ? Value() : R[attributes],
                               (in->d & 0x100) != 0, true);
                DISPATCH();
            }
            TARGET(GetBase)
            R[in->a] = CLOSURE()->base;
            DISPATCH();
            TARGET(GetParent) {
                SAVE_IP();
                R[in->a] = parentOf(R[in->b]);
                DISPATCH();
            }
            TARGET(Yield) {
                {
                    Value result;
                    if (in->a != kNoRegister)
                        result = R[in->a];
                    saveGenerator(frames.back(), ip);
                    std::uint8_t flags = frames.back().flags;
                    std::int32_t target = frames.back().target;
                    RefCounted* callee = frames.back().callee;
                    frames.pop_back();
                    releaseRef(callee);
                    if (flags & kBoundary)
                        return result;
                    LOAD_FRAME();
                    top = BASE() + frames.back().stackSize;
                    stack_[target] = std::move(result);
                }
                DISPATCH();
            }
            TARGET(Resume) {
                SAVE_IP();
                Generator* generator = resumable(R[in->b]);
                pushGenerator(generator, BASE() + in->a, 0);
                LOAD_FRAME();
                DISPATCH();
            }
        } catch (ScriptException&) {
            // Every operation that can raise has stored its position in the frame first.
            CONTINUE_AT(trapError(entry), throw);
        } catch (const StringTooLong&) {
            CONTINUE_AT(trapAllocationFailure(entry, true), throw ScriptException{});
        } catch (const std::bad_alloc&) {
            CONTINUE_AT(trapAllocationFailure(entry, false), throw ScriptException{});
        } catch (const std::length_error&) {
            CONTINUE_AT(trapAllocationFailure(entry, false), throw ScriptException{});
        } catch (...) {
            while (frames.size() > entry)
                unwindFrame();
            throw;
        }
    }
#undef LOAD_FRAME
#undef CLOSURE
#undef BASE
#undef PROTO
#undef SAVE_IP
#undef DISPATCH
#undef TARGET
#undef in
#undef SUSPEND
#undef CONTINUE_AT
#undef JUMP
#undef BITWISE
#undef GET_THIS
#undef MULTIPLY
#undef DIVIDE
#undef COMPARE
#undef COMPARE_JUMP
#undef SELECT_TABLE
}

} // namespace squirrel::detail
