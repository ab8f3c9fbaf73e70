// One thread of execution: the value stack, the call frames, the exception traps and the
// interpreter loop, plus the value operations scripts and native functions use.
#pragma once

#include "state.h"

#include <string>
#include <vector>

namespace squirrel::detail {

// Thrown (as a C++ exception) while a script error unwinds; the error value is in
// Machine::error.
struct ScriptException {};

struct Frame {
    RefCounted* callee;  // Closure or NativeClosure; the frame holds a reference
    const Instr* ip;     // next instruction of a script frame, saved while it calls out
    std::int32_t base;   // stack slot of `this`
    std::int32_t target; // stack slot that receives the result, or -1 to hand it to the caller
    bool boundary;       // returning from this frame leaves the interpreter loop
};

// Call frames in memory that never moves: the interpreter keeps a pointer to the current frame
// while native functions run nested calls that push more frames.
class FrameStack {
public:
    explicit FrameStack(std::size_t capacity);
    ~FrameStack();
    FrameStack(const FrameStack&) = delete;
    FrameStack& operator=(const FrameStack&) = delete;

    void push_back(const Frame& frame) { frames_[size_++] = frame; }
    void pop_back() { --size_; }
    Frame& back() { return frames_[size_ - 1]; }
    const Frame& back() const { return frames_[size_ - 1]; }
    Frame& operator[](std::size_t i) { return frames_[i]; }
    const Frame& operator[](std::size_t i) const { return frames_[i]; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

private:
    Frame* frames_;
    std::size_t size_ = 0;
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
};

class Machine {
public:
    Machine(State& state, std::size_t stackSlots);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    State& state;

    // Calls fn with `this` and arguments; raises on error.
    Value call(const Value& fn, const Value& self, const Value* args, int count);
    // Like call, but an error it raises does not reach the error handler.
    Value protectedCall(const Value& fn, const Value& self, const Value* args, int count);

    [[noreturn]] void raise(const Value& error);
    [[noreturn]] void raiseError(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Value operations with the language's semantics (delegation, default delegates, errors).
    Value get(const Value& object, const Value& key);
    bool tryGet(const Value& object, const Value& key, Value& out);
    void set(const Value& object, const Value& key, const Value& value);
    void newSlot(const Value& object, const Value& key, const Value& value);
    Value remove(const Value& object, const Value& key);
    bool contains(const Value& object, const Value& key);
    Value arith(char op, const Value& a, const Value& b);
    // Raises the error of a bitwise operation on operands that are not both integers.
    [[noreturn]] void raiseBitwiseError(const Value& a, const Value& b);
    bool equals(const Value& a, const Value& b) const;
    // <0, 0 or >0; raises for values that cannot be compared.
    int compare(const Value& a, const Value& b);
    Value toString(const Value& v);
    Value clone(const Value& v);
    Value concat(const Value& a, const Value& b);

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
    Value callNative(NativeClosure* native, std::int32_t base, std::int32_t count);
    void enterClosure(Closure* closure, std::int32_t base, std::int32_t count, std::int32_t target,
                      bool boundary);
    void checkArgumentCount(Closure* closure, std::int32_t count);
    void adjustArguments(Closure* closure, std::int32_t base, std::int32_t count);
    void checkNativeArguments(NativeClosure* native, std::int32_t base, std::int32_t count);
    Value execute();
    bool foreachStep(Value* slots);
    void callDebugHook(int event, const Frame& frame, std::int32_t line);
    void noteError();
    void unwindFrame();
    Value getDelegated(const Value& object, const Value& key, bool& found);
    [[noreturn]] void raiseIndexError(const Value& key);

    Value* stack_ = nullptr;
    std::int32_t capacity_ = 0;
    std::vector<Trap> traps_;
    std::uint32_t executeEntry_ = 0; // first frame of the innermost interpreter loop
    int nesting_ = 0;                // calls from native code running on the C++ stack
    std::int32_t highWater_ = 0;     // slots at and above this were never used
    int protectDepth_ = 0;           // protected calls running
    bool inHook_ = false;            // the debug hook is running
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

// printf into a std::string.
std::string formatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
// How a value prints: numbers, bools and null by value, objects as "(type : 0x...)".
std::string valueToText(const Value& v);

} // namespace squirrel::detail
