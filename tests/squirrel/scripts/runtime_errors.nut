// The text of every runtime error, as a catch clause sees it.
function check(name, f) {
    try {
        f();
        print(name + ": no error\n");
    } catch (e) {
        print(name + ": " + e + "\n");
    }
}
local t = { a = 1 };
local arr = [1, 2, 3];
check("missing slot", @() t.b);
check("missing global", @() undefinedGlobal);
check("missing integer key", @() t[7]);
check("array index", @() arr[3]);
check("negative array index", @() arr[-1]);
check("string index", @() "abc"[10]);
check("assign missing slot", function() { t.nope = 1; });
check("assign missing global", function() { undefinedGlobal = 1; });
check("assign array index", function() { arr[5] = 0; });
check("method of number", @() (5).nomethod());
check("slot of null", function() { local n = null; return n.x; });
check("arith table", @() t + 1);
check("arith string minus", @() "abc" - 1);
check("arith multiply", @() [] * 2);
check("arith divide", @() null / 2);
check("arith modulo", @() true % 2);
check("increment string", function() { local s = "s"; s--; });
check("division by zero", function() { local z = 0; return 10 / z; });
check("modulo by zero", function() { local z = 0; return 10 % z; });
check("compare string integer", @() "a" < 1);
check("compare table integer", @() t > 0);
check("three-way compare", @() [] <=> 1.5);
check("bitwise float", @() 1.5 & 1);
check("shift string", @() "a" << 1);
check("negate string", @() -"abc");
check("bitwise not float", function() { local f = 1.5; return ~f; });
check("call integer", function() { local n = 3; n(); });
check("call null", function() { local n = null; n(1, 2); });
check("call missing function", @() nosuchfunction(1));
function two(a, b) { return a + b; }
check("too many arguments", @() two(1, 2, 3));
check("too few arguments", @() two(1));
check("defaults still need the rest", @() (function(a, b = 1) { return a; })());
check("native argument type", @() array("three"));
check("native argument count", @() array());
check("native type of this", @() [].len.call("text"));
check("null key", function() { t[null] <- 1; });
check("new slot in array", function() { arr.x <- 1; });
check("new slot in integer", function() { local n = 1; n.x <- 1; });
class Point {
    x = 0;
}
check("new slot in instance", function() { Point().y <- 1; });
check("new slot over a field", function() { Point().x <- 1; });
check("delete from array", function() { delete arr[0]; });
check("delete missing", function() { delete t.none; });
check("iterate integer", function() { foreach (x in 5) {} });
check("iterate null", function() { foreach (x in null) {} });
check("clone integer", @() clone 5);
check("clone string", @() clone "s");
check("instanceof table", @() t instanceof t);
function forever(n) { return forever(n + 1) + 1; }
check("stack overflow", @() forever(0));
function nested() { return [1].map(@(v) nested())[0]; }
check("native stack overflow", nested);
check("assert", @() assert(1 == 2));
check("assert message", @() assert(false, "custom message"));
check("assert passes", @() assert(1));
check("pop empty", @() [].pop());
check("top empty", @() [].top());
check("insert out of range", @() [1].insert(3, 0));
check("remove out of range", @() [1].remove(1));
check("slice reversed", @() [1, 2, 3].slice(2, 1));
check("slice out of range", @() [1, 2, 3].slice(0, 4));
check("string slice reversed", @() "abc".slice(2, 1));
check("string slice out of range", @() "abc".slice(-4));
check("negative array size", @() array(-1));
check("negative resize", @() [].resize(-2));
check("string to integer", @() "abc".tointeger());
check("string to float", @() "x1".tofloat());
check("compare function result", @() [2, 1].sort(@(a, b) "bigger"));
check("rawget missing", @() t.rawget("zz"));
check("rawset null key", @() t.rawset(null, 1));
check("delegate loop", function() { local a = {}, b = {}; a.setdelegate(b); b.setdelegate(a); });
check("delegate of a number", function() { local x = delegate 5 : {}; });
check("acall without this", @() two.acall([]));
check("setroot of a native", @() print.setroot({}));
check("setroottable", @() setroottable(5));
