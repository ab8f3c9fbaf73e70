// Free variables: a function refers to locals of the functions around it. The closure takes
// the values those locals hold when the closure is made.
local x = 10, y = 20;
local testy = "I'm testy";
function foo(a, b) {
    ::print(testy + "\n");
    return a + b + x + y;
}
print(foo(1, 2) + "\n");
local factor = 3;
local scale = @(v) v * factor;
print(scale(5) + "\n");
local fns = [];
for (local i = 0; i < 3; i++)
    fns.append(@() i);
foreach (fn in fns)
    print(fn() + " ");
local fns2 = [];
foreach (k, v in ["a", "b"])
    fns2.append(function() { return k + v; });
foreach (fn in fns2)
    print(fn() + " ");
print("\n");
function makeCounter() {
    local n = 0;
    return function() {
        n += 1;
        return n;
    };
}
local c1 = makeCounter(), c2 = makeCounter();
print(c1() + " " + c1() + " " + c1() + " " + c2() + "\n");
function outer() {
    local secret = "s";
    local middle = function() {
        return function() { return secret + "!"; };
    };
    return middle()();
}
print(outer() + "\n");
local shared = [];
local push = @(v) shared.append(v);
push(1);
push(2);
print(shared.len() + "\n");
local count = 0;
local incr = function() {
    count++;
    return count;
};
incr();
incr();
print(count + " " + incr() + "\n");
count = 50;
local later = @() count;
print(later() + "\n");
function adder(n) { return @(x) x + n; }
print(adder(10)(5) + "\n");
local offset = 100;
local mapped = [1, 2, 3].map(@(v) v + offset);
print(mapped[0] + " " + mapped[2] + "\n");
function collect(...) { return @() vargv.len(); }
print(collect(1, 2, 3)() + "\n");
local compose = @(f, g) @(v) f(g(v));
local inc = @(v) v + 1;
local sq = @(v) v * v;
print(compose(inc, sq)(3) + " " + compose(sq, inc)(3) + "\n");
