// if/else, while, do-while, for, foreach, switch, break, continue and blocks.
local v = 5;
if (v > 3) print("big\n"); else print("small\n");
if (v > 10) print("huge\n") else if (v > 4) print("medium\n") else print("tiny\n");
if (v == 5) { print("five\n"); }
if (0) print("never\n");
if (null) print("never\n"); else print("null is false\n");
if (0.0) print("never\n"); else print("0.0 is false\n");
if ("") print("empty string is true\n");
if (v > 0)
    if (v > 100) print("A\n");
    else print("B\n");
local i = 0;
while (i < 3) { print(i + " "); i++; }
print("\n");
local a = 0;
while (1) {
    if (a >= 2) break;
    a += 1;
}
print(a + "\n");
local d = 0;
do {
    print(d + "\n");
    d += 1;
} while (d > 100)
do d++; while (d < 5)
print(d + "\n");
for (local a = 0; a < 10; a += 1)
    print(a);
print("\n");
glob <- null;
for (glob = 0; glob < 3; glob += 1)
    print(glob + " ");
print("\n");
local n = 0;
for (;;) {
    if (++n == 4)
        break;
}
print(n + "\n");
for (local x = 0, y = 10; x < y; x += 3, y -= 3)
    print(x + "," + y + " ");
print("\n");
local odds = "";
for (local i = 0; i < 10; i++) {
    if (i % 2 == 0)
        continue;
    odds += i;
}
local w = 0, wsum = 0;
while (w < 10) {
    w++;
    if (w % 3)
        continue;
    wsum += w;
}
local dw = 0, dsum = 0;
do {
    dw++;
    if (dw == 2)
        continue;
    dsum += dw;
} while (dw < 4)
print(odds + " " + wsum + " " + dsum + "\n");
local pairs = 0;
for (local i = 0; i < 5; i++) {
    for (local j = 0; j < 5; j++) {
        if (j > i)
            break;
        pairs++;
    }
}
print(pairs + "\n");
local found = null;
foreach (idx, val in [5, 8, 13, 21]) {
    if (val % 2 == 0) {
        found = idx;
        break;
    }
}
local skipped = 0;
foreach (k, val in { a = 1, b = 2, c = 3 }) {
    if (val == 2)
        continue;
    skipped += val;
}
print(found + " " + skipped + "\n");
function classify(x) {
    local out = "";
    switch (x) {
        case 1:
            out += "one ";
        case 2:
            out += "two ";
            break;
        case "three":
            out += "three ";
            break;
        case 5:
        case 6:
            out += "five-or-six ";
            break;
        default:
            out += "default ";
    }
    return out;
}
print(classify(1) + "|" + classify(2) + "|" + classify("three") + "|" + classify(6) + "|" + classify(7) + "\n");
local offset = 10;
switch (12) {
    case offset + 1: print("eleven\n"); break;
    case offset + 2: print("twelve\n"); break;
}
switch (1.0) {
    case 1: print("numeric equality\n");
}
switch ("none") {
    case "some": print("never\n");
}
local sw = "";
for (local i = 0; i < 4; i++) {
    switch (i) {
        case 1:
            continue;
        case 2:
            sw += "two";
            break;
        default:
            sw += i;
    }
    sw += ",";
}
print(sw + "\n");
local s = 1;
{
    local s = 2;
    {
        local s = 3;
        print(s);
    }
    print(s);
}
print(s + "\n");
local p = 1; local q = 2;;
print(p + q + "\n");
