// Cooperative threads: newthread, call, suspend, wakeup, wakeupthrow and getstatus.
function coroutine_test(a, b) {
    ::print(a + " " + b + "\n");
    local ret = ::suspend("suspend 1");
    ::print("the coroutine says " + ret + "\n");
    ret = ::suspend("suspend 2");
    ::print("the coroutine says " + ret + "\n");
    ret = ::suspend("suspend 3");
    ::print("the coroutine says " + ret + "\n");
    return "I'm done"
}
local coro = ::newthread(coroutine_test);
print(coro.getstatus() + "\n");
local susparam = coro.call("test", "coroutine");
local i = 1;
do {
    ::print("suspend passed (" + susparam + ")\n")
    susparam = coro.wakeup("ciao " + i);
    ++i;
} while (coro.getstatus() == "suspended")
::print("return passed (" + susparam + ")\n")
print(coro.getstatus() + "\n");

// Tail calls between suspending functions run forever in constant space.
function state1() {
    ::suspend("state1");
    return state2();
}
function state2() {
    ::suspend("state2");
    return state3();
}
function state3() {
    ::suspend("state3");
    return state1();
}
local statethread = ::newthread(state1);
local seen = statethread.call();
for (local n = 0; n < 10000; n++)
    seen = statethread.wakeup();
print(seen + "\n");

// Suspending from nested script calls; wakeup without a value gives null.
function deep(level) {
    if (level == 0)
        return ::suspend("at the bottom");
    return "(" + deep(level - 1) + ")";
}
local nested = newthread(function() { return deep(3); });
print(nested.call() + " " + nested.getstatus() + "\n");
print(nested.wakeup() + " " + nested.getstatus() + "\n");

// getstatus is "running" inside the thread; the thread has the root table as this.
selfAware <- newthread(function() { return selfAware.getstatus() + " " + (this == ::getroottable()); });
print(selfAware.call() + "\n");

// An idle thread can be called again; an error ends the thread and reaches the caller.
local reusable = newthread(function(x) { suspend(x); return x * 2; });
print(reusable.call(1) + " " + reusable.wakeup() + " " + reusable.call(5) + " " +
      reusable.wakeup() + "\n");
local failing = newthread(function() {
    suspend("before the error");
    throw "thread failure";
});
print(failing.call() + "\n");
try {
    failing.wakeup();
} catch (e) {
    print("caught " + e + " " + failing.getstatus() + "\n");
}

// wakeupthrow raises inside the thread, where a trap may catch it.
local catcher = newthread(function() {
    try {
        suspend("waiting");
    } catch (e) {
        return "the thread caught " + e;
    }
    return "nothing thrown";
});
catcher.call();
print(catcher.wakeupthrow("an exception") + "\n");
local uncaught = newthread(function() { suspend(); });
uncaught.call();
try {
    uncaught.wakeupthrow("goes out");
} catch (e) {
    print("propagated " + e + "\n");
}
uncaught.call();
print(uncaught.wakeupthrow("dropped", false) + " " + uncaught.getstatus() + "\n");

// Threads and generators work together; a suspended thread keeps its generator's place.
function numbers() {
    for (local k = 1; k <= 3; k++)
        yield k;
}
local producer = newthread(function() {
    foreach (v in numbers())
        suspend(v * 10);
    return "produced";
});
local outputs = [producer.call()];
while (producer.getstatus() == "suspended")
    outputs.append(producer.wakeup());
print(outputs.len() + ": " + outputs[0] + " " + outputs[1] + " " + outputs[2] + " " + outputs[3] +
      "\n");

// Stack information of a suspended thread.
local inspected = newthread(function(arg) {
    local mine = arg * 2;
    suspend();
});
inspected.call(21);
local info = inspected.getstackinfos(0);
print(info.func + " " + info.locals.mine + " " + info.locals.arg + " " +
      inspected.getstackinfos(5) + "\n");

// Errors of the thread functions.
function check(name, f) {
    try {
        f();
        print(name + ": no error\n");
    } catch (e) {
        print(name + ": " + e + "\n");
    }
}
check("wakeup idle", @() newthread(print).wakeup());
check("call suspended", function() {
    local t = newthread(@() suspend(1));
    t.call();
    t.call();
});
check("suspend the main thread", @() suspend(1));
check("suspend through native code", @() newthread(@() [1].map(@(v) suspend(v))).call());
check("suspend in a metamethod", function() {
    local t = newthread(function() {
        local o = {}.setdelegate({ _get = @(k) ::suspend(k) });
        return o.key;
    });
    t.call();
});
check("newthread of a number", @() newthread(5));
print(typeof coro + " " + coro.tostring().slice(0, 9) + "\n");
