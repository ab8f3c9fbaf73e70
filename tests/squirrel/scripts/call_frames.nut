// Calls from script to script: a called function stays alive for the whole call even when
// nothing but the call holds it, is freed as soon as the last reference goes (after a return
// or an error), and every kind of callee that takes the general path still behaves.
local seen = {};
function boxed(name) {
    local box = { name = name };
    seen[name] <- box.weakref(); // reads as null once the box is freed
    return box;
}
function makeReader(box) {
    return function(suffix) {
        collectgarbage();
        return box.name + suffix;
    };
}
function makeThrower(box) {
    return function() { throw "thrown with " + box.name; };
}

// A closure that only the call holds keeps its free variables through the call, and goes
// with them when the call returns.
print(makeReader(boxed("temporary"))("!") + " " + (seen.temporary == null) + "\n");

// A closure held by a local lives on after the call; dropping the local frees it.
local reader = makeReader(boxed("held"));
print(reader("?") + " " + reader("?") + " " + (seen.held != null));
reader = null;
print(" " + (seen.held == null) + "\n");

// A method held by a table, called through the table.
local holder = { read = makeReader(boxed("member")) };
print(holder.read(".") + " " + (seen.member != null));
delete holder.read;
print(" " + (seen.member == null) + "\n");

// An error raised inside the call unwinds it; the thrower and what it holds are freed.
try {
    makeThrower(boxed("thrower"))();
} catch (e) {
    print(e + " " + (seen.thrower == null) + "\n");
}

// The result lands in the register that held the function: calls chain, and the register is
// a function again for the next call.
function adder(n) { return @(x) x + n; }
print(adder(1)(2) + " " + adder(adder(3)(4))(5) + "\n");
local f = adder(10);
for (local i = 0; i < 3; i++)
    f = adder(f(i));
print(f(0) + "\n");

// Callees that take the general path: default arguments, varargs, a generator, a native
// function, an instance with _call, a bound environment and a tail call.
function withDefault(a, b = 5) { return a * b; }
function variadic(first, ...) { return first + vargv.len(); }
function counter(n) {
    for (local i = 0; i < n; i++)
        yield i;
}
class Callable {
    factor = 3;
    function _call(self, x) { return x * factor; }
}
local environment = { label = "bound" };
local bound = function() { return this.label; }.bindenv(environment);
function countdown(n) {
    if (n == 0)
        return "done";
    return countdown(n - 1);
}
local fromGenerator = [];
foreach (v in counter(3))
    fromGenerator.append(v);
print(withDefault(2) + " " + withDefault(2, 3) + " " + variadic(1) + " " + variadic(1, 2, 3) +
      " " + fromGenerator.len() + " " + abs(-7) + " " + Callable()(4) + " " + bound() + " " +
      countdown(100000) + "\n");

// Tail calls reuse the frame: to a closure only the call holds, to functions with default
// arguments or varargs, and with a wrong argument count.
function tailToTemporary() { return makeReader(boxed("tail"))("#"); }
function tailToDefault(a) { return withDefault(a); }
function tailToVariadic(a) { return variadic(a, a, a); }
function tailWithTooMany(a) { return withDefault(a, a, a); }
print(tailToTemporary() + " " + (seen.tail == null) + " " + tailToDefault(3) + " " +
      tailToVariadic(4));
try {
    tailWithTooMany(1);
} catch (e) {
    print(" " + e);
}
print("\n");

// Wrong argument counts are still reported.
function two(a, b) { return a + b; }
try {
    two(1);
} catch (e) {
    print(e + "\n");
}

// Recursion that runs out of stack is an error that can be caught; calls work afterwards, and
// the frames it unwound released their objects.
function deep(n, box) { return deep(n + 1, box) + 1; }
try {
    deep(0, boxed("deep"));
} catch (e) {
    print(e + " " + (seen.deep == null) + "\n");
}
function fib(n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); }
print(fib(20) + "\n");

// Errors inside nested calls reach the trap of the right frame, and the frames in between are
// gone.
function inner(x) {
    if (x > 2)
        throw "too big: " + x;
    return x;
}
function middle(x) { return inner(x) * 10; }
local results = [];
foreach (x in [1, 2, 3, 2]) {
    try {
        results.append(middle(x));
    } catch (e) {
        results.append(e);
    }
}
print(results.len() + " " + results[0] + " " + results[1] + " " + results[2] + " " + results[3] +
      "\n");

// A returning frame frees what each of its slots holds, in frames of every size: from `this` and
// one local up to more slots than the return tests one by one.
local kept = [];
for (local size = 1; size <= 12; size++) {
    local source = "local box = vargv[0];";
    for (local i = 0; i < size; i++)
        source += " local slot" + i + " = box(\"frame" + size + "_" + i + "\");";
    source += " return slot0.name;";
    kept.append(compilestring(source)(boxed));
    local freed = true;
    for (local i = 0; i < size; i++)
        freed = freed && seen["frame" + size + "_" + i] == null;
    print(freed ? "." : "held:" + size + " ");
}
print(" " + kept.len() + " " + kept[11] + "\n");
