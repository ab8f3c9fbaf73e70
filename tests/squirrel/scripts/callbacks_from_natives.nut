// Script functions called back by native functions (map, apply, reduce, filter, sort, call):
// results, `this`, arguments, errors raised inside, and the stack left behind after each.

// Results and what the callbacks see as `this` and arguments.
local numbers = [3, 1, 2];
print(numbers.map(@(v) v * 10).reduce(@(a, b) a + b) + " " +
      numbers.filter(@(i, v) v > 1).len() + "\n");
print(numbers.map(function(v) { return this == numbers; })[0] + " " +
      numbers.map(@(v, i) i).reduce(@(a, b) a + "," + b) + " " +
      numbers.map(@(v, i, a) a == numbers)[2] + "\n");
local sorted = clone numbers;
sorted.sort(function(a, b) { return this == getroottable() ? b <=> a : 0; });
print(sorted[0] + "" + sorted[1] + sorted[2] + "\n");

// Callbacks the short path does not take: defaults, variadic, generators, a bound
// environment (held weakly, so kept in a local) and natives.
local environment = { tag = "bound" };
print(numbers.map(function(v, i = 5, extra = "x") { return v + i; })[0] + " " +
      numbers.map(function(...) { return vargv.len(); })[0] + " " +
      numbers.map(function(v) { return this.tag; }.bindenv(environment))[0] + " " +
      numbers.map(abs)[1] + " " +
      typeof numbers.map(function(v) { yield v; })[0] + "\n");
print(function(x) { return this.k + x; }.call({ k = 40 }, 2) + "\n");

// One native making many calls: each call's slots are given back when it returns.
local ones = array(500000, 1);
print(ones.reduce(@(a, b) a + b) + " " + ones.filter(@(i, v) i % 2).len() + "\n");

// An error inside a callback reaches the script around the native, every time, and leaves no
// slots behind: after many caught errors a deep recursion still fits the stack.
local caught = 0;
for (local i = 0; i < 5000; i++) {
    try {
        numbers.map(function(v) { local big = array(3); throw "inside " + v; });
    } catch (e) {
        caught++;
    }
}
function depth(n) { return n == 0 ? 0 : 1 + depth(n - 1); }
print(caught + " " + depth(5000) + "\n");
try {
    numbers.reduce(@(a, b) a + undefinedName);
} catch (e) {
    print("reduce: " + e + "\n");
}
try {
    numbers.map(@(v, w, x, y) v);
} catch (e) {
    print("too many parameters: " + e + "\n");
}

// Natives calling back into natives calling back again: each level is one nested native call.
function nest(n) { return n == 0 ? "bottom" : [n].map(@(v) nest(v - 1))[0]; }
print(nest(150) + "\n");

// What a callback made and dropped is freed when it returns.
local probe = null;
numbers.map(function(v) { local made = {}; probe = made.weakref(); return v; });
print((probe == null) + "\n");
