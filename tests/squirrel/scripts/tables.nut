// Table constructors, slot creation and assignment, delete, in, clone and iteration.
local t = {
    a = 1
    b = "two",
    [3] = "three"
    ["key with spaces"] = 4,
    "json": 5,
    function method(x) { return x * 2; }
    nested = { inner = [1, 2] }
};
print(t.a + " " + t.b + " " + t[3] + " " + t["key with spaces"] + " " + t.json + " " + t.method(21) + " " + t.nested.inner[1] + "\n");
print(t.len() + "\n");
local keys = [];
foreach (k, v in t)
    keys.append(k + "");
keys.sort();
foreach (k in keys)
    print(k + ",");
print("\n");
local e = {};
e.x <- 1;
e["y"] <- 2;
e[10] <- "ten";
e[1.5] <- "float key";
e[true] <- "bool key";
local keyTable = {};
e[keyTable] <- "table key";
print(e.x + " " + e.y + " " + e[10] + " " + e[1.5] + " " + e[true] + " " + e[keyTable] + "\n");
print((1 in e) + " " + (10 in e) + " " + (10.0 in e) + " " + (keyTable in e) + " " + ({} in e) + "\n");
e.x = 5;
e.x <- 6;
print(e.x + "\n");
try {
    e.nope = 1;
} catch (err) {
    print(err + "\n");
}
print(delete e.x);
print(" " + ("x" in e) + "\n");
print(delete e[10] + "\n");
try {
    delete e.missing;
} catch (err) {
    print(err + "\n");
}
a <- {
    test1 = 1234
    deleteme = "now"
}
delete a.test1
print(delete a.deleteme);
print(" " + a.len() + "\n");
local orig = { n = 1, list = [1] };
local copy = clone orig;
copy.n = 2;
copy.list.append(2);
print(orig.n + " " + copy.n + " " + orig.list.len() + " " + (orig.list == copy.list) + " " + (orig == copy) + "\n");
local r1 = {};
local r2 = r1;
r2.k <- 1;
print(r1.k + "\n");
local squares = {};
for (local i = 0; i < 5; i++)
    squares[i] <- i * i;
local sum = 0;
foreach (k, v in squares)
    sum += k * 100 + v;
print(sum + " " + squares.len() + "\n");
local big = {};
for (local i = 0; i < 1000; i++)
    big["k" + i] <- i;
for (local i = 0; i < 1000; i += 2)
    delete big["k" + i];
local total = 0;
foreach (k, v in big)
    total += v;
print(big.len() + " " + total + " " + ("k2" in big) + " " + ("k3" in big) + "\n");
for (local i = 0; i < 1000; i += 2)
    big["k" + i] <- -i;
total = 0;
foreach (k, v in big)
    total += v;
print(big.len() + " " + total + " " + big.k998 + "\n");
local empty = {};
local visited = 0;
foreach (k, v in empty)
    visited++;
print(visited + " " + empty.len() + "\n");
