// Calling conventions: tail calls in every form, argument counts, environments and nesting of
// script and native calls.
function count(n, acc) {
    if (n == 0)
        return acc;
    return count(n - 1, acc + 1);
}
print(count(100000, 0) + "\n");
function toNative(x) { return x.tostring(); }
function tailToNative(x) { return toNative(x) + "!"; }
function returnsNative(x) { return (x * 2).tostring(); }
print(tailToNative(5) + " " + returnsNative(21) + "\n");
function sum(...) {
    local total = 0;
    foreach (v in vargv)
        total += v;
    return total;
}
function tailToVarargs(a, b) { return sum(a, b, a * b); }
print(tailToVarargs(3, 4) + "\n");
function withDefault(a, b = 100) { return a + b; }
function tailToDefault(x) { return withDefault(x); }
print(tailToDefault(1) + "\n");
function bigFrame(a, b, c, d, e, f, g, h) {
    local x1 = a + b, x2 = c + d, x3 = e + f, x4 = g + h;
    return x1 * x2 * x3 * x4;
}
function smallFrame(n) { return bigFrame(n, n, n, n, n, n, n, n); }
print(smallFrame(1) + "\n");
local env = { tag = "env" };
local boundTarget = function() { return tag; }.bindenv(env);
function tailToBound() { return boundTarget(); }
print(tailToBound() + "\n");
function notCallable() { local n = 5; return n(); }
try {
    notCallable();
} catch (e) {
    print(e + "\n");
}
function tailInTry() {
    try {
        return count(10, 0);
    } catch (e) {
        return "caught";
    }
}
print(tailInTry() + "\n");
local many = [];
for (local i = 1; i <= 100; i++)
    many.append(i);
print(sum.acall([this].extend(many)) + " " + sum.acall([this]) + "\n");
local sorted = [[3, 1], [2, 9, 8], [7]].map(@(inner) inner.sort()).sort(@(a, b) a[0] <=> b[0]);
foreach (inner in sorted)
    print(inner[0] + "-" + inner.top() + " ");
print("\n");
local o = {
    name = "outer object",
    function method() {
        local inner = function() { return name; };
        local bound = function() { return name; }.bindenv(this);
        return inner.call(this) + " / " + bound();
    }
};
print(o.method() + "\n");
function argumentsAreCopies(x, arr) {
    x = 99;
    arr.append(99);
}
local value = 1, list = [];
argumentsAreCopies(value, list);
print(value + " " + list.len() + "\n");
function returnsMultiple() { return [1, "two", 3.0]; }
local r = returnsMultiple();
print(r[0] + r[1] + r[2] + "\n");
local fib = function(n) { return n < 2 ? n : callee()(n - 1) + callee()(n - 2); };
print(fib(15) + "\n");
