// try/catch and throw: any value can be thrown, and errors raised in native functions or in
// script code called by native functions reach the nearest catch.
try { throw "plain"; } catch (e) { print(e + "\n"); }
try { throw 42; } catch (e) { print(typeof e + " " + e + "\n"); }
try { throw { code = 7 }; } catch (e) { print(e.code + "\n"); }
try { throw null; } catch (e) { print(e + "\n"); }
try {
    try {
        throw "inner";
    } catch (e) {
        print("caught " + e + "\n");
        throw e + " again";
    }
} catch (e) {
    print("outer caught " + e + "\n");
}
function level3() { local t = {}; return t.missing; }
function level2() { return level3() + 1; }
function level1() {
    try {
        return level2();
    } catch (e) {
        return "level1 caught: " + e;
    }
}
print(level1() + "\n");
local state = "start";
try {
    state = "in try";
    throw "x";
    state = "never";
} catch (e) {
    state += " then catch";
}
print(state + "\n");
local n = 0;
for (local i = 0; i < 5; i++) {
    try {
        if (i == 1)
            continue;
        if (i == 3)
            break;
        n += 10;
    } catch (e) {
    }
}
print(n + "\n");
try {
    for (local i = 0; i < 3; i++) {
        try {
            break;
        } catch (e) {
        }
    }
    throw "after loop";
} catch (e) {
    print(e + "\n");
}
function ret() {
    try {
        return "from try";
    } catch (e) {
    }
    return "after";
}
print(ret() + "\n");
try { ret(); throw "trap of the returned function is gone"; } catch (e) { print(e + "\n"); }
local arr = [3, 1, 2];
try {
    arr.sort(function(a, b) { throw "cmp failed"; });
} catch (e) {
    print(e + " " + arr[0] + arr[1] + arr[2] + "\n");
}
try { [1, 2].map(@(v) v.nope); } catch (e) { print(e + "\n"); }
function thrower() { throw "from call"; }
try { thrower.call(this); } catch (e) { print("call: " + e + "\n"); }
try { thrower.pcall(this); } catch (e) { print("pcall: " + e + "\n"); }
try { thrower.acall([this]); } catch (e) { print("acall: " + e + "\n"); }
try { local a = []; a.pop(); } catch (e) { print(e + "\n"); }
try {
    try { throw 1; } catch (e) { throw e + 1; }
} catch (e) {
    print(e + "\n");
}
try { compilestring("local = 1"); } catch (e) { print(e + "\n"); }
function recurse(k) {
    if (k == 0)
        throw "bottom";
    return [k].map(@(v) recurse(v - 1))[0];
}
try { recurse(5); } catch (e) { print(e + "\n"); }
local e = "outer e";
try { throw "inner e"; } catch (e) { }
print(e + "\n");
local handlers = [];
for (local i = 0; i < 3; i++) {
    try {
        throw i * 10;
    } catch (err) {
        handlers.append(@() err);
    }
}
foreach (h in handlers) print(h() + " ");
print("\n");
