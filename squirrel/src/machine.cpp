// Calls, frames, argument checks, error unwinding and call stack reports.
#include "machine.h"

#include "reserved_memory.h"
#include "size_limits.h"

#include "squirrel/squirrel.h"

#include <cstdarg>
#include <new>

namespace squirrel::detail {

namespace {

FunctionProto* protoOf(const Frame& frame) {
    return reinterpret_cast<Closure*>(frame.callee)->proto;
}

bool isScriptFrame(const Frame& frame) {
    return frame.callee->tag == Tag::Closure;
}

} // namespace

FrameStack::FrameStack(std::size_t capacity)
    : frames_(static_cast<Frame*>(reserveZeroedMemory(capacity * sizeof(Frame)))), end_(frames_),
      capacity_(capacity) {}

FrameStack::~FrameStack() {
    releaseReservedMemory(frames_, capacity_ * sizeof(Frame));
}

// Every frame takes at least one stack slot, so there are never more frames than slots.
Machine::Machine(State& state, std::size_t stackSlots, Thread* thread)
    : state(state), thread(thread), frames(stackSlots) {
    // The stack never moves, so pointers into it stay valid across calls; zeroed memory holds
    // null values.
    stack_ = static_cast<Value*>(reserveZeroedMemory(stackSlots * sizeof(Value)));
    capacity_ = static_cast<std::int32_t>(stackSlots);
}

Machine::~Machine() {
    releaseAll();
    releaseReservedMemory(stack_, static_cast<std::size_t>(capacity_) * sizeof(Value));
}

void Machine::releaseAll() {
    for (Value& g : generators_)
        g.as<Generator>()->status = Generator::Status::Dead;
    std::vector<Value> generators;
    generators.swap(generators_);
    traps_.clear();
    while (!frames.empty()) {
        RefCounted* callee = frames.back().callee;
        frames.pop_back();
        releaseRef(callee);
    }
    for (std::int32_t i = 0; i < highWater_; ++i)
        stack_[i].setNull();
    top = 0;
    error.setNull();
    suspendValue_.setNull();
}

void Machine::traverse(ValueVisitor visit, void* context) {
    for (std::int32_t i = 0; i < highWater_; ++i)
        visit(stack_[i], context);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        // The frame's reference, seen as a value that owns nothing.
        Value callee;
        callee.tag = frames[i].callee->tag;
        callee.ref = frames[i].callee;
        visit(callee, context);
        callee.tag = Tag::Null;
        callee.raw = 0;
    }
    for (Value& g : generators_)
        visit(g, context);
    visit(error, context);
    visit(suspendValue_, context);
}

std::string formatString(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof buffer)
        return std::string(buffer, static_cast<std::size_t>(n));
    std::string result(static_cast<std::size_t>(n), '\0');
    va_start(args, format);
    std::vsnprintf(result.data(), result.size() + 1, format, args);
    va_end(args);
    return result;
}

// The error is taken by reference and copied. With a by-value argument that this function
// moved from, GCC 12 (-O2) released the argument's old contents again while unwinding the
// caller, freeing the thrown value.
void Machine::raise(const Value& value) {
    error = value;
    traceCaptured = false;
    throw ScriptException{};
}

void Machine::raiseAllocationFailure(bool stringTooLong) {
    raise(stringTooLong ? state.stringTooLong : state.notEnoughMemory);
}

void Machine::budgetSpent() {
    if (state.budget == 0) {
        state.budgetLeft = INT64_MAX;
        return;
    }
    state.budgetExhausted = true;
    raiseError("%s", kOperationBudgetExceeded);
}

void Machine::raiseError(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    raise(state.string(buffer));
}

std::int32_t Machine::currentLine(const Frame& frame) const {
    if (!isScriptFrame(frame))
        return -1;
    FunctionProto* proto = protoOf(frame);
    std::uint32_t pc = static_cast<std::uint32_t>(frame.ip - proto->code.data());
    return proto->lineAt(pc ? pc - 1 : 0);
}

const Frame* Machine::frameAt(int level) const {
    if (level < 0 || static_cast<std::size_t>(level) >= frames.size())
        return nullptr;
    return &frames[frames.size() - 1 - static_cast<std::size_t>(level)];
}

