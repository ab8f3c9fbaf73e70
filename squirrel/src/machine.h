// One thread of execution: the value stack, the call frames, the exception traps and the
// interpreter loop, plus the value operations scripts and native functions use.
#pragma once

#include "class.h"
#include "generator.h"
#include "state.h"
#include "thread.h"
#include "weak_ref.h"

#include <string>
#include <vector>

namespace squirrel::detail {

// Calls from native code into scripts that may be nested on the C++ stack (script -> native ->
// script ...), across all machines of a state.
constexpr int kMaxNativeNesting = 200;

// Thrown (as a C++ exception) while a script error unwinds; the error value is in
// Machine::error.
struct ScriptException {};

enum FrameFlag : std::uint8_t {
    kBoundary = 1,   // returning from this frame leaves the interpreter loop
    kGenerator = 2,  // the frame runs a generator (the innermost of Machine::generators_)
    kKeepTarget = 4, // a constructor: the target already holds the instance, the result is dropped
};

struct Frame {
    RefCounted* callee;     // Closure or NativeClosure; the frame holds a reference
    const Instr* ip;        // next instruction of a script frame, saved while it calls out
    const Value* constants; // the script function's constants, kept here for the interpreter
    std::int32_t base;      // stack slot of `this`
    std::int32_t target;    // stack slot that receives the result, or -1 to hand it to the caller
    std::uint8_t flags;     // FrameFlag bits
    std::uint8_t stackSize; // slots of a script function's frame
};

// Call frames in memory that never moves: the interpreter keeps a pointer to the current frame
// while native functions run nested calls that push more frames.
class FrameStack {
public:
    explicit FrameStack(std::size_t capacity);
    ~FrameStack();
    FrameStack(const FrameStack&) = delete;
    FrameStack& operator=(const FrameStack&) = delete;

    void push_back(const Frame& frame) { *end_++ = frame; }
    void pop_back() { --end_; }
    Frame& back() { return end_[-1]; }
    const Frame& back() const { return end_[-1]; }
    Frame& operator[](std::size_t i) { return frames_[i]; }
    const Frame& operator[](std::size_t i) const { return frames_[i]; }
    std::size_t size() const { return static_cast<std::size_t>(end_ - frames_); }
    bool empty() const { return end_ == frames_; }

private:
    Frame* frames_;
    Frame* end_; // one past the innermost frame, so that the interpreter reaches it in one step
    std::size_t capacity_;
};

struct Trap {
    std::uint32_t frame; // index of the frame that owns the trap
    const Instr* handler;
    std::int32_t slot; // stack slot that receives the error
};

// One line of a call stack report.
struct TraceEntry {
    std::string function;
    std::string source;
    std::int32_t line;
    std::uint32_t compilation = 0; // 0 for native functions
};

class Machine {
public:
    // thread is the thread object the machine runs, or null for the main machine.
    Machine(State& state, std::size_t stackSlots, Thread* thread = nullptr);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    State& state;
    Thread* const thread;

    // Calls fn with `this` and arguments; raises on error. Inline, so that the test for the
    // common case costs natives that call back once per element no call of its own.
    Value call(const Value& fn, const Value& self, const Value* args, int count) {
        if (fn.tag == Tag::Closure) {
            Closure* closure = fn.closure();
            if (count + 1 == closure->proto->directArgs && closure->env.isNull())
                return callDirect(closure, self, args, count);
        }
        return callGeneral(fn, self, args, count);
    }
    // Like call, but an error it raises does not reach the error handler.
    Value protectedCall(const Value& fn, const Value& self, const Value* args, int count);

