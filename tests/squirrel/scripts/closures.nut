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
// Each closure reads and writes its own free variables however its frame is entered and left:
// after a call returns to it, through a tail call, around a generator's yields, after a caught
// error, from a native callback and across a coroutine's suspension.
local function makeCell(name, start) {
    local value = start;
    local cell = {};
    cell.bump <- function(step) { value += step; return name + "=" + value; };
    cell.callThen <- function(other) {
        local inner = other.bump(1);
        value += 10;
        return inner + " " + name + "=" + value;
    };
    cell.tail <- function(other) { value += 100; return other.bump(1000); };
    cell.throwing <- function() { value += 5; throw name + " threw at " + value; };
    cell.catching <- function(other) {
        try {
            other.throwing();
        } catch (e) {
            value += 7;
            return e + ", " + name + "=" + value;
        }
    };
    cell.mapping <- function(other) {
        local seen = [1, 2].map(@(v) other.bump(v));
        value -= 1;
        return seen[1] + " " + name + "=" + value;
    };
    cell.counting <- function(times) {
        for (local i = 0; i < times; i++) {
            value++;
            yield name + "=" + value;
        }
    };
    cell.suspending <- function() {
        value *= 2;
        suspend(name + "=" + value);
        value *= 3;
        return name + "=" + value;
    };
    return cell;
}
local a = makeCell("a", 0);
local b = makeCell("b", 50);
print(a.callThen(b) + "\n");
print(a.tail(b) + " " + a.bump(0) + "\n");
print(a.catching(b) + " " + b.bump(0) + "\n");
print(b.mapping(a) + "\n");
local counter = a.counting(2);
print(resume counter);
print(" " + b.bump(1) + " ");
print(resume counter);
print("\n");
local worker = ::newthread(b.suspending);
print(worker.call() + " " + a.bump(0) + " ");
print(worker.wakeup() + "\n");
