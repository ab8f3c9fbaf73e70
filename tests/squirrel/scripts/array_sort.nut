// Sorting arrays in place: stability, comparisons that raise or change the array, weak
// references read through, and sizes around the merge boundaries.
function show(a) {
    local text = "";
    foreach (i, v in a)
        text += (i > 0 ? " " : "") + v;
    return text;
}

// Equal keys keep their order; a comparison may answer with a bool, an integer or a float.
local pairs = [[2, "a"], [1, "b"], [2, "c"], [1, "d"], [0, "e"], [2, "f"]];
pairs.sort(@(x, y) x[0] <=> y[0]);
print(show(pairs.map(@(p) p[1])) + "\n");
print(show([5, 3, 9, 1].sort(@(x, y) x > y)) + " " + show([0.5, -2, 7].sort(@(x, y) x - y)) + "\n");

// Every size up to a few merges, in reverse order, comes out sorted and complete.
local sizesOk = true;
for (local n = 0; n < 40; n++) {
    local a = [];
    for (local i = n; i > 0; i--)
        a.append(i % 7 * 100 + i);
    a.sort();
    for (local i = 1; i < n; i++) {
        if (a[i - 1] > a[i])
            sizesOk = false;
    }
    if (a.len() != n)
        sizesOk = false;
}
print(sizesOk + "\n");

// A comparison that raises leaves the array as it was.
local untouched = [3, 1, 2];
try {
    untouched.sort(function(x, y) {
        if (x == 2 || y == 2)
            throw "no twos";
        return x <=> y;
    });
} catch (e) {
    print(e + ": " + show(untouched) + "\n");
}

// A comparison that resizes the array is an error; the array keeps what the comparison did.
local shrinking = [4, 3, 2, 1];
try {
    shrinking.sort(function(x, y) {
        shrinking.pop();
        return x <=> y;
    });
} catch (e) {
    print(e + ": " + shrinking.len() + "\n");
}

// Items held through weak references are compared by their targets and stay weak.
local first = { rank = 2, name = "first" };
local second = { rank = 1, name = "second" };
local weak = [first.weakref(), second.weakref()];
weak.sort(@(x, y) x.rank <=> y.rank);
print(weak[0].name + " " + weak[1].name);
first = null;
print(" " + (weak[1] == null) + "\n");

// Objects in the array survive the moves and are released once the array goes.
local watched = { name = "watched" };
local seen = { target = watched.weakref() };
local objects = [{ v = 3 }, watched, { v = 1 }];
watched.v <- 2;
watched = null;
objects.sort(@(x, y) x.v <=> y.v);
print(show(objects.map(@(o) o.v)) + " " + (seen.target != null));
objects = null;
print(" " + (seen.target == null) + "\n");
