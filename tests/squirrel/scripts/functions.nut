// Function declarations, default parameters, varargs, `this` binding, rawcall, bindenv, lambdas
// and tail calls.
function ciao(a, b, c) { return a + b - c; }
local tuna = function(a, b, c) { return a + b - c; };
local function tuna2(a, b, c) { return a * b * c; }
print(ciao(1, 2, 3) + " " + tuna(5, 5, 1) + " " + tuna2(2, 3, 4) + "\n");
T <- {};
function T::ciao(a, b, c) { return a + b - c; }
T.hello <- function() { return "hello"; };
Ns <- { Inner = {} };
function Ns::Inner::deep() { return "deep"; }
print(T.ciao(3, 2, 1) + " " + T.hello() + " " + Ns.Inner.deep() + "\n");
function single(x) return x * 3;
print(single(4) + "\n");
function test(a, b, c = 10, d = 20) { return a + b + c + d; }
print(test(1, 2) + " " + test(1, 2, 3) + " " + test(1, 2, 3, 4) + "\n");
local start = 100;
local withDefault = function(x = start * 2) { return x; };
start = 1;
print(withDefault() + " " + withDefault(5) + "\n");
function vtest(a, b, ...) {
    local out = a + "," + b + ":";
    for (local i = 0; i < vargv.len(); i++)
        out += " " + vargv[i];
    foreach (i, val in vargv)
        out += " [" + i + "]=" + val;
    return out + " (" + vargc + ")";
}
print(vtest("x", "y", 1, 2, 3) + "\n");
print(vtest("x", "y") + "\n");
function vd(a, b = 2, ...) { return a + b + vargv.len(); }
print(vd(1) + " " + vd(1, 1, 1, 1) + "\n");
local obj = {
    name = "obj",
    function who() { return this.name; }
};
name <- "root";
function who() { return this.name; }
local f = obj.who;
print(obj.who() + " " + who() + " " + f() + "\n");
print(rawcall(obj.who, { name = "raw" }) + "\n");
local env = {};
function add(a, b) { return a + b; }
print(rawcall(add, env, 1, 2) + "\n");
local boundEnv = { name = "bound" };
local bound = who.bindenv(boundEnv);
local holder = { name = "holder", fn = bound };
print(bound() + " " + holder.fn() + "\n");
local envObj = { k = 5 };
local envFn = function[envObj](x) { return k + x; };
print(envFn(1) + "\n");
function loopy(n) {
    if (n > 0)
        return loopy(n - 1);
    return "done";
}
print(loopy(3000000) + "\n");
function depth(n) { return n == 0 ? 0 : 1 + depth(n - 1); }
print(depth(10000) + "\n");
function isEven(n) { return n == 0 ? true : isOdd(n - 1); }
function isOdd(n) { return n == 0 ? false : isEven(n - 1); }
print(isEven(10) + " " + isOdd(7) + " " + isEven(7) + "\n");
function nothing() { return; }
function fallsOff() { local x = 1; }
print(nothing() + " " + fallsOff() + "\n");
print((function(x) { return x + 1; })(1) + "\n");
local myexp = @(a, b) a + b;
local scaled = @(x, y = 10) x * y;
print(myexp(2, 3) + " " + scaled(3) + " " + scaled(3, 3) + "\n");
local arr = [2, 3, 5, 8, 3, 5, 1, 2, 6];
arr.sort(@(a, b) a <=> b);
foreach (v in arr) print(v);
print(" ");
arr.sort(@(a, b) -(a <=> b));
foreach (v in arr) print(v);
print("\n");
local ops = [@(x) x + 1, @(x) x * 2];
local val = 5;
foreach (op in ops)
    val = op(val);
print(val + "\n");
local trace = [];
function note(x) { trace.append(x); return x; }
function three(a, b, c) { return a * 100 + b * 10 + c; }
print(three(note(1), note(2), note(3)) + " ");
foreach (t in trace) print(t);
print("\n");
function makeMultiplier(factor) { return @(x) x * factor; }
local double = makeMultiplier(2), triple = makeMultiplier(3);
print(double(7) + " " + triple(7) + " " + makeMultiplier(4)(5) + "\n");
