// Integer keys from 0 up live in a table's array part while more than half of its slots are
// used: they come first in iteration, in key order. Slots holding null are slots all the same;
// keys move between the array part and the nodes as the table grows, empties and fills again.
function keysOf(t) {
    local line = "";
    foreach (k, v in t)
        line += " " + k;
    return line;
}

local reversed = {};
for (local i = 9; i >= 0; i--)
    reversed[i] <- i * i;
print("reversed:" + keysOf(reversed) + "\n");

// A null value is a slot: rawin sees it, len counts it, delete removes it.
local holes = {};
for (local i = 0; i < 8; i++)
    holes[i] <- (i % 2 == 0) ? null : i;
print("nulls: len " + holes.len() + ", rawin(2) " + holes.rawin(2) + ", value " + holes[2] + "\n");
delete holes[2];
print("deleted 2: len " + holes.len() + ", rawin(2) " + holes.rawin(2) + "\n");
try {
    print(holes[2]);
} catch (e) {
    print("reading 2 again: " + e + "\n");
}
holes[2] <- "back";
print("holes:" + keysOf(holes) + "\n");

// Sparse and negative keys stay in the nodes; the dense ones still come first.
local sparse = { [100000] = "far", [-1] = "minus" };
for (local i = 0; i < 6; i++)
    sparse[i] <- i;
local count = 0;
foreach (k, v in sparse)
    count++;
print("sparse: " + count + " slots, first six:");
local shown = 0;
foreach (k, v in sparse) {
    if (shown++ < 6)
        print(" " + k);
}
print(", far " + sparse[100000] + ", minus " + sparse[-1] + "\n");

// A float key is not the integer key of the same value.
local kinds = {};
kinds[1] <- "integer";
kinds[1.0] <- "float";
print("1 and 1.0: " + kinds[1] + " " + kinds[1.0] + " (" + kinds.len() + " slots)\n");

// Emptied, then filled with strings: the last integer keys move to the nodes and stay found.
local big = {};
for (local i = 0; i < 1000; i++)
    big[i] <- i;
for (local i = 0; i < 998; i++)
    delete big[i];
for (local i = 0; i < 200; i++)
    big["s" + i] <- i;
local sum = 0;
foreach (k, v in big)
    sum += v;
print("emptied: len " + big.len() + ", 998 " + big[998] + ", 999 " + big[999] + ", sum " + sum + "\n");
big[500] <- "again";
print("refilled 500: " + big[500] + ", rawin(0) " + big.rawin(0) + "\n");

// A clone has the same slots; changing it leaves the original alone.
local source = {};
for (local i = 0; i < 20; i++)
    source[i] <- i;
source.name <- "source";
local copy = clone source;
copy[3] = "three";
delete copy[4];
print("clone:" + keysOf(copy) + "\n");
print("source 3 " + source[3] + ", 4 " + source[4] + ", len " + source.len() + "\n");
print("keys " + source.keys().len() + ", values " + source.values().len() + "\n");

// Filling in any order ends with every key found and iteration in key order.
local shuffled = {};
local step = 7919;
for (local i = 0; i < 5000; i++)
    shuffled[(i * step) % 5000] <- i;
local inOrder = true, previous = -1;
foreach (k, v in shuffled) {
    if (k != previous + 1)
        inOrder = false;
    previous = k;
}
print("shuffled: len " + shuffled.len() + ", in order " + inOrder + ", 4999 -> " + shuffled[4999] + "\n");