std::vector<TraceEntry> Machine::callStack() const {
    // A runaway recursion has hundreds of thousands of frames; the innermost ones tell the story.
    constexpr std::size_t kMaxEntries = 100;
    std::vector<TraceEntry> result;
    for (std::size_t i = frames.size(); i-- > 0 && result.size() < kMaxEntries;) {
        const Frame& frame = frames[i];
        TraceEntry entry;
        if (isScriptFrame(frame)) {
            FunctionProto* proto = protoOf(frame);
            entry.function = proto->name.isNull() ? "unknown" : proto->name.str()->c_str();
            entry.source = proto->source.isNull() ? "unknown" : proto->source.str()->c_str();
            entry.compilation = proto->compilation;
        } else {
            const NativeClosure* native = reinterpret_cast<const NativeClosure*>(frame.callee);
            entry.function = native->name.isNull() ? "unknown" : native->name.str()->c_str();
            entry.source = "NATIVE";
        }
        entry.line = currentLine(frame);
        result.push_back(std::move(entry));
    }
    return result;
}

// Records where an error leaves the innermost interpreter loop and reports errors that no
// script catches to the error handler, while the frames are still in place. A thread's errors
// go on to the machine that called or woke it, which reports them if nobody catches them there.
void Machine::noteError() {
    // Scripts cannot catch the budget error.
    bool trapped = !traps_.empty() && !state.budgetExhausted;
    bool caughtHere = trapped && traps_.back().frame >= executeEntry_;
    if (!traceCaptured && !caughtHere) {
        trace = callStack();
        traceCaptured = true;
        if (!thread && !trapped && protectDepth_ == 0 && !state.errorHandler.isNull()) {
            Value handler = state.errorHandler;
            Value failure = error;
            ++protectDepth_;
            try {
                call(handler, state.root, &failure, 1);
            } catch (ScriptException&) {
                // An error inside the handler cannot be reported anywhere.
            }
            --protectDepth_;
            error = std::move(failure);
        }
    }
}

const Instr* Machine::trapError(std::uint32_t entry) {
    noteError();
    if (state.budgetExhausted || traps_.empty() || traps_.back().frame < entry) {
        while (frames.size() > entry)
            unwindFrame();
        return nullptr;
    }
    Trap trap = traps_.back();
    traps_.pop_back();
    while (frames.size() - 1 > trap.frame)
        unwindFrame();
    top = frames.back().base + frames.back().stackSize;
    stack_[trap.slot] = error;
    return trap.handler;
}

const Instr* Machine::trapAllocationFailure(std::uint32_t entry, bool stringTooLong) {
    error = stringTooLong ? state.stringTooLong : state.notEnoughMemory;
    traceCaptured = false;
    return trapError(entry);
}

void Machine::unwindFrame() {
    Frame frame = frames.back();
    std::int32_t end = isScriptFrame(frame) ? frame.base + protoOf(frame)->stackSize : top;
    for (std::int32_t i = frame.base; i < end; ++i)
        stack_[i].setNull();
    std::uint32_t index = static_cast<std::uint32_t>(frames.size() - 1);
    while (!traps_.empty() && traps_.back().frame >= index)
        traps_.pop_back();
    if (frame.flags & kGenerator)
        finishGenerator();
    frames.pop_back();
    releaseRef(frame.callee);
}

// The innermost running generator returned or failed: it can never run again.
void Machine::finishGenerator() {
    Generator* generator = generators_.back().as<Generator>();
    generator->status = Generator::Status::Dead;
    generator->slots.clear();
    generator->traps.clear();
    generators_.pop_back();
}

void Machine::checkArgumentCount(Closure* closure, std::int32_t count) {
    FunctionProto* proto = closure->proto;
    if (count < proto->paramCount - proto->defaultCount ||
        (count > proto->paramCount && !proto->varargs))
        raiseError("wrong number of parameters");
}

void Machine::adjustArguments(Closure* closure, std::int32_t base, std::int32_t count) {
    FunctionProto* proto = closure->proto;
    std::int32_t params = proto->paramCount;
    if (count < params) {
        std::int32_t firstDefault = params - proto->defaultCount;
        for (std::int32_t i = count; i < params; ++i)
            stack_[base + i] = closure->defaults[static_cast<std::size_t>(i - firstDefault)];
        count = params;
    }
    if (proto->varargs) {
        Array* extra = new Array(state.gcHead);
        Value holder(extra);
        extra->items.reserve(static_cast<std::size_t>(count - params));
        for (std::int32_t i = params; i < count; ++i)
            extra->items.push_back(std::move(stack_[base + i]));
        stack_[base + params] = std::move(holder);
    }
}

