// Iteration order of tables and classes: the integer keys of a table's array part come first,
// in key order, then the slots in the order of the table's node array, which follows from the
// keys' hashes, the table's size and its history of insertions and removals, not from the order
// the slots were created in.
function keysOf(container) {
    local line = "";
    foreach (k, v in container)
        line += " " + k;
    return line;
}
function show(label, container) {
    print(label + ":" + keysOf(container) + "\n");
}

// A literal is sized for its slots up front; the same slots added one at a time grow the table
// from 4 nodes and land elsewhere.
local literal = { alpha = 1, beta = 2, gamma = 3, delta = 4, epsilon = 5 };
show("literal", literal);
local added = {};
foreach (k in ["alpha", "beta", "gamma", "delta", "epsilon"])
    added[k] <- 0;
show("added", added);
show("small literal", { x = 1, y = 2, z = 3 });
show("empty literal filled", (function() { local t = {}; t.z <- 1; t.y <- 2; t.x <- 3; return t; })());

// Numbers hash to their value; floats are truncated, bools are 0 and 1. Key 0 alone fills an
// array part of one slot; the other integers are too sparse for one.
local numbers = {};
foreach (n in [9, -1, 4, 17, 0, 12, 100, 3, 2147483647, -2147483648])
    numbers[n] <- n;
show("integers", numbers);
local mixed = {};
mixed[2.75] <- 1;
mixed[true] <- 2;
mixed[2] <- 3;
mixed[false] <- 4;
mixed["2"] <- 5;
mixed[-0.5] <- 6;
print("mixed:");
foreach (k, v in mixed)
    print(" " + typeof k + "=" + v);
print("\n");

// Growth: twenty keys inserted one by one, then the same keys in reverse.
local grown = {};
for (local i = 0; i < 20; i++)
    grown["k" + i] <- i;
show("grown", grown);
local reversed = {};
for (local i = 19; i >= 0; i--)
    reversed["k" + i] <- i;
show("reversed", reversed);

// Removals: emptied nodes are reused in place, and a table a quarter full shrinks.
local d = { one = 1, two = 2, three = 3, four = 4, five = 5, six = 6 };
delete d.two;
delete d.five;
show("after deletes", d);
d.seven <- 7;
d.two <- 2;
show("refilled", d);
for (local i = 0; i < 6; i++)
    grown.rawdelete("k" + i);
show("grown minus six", grown);
for (local i = 6; i < 16; i++)
    delete grown["k" + i];
show("grown shrunk", grown);
grown.clear();
foreach (k in ["q", "r", "s"])
    grown[k] <- 1;
show("cleared refill", grown);

// A clone keeps the node count and re-inserts in the original's order.
local original = {};
foreach (k in ["m", "n", "o", "p", "mm", "nn"])
    original[k] <- 1;
delete original.n;
show("original", original);
show("clone", clone original);

// Keys longer than 32 bytes are hashed on a sample of their bytes; bytes above 127 count as
// negative.
local long = {};
long["a long key that runs past thirty two bytes, one"] <- 1;
long["a long key that runs past thirty two bytes, two"] <- 2;
long["caf\xe9"] <- 3;
long["na\xefve"] <- 4;
long["plain"] <- 5;
print("long:");
foreach (k, v in long)
    print(" " + v);
print("\n");

// keys(), values() and printing follow the same order.
local kv = { red = 1, green = 2, blue = 3, cyan = 4, magenta = 5 };
print("keys: " + kv.keys().reduce(@(a, b) a + " " + b) + "\n");
print("values: " + kv.values().reduce(@(a, b) a + " " + b) + "\n");

// Class members live in a table of their own, started at 4 nodes; a derived class starts from
// a copy of its base's table.
class Shape {
    name = "shape";
    sides = 0;
    function area() { return 0; }
    function describe() { return name; }
    static count = 0;
}
show("class", Shape);
class Square extends Shape {
    side = 1;
    function area() { return side * side; }
    function corners() { return 4; }
}
show("derived", Square);
Square.extra <- function() {};
show("derived grown", Square);
print("instance values:");
local sq = Square();
sq.side = 3;
foreach (k, v in Square)
    if (typeof v != "function")
        print(" " + k + "=" + sq[k]);
print("\n");

// Attribute tables are literals.
class Tagged </ author = "me", version = 2, stable = true, tags = ["a"] /> {
    </ min = 0, max = 10, step = 1, unit = "px", label = "size" />
    size = 5;
}
show("class attributes", Tagged.getattributes(null));
show("member attributes", Tagged.getattributes("size"));
