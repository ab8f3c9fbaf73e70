// Threads: running a function on a machine of its own, suspending it and waking it up.
#include "machine.h"

namespace squirrel::detail {

namespace {
// A thread's stack is smaller than the main machine's; it is reserved, not allocated.
constexpr std::size_t kThreadStackSlots = 1u << 16;
} // namespace

Thread::Thread(State& state, const Value& function)
    : GCObject(Tag::Thread, state.gcHead),
      machine(std::make_unique<Machine>(state, kThreadStackSlots, this)), function(function) {}

Thread::~Thread() = default;

bool Machine::startThread(const Value& fn, const Value* args, int count, Value& result) {
    if (state.nativeNesting >= kMaxNativeNesting)
        raiseError("native stack overflow");
    stack_[0] = fn;
    stack_[1] = state.root;
    for (int i = 0; i < count; ++i)
        stack_[2 + i] = args[i];
    top = 2 + count;
    if (top > highWater_)
        highWater_ = top;
    ++state.nativeNesting;
    struct Restore {
        State& state;
        ~Restore() { --state.nativeNesting; }
    } restore{state};
    try {
        if (beginCall(0, count + 1, -1, kBoundary, result))
            result = execute(0, true);
    } catch (...) {
        for (std::int32_t i = 0; i < 2 + count; ++i)
            stack_[i].setNull();
        top = 0;
        throw;
    }
    if (suspending_) {
        suspending_ = false;
        result = std::move(suspendValue_);
        return false;
    }
    for (std::int32_t i = 0; i < 2 + count; ++i)
        stack_[i].setNull();
    top = 0;
    return true;
}

bool Machine::wakeupThread(const Value& value, bool raiseValue, Value& result) {
    if (state.nativeNesting >= kMaxNativeNesting)
        raiseError("native stack overflow");
    if (raiseValue) {
        error = value;
        traceCaptured = false;
        raiseOnEntry_ = true;
    } else {
        stack_[resumeSlot_] = value;
    }
    const Frame& frame = frames.back();
    top = frame.base + reinterpret_cast<Closure*>(frame.callee)->proto->stackSize;
    ++state.nativeNesting;
    struct Restore {
        State& state;
        ~Restore() { --state.nativeNesting; }
    } restore{state};
    try {
        result = execute(0, false);
    } catch (...) {
        Value failure = std::move(error);
        releaseAll();
        error = std::move(failure);
        throw;
    }
    if (suspending_) {
        suspending_ = false;
        result = std::move(suspendValue_);
        return false;
    }
    releaseAll();
    return true;
}

// Only a thread's own script frames can be suspended: suspend must be called by a script frame
// of the thread's one interpreter loop, with no native code in between.
void Machine::suspend(const Value& value) {
    if (!thread)
        raiseError("cannot suspend the main thread");
    if (executeDepth_ != 1 || nestedCalls_ != 0 || frames.size() < 2 ||
        frames[frames.size() - 2].callee->tag != Tag::Closure)
        raiseError("cannot suspend through native calls or metamethods");
    suspendValue_ = value;
    suspending_ = true;
}

} // namespace squirrel::detail