void Machine::enterClosure(Closure* closure, std::int32_t base, std::int32_t count,
                           std::int32_t target, std::uint8_t flags) {
    FunctionProto* proto = closure->proto;
    chargeOperations(proto->callCost);
    std::int32_t newTop = base + proto->stackSize;
    if (newTop > capacity_)
        raiseError("stack overflow");
    if (count != proto->paramCount || proto->varargs) {
        checkArgumentCount(closure, count);
        adjustArguments(closure, base, count);
    }
    if (!closure->env.isNull())
        stack_[base] = slotValue(closure->env);
    addRef(closure);
    frames.push_back(Frame{closure, proto->code.data(), proto->constants.data(), base, target,
                           flags, proto->stackSize});
    top = newTop;
    if (newTop > highWater_)
        highWater_ = newTop;
}

void Machine::checkNativeArguments(NativeClosure* native, std::int32_t base, std::int32_t count) {
    std::int32_t check = native->paramCheck;
    if (check > 0 ? count != check : count < -check)
        raiseError("wrong number of parameters");
    std::size_t checked = std::min(native->typeMask.size(), static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < checked; ++i) {
        std::uint32_t mask = native->typeMask[i];
        const Value& arg = stack_[base + static_cast<std::int32_t>(i)];
        if (mask && !(mask & typeCode(arg.tag) & 0x00FFFFFFu)) {
            std::string expected;
            for (int t = 0; t <= static_cast<int>(Tag::UserData); ++t) {
                std::uint32_t code = typeCode(static_cast<Tag>(t)) & 0x00FFFFFFu;
                if ((mask & code) == code && static_cast<Tag>(t) != Tag::FunctionProto) {
                    if (!expected.empty())
                        expected += '|';
                    expected += static_cast<Tag>(t) == Tag::NativeClosure ? "nativeclosure"
                                : static_cast<Tag>(t) == Tag::Closure
                                    ? "closure"
                                    : typeName(static_cast<Tag>(t));
                }
            }
            raiseError("parameter %d has an invalid type '%s' ; expected: '%s'",
                       static_cast<int>(i), typeName(arg.tag), expected.c_str());
        }
    }
}

Value Machine::callNative(NativeClosure* native, std::int32_t base, std::int32_t count) {
    if (native->paramCheck != 0 || !native->typeMask.empty())
        checkNativeArguments(native, base, count);
    if (!native->env.isNull())
        stack_[base] = slotValue(native->env);
    std::int32_t savedTop = top;
    addRef(native);
    frames.push_back(Frame{native, nullptr, nullptr, base, -1, 0, 0});
    top = base + count;
    try {
        Value result;
        try {
            result = native->fn(*this, stack_ + base, count);
        } catch (const StringTooLong&) {
            raiseAllocationFailure(true);
        } catch (const std::bad_alloc&) {
            raiseAllocationFailure(false);
        } catch (const std::length_error&) {
            raiseAllocationFailure(false);
        }
        frames.pop_back();
        releaseRef(native);
        top = savedTop;
        return result;
    } catch (ScriptException&) {
        noteError();
        frames.pop_back();
        releaseRef(native);
        top = savedTop;
        throw;
    } catch (...) {
        frames.pop_back();
        releaseRef(native);
        top = savedTop;
        throw;
    }
}

// Starts a call of the value in funcSlot; the `count` slots after it hold `this` and the
// arguments. A script function gets a frame (with the given flags) that delivers its result to
// target, and the function returns true: the caller runs the frame. Every other call completes
// here with its value in result.
bool Machine::beginCall(std::int32_t funcSlot, std::int32_t count, std::int32_t target,
                        std::uint8_t flags, Value& result) {
    const Value& fn = stack_[funcSlot];
    switch (fn.tag) {
    case Tag::Closure:
        if (fn.closure()->proto->generator) {
            result = makeGenerator(fn.closure(), funcSlot + 1, count);
            return false;
        }
        enterClosure(fn.closure(), funcSlot + 1, count, target, flags);
        return true;
    case Tag::NativeClosure:
        result = callNative(fn.native(), funcSlot + 1, count);
        return false;
    case Tag::Class:
        return beginConstruct(fn.as<Class>(), funcSlot, count, target, flags, result);
    case Tag::Table:
    case Tag::Instance:
        return beginMetaCall(fn, funcSlot, count, target, flags, result);
    default:
        raiseError("attempt to call '%s'", typeName(fn.tag));
    }
}

void releaseObjects(Value* slot, Value* end) {
    for (; slot < end; ++slot)
        releaseObject(*slot);
}

bool Machine::enterOrCall(std::int32_t funcSlot, std::int32_t count, std::int32_t target) {
    Value result;
    if (beginCall(funcSlot, count, target, 0, result))
        return true;
    stack_[target] = std::move(result);
    return false;
}

