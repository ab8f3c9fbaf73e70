// Operations with number results written over a variable that held an object: the result is
// right and the object is freed at once (its weak reference reads null), for every operation
// that writes a number or a bool, with integer and float operands.
local seen = {};
function watch(name) {
    local object = { name = name };
    seen[name] <- object.weakref();
    return object;
}
local i = 7, j = 3, f = 2.5, g = 0.5;
local results = [];
function check(name, value) {
    results.append(name + "=" + value + (seen[name] == null ? "" : " (still alive)"));
}

local v = watch("add");
v = i + j;
check("add", v);
v = watch("addf");
v = f + i;
check("addf", v);
v = watch("sub");
v = i - j;
check("sub", v);
v = watch("subf");
v = f - g;
check("subf", v);
v = watch("mul");
v = i * j;
check("mul", v);
v = watch("mulk");
v = f * 4;
check("mulk", v);
v = watch("div");
v = i / j;
check("div", v);
v = watch("mod");
v = i % 4;
check("mod", v);
v = watch("inc");
v = i + 1;
check("inc", v);
v = watch("incf");
v = f - 1;
check("incf", v);
v = watch("neg");
v = -i;
check("neg", v);
v = watch("negf");
v = -f;
check("negf", v);
v = watch("bitnot");
v = ~i;
check("bitnot", v);
v = watch("xor");
v = i ^ j;
check("xor", v);
v = watch("shl");
v = i << 2;
check("shl", v);
v = watch("lt");
v = i < j;
check("lt", v);
v = watch("ge");
v = f >= g;
check("ge", v);
v = watch("eq");
v = i == 7;
check("eq", v);
v = watch("cmp");
v = i <=> j;
check("cmp", v);
foreach (line in results)
    print(line + "\n");

// A variable that is both an operand and the target keeps working when it holds a number.
local n = 5;
n = n * n - n;
n = -n;
print(n + "\n");