    [[noreturn]] void raise(const Value& error);
    // Raises the script error a failed allocation or an overlong string stands for.
    [[noreturn]] void raiseAllocationFailure(bool stringTooLong);
    [[noreturn]] void raiseError(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Value operations with the language's semantics (delegation, metamethods, default
    // delegates, errors).
    Value get(const Value& object, const Value& key);
    bool tryGet(const Value& object, const Value& key, Value& out);
    void set(const Value& object, const Value& key, const Value& value);
    void newSlot(const Value& object, const Value& key, const Value& value);
    Value remove(const Value& object, const Value& key);
    bool contains(const Value& object, const Value& key);
    Value arith(char op, const Value& a, const Value& b);
    Value negate(const Value& v);
    Value typeOf(const Value& v);
    bool instanceOf(const Value& object, const Value& cls);
    // The 2.x `.parent`: a table's delegate or a class's base; an instance's member "parent".
    Value parentOf(const Value& v);
    // The metamethod of a table (in its delegate) or an instance (in its class), if any.
    bool metamethod(const Value& object, Meta meta, Value& out) const;
    // Adds a member to a class; a class-body declaration (declared) goes through _newmember.
    void addClassMember(const Value& cls, const Value& key, const Value& value,
                        const Value& attributes, bool isStatic, bool declared);
    // A class deriving from base (a class or null); base's _inherited is told about it.
    Value makeClass(const Value& base, const Value& attributes);
    // Raises the error of a bitwise operation on operands that are not both integers.
    [[noreturn]] void raiseBitwiseError(const Value& a, const Value& b);
    bool equals(const Value& a, const Value& b) const;
    // <0, 0 or >0; raises for values that cannot be compared.
    int compare(const Value& a, const Value& b);
    Value toString(const Value& v);
    Value clone(const Value& v);
    Value concat(const Value& a, const Value& b);

    // Subtracts operations from the host call's budget; raises when it is spent.
    void chargeOperations(std::int64_t operations) {
        if ((state.budgetLeft -= operations) < 0)
            budgetSpent();
    }
    // The budget dropped below zero: without a budget it is filled again, otherwise the budget
    // error is raised (and raised again at every later charge of the same host call).
    void budgetSpent();

    // Generators and threads.
    std::string_view generatorStatus(const Generator* generator) const;
    // Runs fn as the body of this machine's thread, or continues the suspended body with value
    // as the result of `suspend` (raised inside it instead when raiseValue is set). Returns
    // true when the body returned (result holds its value), false when it suspended again
    // (result holds what it passed to suspend). Errors leave as ScriptException.
    bool startThread(const Value& fn, const Value* args, int count, Value& result);
    bool wakeupThread(const Value& value, bool raiseValue, Value& result);
    // Asks the thread's interpreter loop to stop once the native function that called this
    // returns; its frames stay in place.
    void suspend(const Value& value);
    // Visits or drops everything a thread's machine holds, for the cycle collector.
    void traverse(ValueVisitor visit, void* context);
    void releaseAll();

    // The call stack from the innermost frame out.
    std::vector<TraceEntry> callStack() const;
    // Frame `level` levels out from the innermost (0), or null.
    const Frame* frameAt(int level) const;
    std::int32_t currentLine(const Frame& frame) const;
    const Value& stackSlot(std::int32_t index) const { return stack_[index]; }

    Value error;                   // the error being raised
    std::vector<TraceEntry> trace; // call stack where the error left its interpreter loop
    bool traceCaptured = false;
    FrameStack frames;
    std::int32_t top = 0; // first free stack slot

private:
    Value invoke(std::int32_t funcSlot, std::int32_t count);
    // call for a script function that takes exactly these arguments and has no bound
    // environment, and for everything else.
    Value callDirect(Closure* closure, const Value& self, const Value* args, int count);
    Value callGeneral(const Value& fn, const Value& self, const Value* args, int count);
    // A call from native code into a script, from the stack top `start` up to `end`: checked
    // against the stack's size and the nesting limit, and counted as one level of nesting while
    // it runs. On leaving, the slots from start up to clearEnd are cleared and the top comes
    // back to start.
    struct NestedCall {
        NestedCall(Machine& m, std::int32_t start, std::int32_t end, std::int32_t clearEnd)
            : m(m), start(start), clearEnd(clearEnd) {
            if (end > m.capacity_)
                m.raiseError("stack overflow");
            if (m.state.nativeNesting >= kMaxNativeNesting)
                m.raiseError("native stack overflow");
            m.top = end;
            if (end > m.highWater_)
                m.highWater_ = end;
            ++m.state.nativeNesting;
            ++m.nestedCalls_;
        }
        ~NestedCall() {
            for (std::int32_t i = start; i < clearEnd; ++i)
                m.stack_[i].setNull();
            m.top = start;
            --m.state.nativeNesting;
            --m.nestedCalls_;
        }
        NestedCall(const NestedCall&) = delete;
        NestedCall& operator=(const NestedCall&) = delete;

        Machine& m;
        std::int32_t start;
        std::int32_t clearEnd;
    };
    bool beginCall(std::int32_t funcSlot, std::int32_t count, std::int32_t target,
                   std::uint8_t flags, Value& result);
    bool beginConstruct(Class* cls, std::int32_t funcSlot, std::int32_t count, std::int32_t target,
                        std::uint8_t flags, Value& result);
    // beginCall for the interpreter loop: true when a script frame was entered, otherwise the
    // call ran and its result is in target.
    bool enterOrCall(std::int32_t funcSlot, std::int32_t count, std::int32_t target);
    // self[key] for a function running as closure, falling back to the closure's root table.
    Value getThisOrRoot(const Value& self, const Closure* closure, const Value& key);
    bool beginMetaCall(const Value& object, std::int32_t funcSlot, std::int32_t count,
                       std::int32_t target, std::uint8_t flags, Value& result);
    Value callNative(NativeClosure* native, std::int32_t base, std::int32_t count);
    void enterClosure(Closure* closure, std::int32_t base, std::int32_t count, std::int32_t target,
                      std::uint8_t flags);
    void checkArgumentCount(Closure* closure, std::int32_t count);
    void adjustArguments(Closure* closure, std::int32_t base, std::int32_t count);
    void checkNativeArguments(NativeClosure* native, std::int32_t base, std::int32_t count);
    Value execute(std::uint32_t entry, bool callHook);
    bool foreachStep(Value* slots);
    void callDebugHook(int event, const Frame& frame, std::int32_t line);
    void noteError();
    // Handles the error being raised in the interpreter loop that began at frame entry: the
    // handler of the innermost trap of that loop, with the frames above the trap's unwound, or
    // null (every frame of the loop unwound) when the error leaves the loop. The budget error
    // always leaves.
    const Instr* trapError(std::uint32_t entry);
    // trapError for a failed allocation or an overlong string in an operation of the loop.
    const Instr* trapAllocationFailure(std::uint32_t entry, bool stringTooLong);
    void unwindFrame();
    void finishGenerator();
    bool defaultMember(const Value& delegate, const Value& key, Value& out);
    // Calls a _get or _set metamethod; false when it threw null ("no such key").
    bool callFallible(const Value& fn, const Value& self, const Value* args, int count, Value& out);
    [[noreturn]] void raiseIndexError(const Value& key);

    // Generators.
    Value makeGenerator(Closure* closure, std::int32_t base, std::int32_t count);
    Generator* resumable(const Value& v);
    void pushGenerator(Generator* generator, std::int32_t target, std::uint8_t flags);
    void saveGenerator(Frame& frame, const Instr* ip);
    Value resumeNested(Generator* generator);

    Value* stack_ = nullptr;
    std::int32_t capacity_ = 0;
    std::vector<Trap> traps_;
    std::vector<Value> generators_;  // generators of the frames flagged kGenerator, innermost last
    std::uint32_t executeEntry_ = 0; // first frame of the innermost interpreter loop
    int executeDepth_ = 0;           // interpreter loops running on this machine
    int nestedCalls_ = 0;            // calls from native code running on this machine
    std::int32_t highWater_ = 0;     // slots at and above this were never used
    int protectDepth_ = 0;           // protected calls running
    bool inHook_ = false;            // the debug hook is running
    // Threads.
    Value suspendValue_;
    bool suspending_ = false;     // suspend was called; the interpreter loop stops
    std::int32_t resumeSlot_ = 0; // the register that receives wakeup's value
    bool raiseOnEntry_ = false;   // the interpreter loop starts by raising `error`
};

// Bitwise and shift operations on integers; shift counts use their low five bits.
inline std::int32_t integerBitwise(Op op, std::int32_t a, std::int32_t b) {
    std::uint32_t x = static_cast<std::uint32_t>(a);
    std::uint32_t shift = static_cast<std::uint32_t>(b) & 31u;
    switch (op) {
    case Op::BitAnd:
        return a & b;
    case Op::BitOr:
        return a | b;
    case Op::BitXor:
        return a ^ b;
    case Op::Shl:
        return static_cast<std::int32_t>(x << shift);
    case Op::Shr:
        return a >> shift;
    default:
        return static_cast<std::int32_t>(x >> shift);
    }
}

// Releases the object held in a slot of a frame that returns, so that it dies when unused.
// Scalars stay: every slot is written before it is read.
inline void releaseObject(Value& slot) {
    if (isRefCounted(slot.tag))
        slot.setNull();
}
// The same for a run of slots. Out of line, so that the interpreter loop keeps its registers for
// itself.
void releaseObjects(Value* slot, Value* end);

// printf into a std::string.
std::string formatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
// How a value prints: numbers, bools and null by value, objects as "(type : 0x...)".
std::string valueToText(const Value& v);

} // namespace squirrel::detail