// Calling a class makes an instance and runs the constructor on it. A script constructor run by
// the interpreter loop (target >= 0) gets a frame of its own that leaves the instance in target;
// any other runs to completion here.
bool Machine::beginConstruct(Class* cls, std::int32_t funcSlot, std::int32_t count,
                             std::int32_t target, std::uint8_t flags, Value& result) {
    Value instance(Instance::create(state, cls));
    stack_[funcSlot + 1] = instance;
    if (cls->constructor < 0) {
        result = std::move(instance);
        return false;
    }
    Value constructor = cls->members[static_cast<std::size_t>(cls->constructor)].value;
    if (target >= 0 && constructor.tag == Tag::Closure &&
        !constructor.closure()->proto->generator) {
        stack_[target] = instance;
        enterClosure(constructor.closure(), funcSlot + 1, count, target, flags | kKeepTarget);
        return true;
    }
    stack_[funcSlot] = std::move(constructor);
    Value ignored;
    if (beginCall(funcSlot, count, -1, kBoundary, ignored))
        execute(static_cast<std::uint32_t>(frames.size() - 1), true);
    result = std::move(instance);
    return false;
}

// Calling a table or an instance calls its _call metamethod with the object as `this`, then the
// original `this` and the arguments. They are copied above everything in use.
bool Machine::beginMetaCall(const Value& object, std::int32_t funcSlot, std::int32_t count,
                            std::int32_t target, std::uint8_t flags, Value& result) {
    Value fn;
    if (!metamethod(object, Meta::Call, fn))
        raiseError("attempt to call '%s'", typeName(object.tag));
    std::int32_t slot = top;
    if (slot + 2 + count > capacity_)
        raiseError("stack overflow");
    stack_[slot] = std::move(fn);
    stack_[slot + 1] = object;
    for (std::int32_t i = 0; i < count; ++i)
        stack_[slot + 2 + i] = stack_[funcSlot + 1 + i];
    top = slot + 2 + count;
    if (top > highWater_)
        highWater_ = top;
    struct Restore {
        Machine& m;
        std::int32_t slot;
        std::int32_t end;
        bool framed = false;
        ~Restore() {
            // A frame that was pushed owns its slots; the function slot is dropped either way.
            m.stack_[slot].setNull();
            if (!framed) {
                for (std::int32_t i = slot + 1; i < end; ++i)
                    m.stack_[i].setNull();
                m.top = slot;
            }
        }
    } restore{*this, slot, slot + 2 + count};
    restore.framed = beginCall(slot, count + 1, target, flags, result);
    return restore.framed;
}

Value Machine::invoke(std::int32_t funcSlot, std::int32_t count) {
    Value result;
    if (beginCall(funcSlot, count, -1, kBoundary, result))
        return execute(static_cast<std::uint32_t>(frames.size() - 1), true);
    return result;
}

// The function, `this` and the arguments go into slots above the top, which are cleared again
// when the call ends.
Value Machine::callGeneral(const Value& fn, const Value& self, const Value* args, int count) {
    const std::int32_t slot = top;
    const std::int32_t end = slot + 2 + count;
    NestedCall nested(*this, slot, end, end);
    stack_[slot] = fn;
    stack_[slot + 1] = self;
    for (int i = 0; i < count; ++i)
        stack_[slot + 2 + i] = args[i];
    return invoke(slot, count + 1);
}

// The common call from native code, as map, reduce, filter and sort make one per element: a
// script function that takes exactly these arguments and has no bound environment. Its frame
// goes straight onto the stack, without a slot for the function or the checks and argument
// adjustment of beginCall; the frame's return releases its slots.
Value Machine::callDirect(Closure* closure, const Value& self, const Value* args, int count) {
    FunctionProto* proto = closure->proto;
    const std::int32_t base = top;
    NestedCall nested(*this, base, base + proto->stackSize, base);
    chargeOperations(proto->callCost);
    stack_[base] = self;
    for (int i = 0; i < count; ++i)
        stack_[base + 1 + i] = args[i];
    addRef(closure);
    frames.push_back(Frame{closure, proto->code.data(), proto->constants.data(), base, -1,
                           kBoundary, proto->stackSize});
    return execute(static_cast<std::uint32_t>(frames.size() - 1), true);
}

Value Machine::protectedCall(const Value& fn, const Value& self, const Value* args, int count) {
    ++protectDepth_;
    try {
        Value result = call(fn, self, args, count);
        --protectDepth_;
        return result;
    } catch (...) {
        --protectDepth_;
        throw;
    }
}

} // namespace squirrel::detail
