// Default delegates of generators, threads and weak references, and the thread functions of
// the base library.
#include "library.h"
#include "machine.h"

namespace squirrel::detail {

namespace {

Value generatorGetStatus(Machine& m, Value* args, int) {
    return m.state.string(m.generatorStatus(args[0].as<Generator>()));
}

Thread* threadOf(const Value& v) {
    return v.as<Thread>();
}

// Runs or continues a thread from the machine m; the thread's errors become m's.
Value runThread(Machine& m, Thread* thread, const Value* args, int count, bool start,
                bool raiseValue) {
    Value keep(thread);
    Machine& t = *thread->machine;
    thread->status = Thread::Status::Running;
    Value result;
    try {
        bool finished = start ? t.startThread(thread->function, args, count, result)
                              : t.wakeupThread(count > 0 ? args[0] : Value(), raiseValue, result);
        thread->status = finished ? Thread::Status::Idle : Thread::Status::Suspended;
    } catch (ScriptException&) {
        thread->status = Thread::Status::Idle;
        Value failure = std::move(t.error);
        t.traceCaptured = false;
        m.raise(failure);
    }
    return result;
}

Value threadCall(Machine& m, Value* args, int count) {
    Thread* thread = threadOf(args[0]);
    if (thread->status != Thread::Status::Idle)
        m.raiseError("cannot call a thread that is not idle");
    return runThread(m, thread, args + 1, count - 1, true, false);
}

Value threadWakeup(Machine& m, Value* args, int count) {
    Thread* thread = threadOf(args[0]);
    if (thread->status == Thread::Status::Idle)
        m.raiseError("cannot wakeup a idle thread");
    if (thread->status == Thread::Status::Running)
        m.raiseError("cannot wakeup a running thread");
    return runThread(m, thread, args + 1, count - 1, false, false);
}

// wakeupthrow(value, [propagate = true]): raises value inside the suspended thread. Without
// propagation an error that leaves the thread is dropped and the call gives null.
Value threadWakeupThrow(Machine& m, Value* args, int count) {
    Thread* thread = threadOf(args[0]);
    if (thread->status != Thread::Status::Suspended)
        m.raiseError("cannot wakeup a thread that is not suspended");
    if (count > 2 && !args[2].truthy()) {
        try {
            return runThread(m, thread, args + 1, 1, false, true);
        } catch (ScriptException&) {
            m.error.setNull();
            m.traceCaptured = false;
            return Value();
        }
    }
    return runThread(m, thread, args + 1, 1, false, true);
}

Value threadGetStatus(Machine& m, Value* args, int) {
    switch (threadOf(args[0])->status) {
    case Thread::Status::Idle:
        return m.state.string("idle");
    case Thread::Status::Running:
        return m.state.string("running");
    default:
        return m.state.string("suspended");
    }
}

Value threadGetStackInfos(Machine&, Value* args, int) {
    return stackInfos(*threadOf(args[0])->machine, args[1].toInt());
}

Value weakRefRef(Machine&, Value* args, int) {
    return slotValue(args[0]);
}

Value baseNewThread(Machine& m, Value* args, int) {
    return Value(new Thread(m.state, args[1]));
}

Value baseSuspend(Machine& m, Value* args, int count) {
    m.suspend(count > 1 ? args[1] : Value());
    return Value();
}

} // namespace

void createGeneratorDelegate(State& s) {
    s.generatorDelegate = s.newTable();
    Table* t = s.generatorDelegate.table();
    s.registerNative(t, "getstatus", generatorGetStatus, 1, "g");
    s.registerNative(t, "weakref", delegateWeakRef, 1, "g");
    s.registerNative(t, "tostring", delegateToString, 1, "g");
}

void createThreadDelegate(State& s) {
    s.threadDelegate = s.newTable();
    Table* t = s.threadDelegate.table();
    s.registerNative(t, "call", threadCall, -1, "v");
    s.registerNative(t, "wakeup", threadWakeup, -1, "v");
    s.registerNative(t, "wakeupthrow", threadWakeupThrow, -2, "v.b");
    s.registerNative(t, "getstatus", threadGetStatus, 1, "v");
    s.registerNative(t, "getstackinfos", threadGetStackInfos, 2, "vn");
    s.registerNative(t, "weakref", delegateWeakRef, 1, "v");
    s.registerNative(t, "tostring", delegateToString, 1, "v");
    Table* root = s.root.table();
    s.registerNative(root, "newthread", baseNewThread, 2, ".c");
    s.registerNative(root, "suspend", baseSuspend, -1);
}

void createWeakRefDelegate(State& s) {
    s.weakRefDelegate = s.newTable();
    Table* t = s.weakRefDelegate.table();
    s.registerNative(t, "ref", weakRefRef, 1, "r");
    s.registerNative(t, "weakref", delegateWeakRef, 1, "r");
    s.registerNative(t, "tostring", delegateToString, 1, "r");
}

} // namespace squirrel::detail
