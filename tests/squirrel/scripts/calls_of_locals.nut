// Calling a function held in a local variable passes the caller's `this` on, takes the function
// before the arguments are evaluated, and works for every kind of callable value.
local function whoIsThis() { return "name" in this ? this.name : typeof this; }
local holder = {
    name = "holder",
    function viaLocal() {
        local f = whoIsThis;
        return f();
    }
};
print(whoIsThis() + " " + holder.viaLocal() + "\n");

// The function is fetched before the arguments run, even when an argument replaces it.
local function first(unused, x) { return "first " + x; }
local function second(unused, x) { return "second " + x; }
local g = first;
local result = g(g = second, "call");
print(result + ", then " + g(null, "again") + "\n");

// A local holding a closure over a free variable, and a local holding a global function that
// calls itself.
function factorial(n) { return n <= 1 ? 1 : n * factorial(n - 1); }
local f = factorial;
local step = 3;
local addStep = @(x) x + step;
print(f(10) + " " + addStep(4) + "\n");

// Natives, classes, instances with _call, tables with _call, and values that cannot be called.
local absolute = abs;
class Point {
    x = 0;
    constructor(px) { x = px; }
}
class Doubler {
    function _call(self, v) { return v * 2; }
}
local make = Point;
local doubler = Doubler();
local callable = {}.setdelegate({ function _call(self, v) { return v + 100; } });
print(absolute(-5) + " " + make(8).x + " " + doubler(21) + " " + callable(1) + "\n");
foreach (value in [null, 42, "text"]) {
    local notCallable = value;
    try {
        notCallable();
    } catch (e) {
        print(e + "\n");
    }
}

// An error inside a function called through a local reaches the caller's trap.
local function failing(x) { throw "failed with " + x; }
try {
    failing(7);
} catch (e) {
    print(e + "\n");
}
