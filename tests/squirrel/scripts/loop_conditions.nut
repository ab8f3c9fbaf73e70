// Loop conditions and comparisons with integer constants, in every position the compiler
// treats on its own: values, jumps, loops whose condition is repeated at their end.
local order = [];
for (local i = 0; i < 5; i++)
    order.append(i);
for (local i = 5; i >= 0; i -= 2)
    order.append(i);
for (local i = 3; i <= 3; i++)
    order.append("le" + i);
for (local i = 3; i > 3; i--)
    order.append("never");
local w = 0;
while (w < 4) {
    w++;
    if (w == 2)
        continue;
    order.append("w" + w);
}
local d = 0;
do {
    d++;
} while (d < 3);
order.append("d" + d);
for (local i = 0;; i++) {
    if (i > 2)
        break;
    order.append("open" + i);
}
print(order.reduce(@(a, b) a + " " + b) + "\n");

// Comparisons as values, with floats, and with values of other types.
local values = [];
foreach (x in [-1, 0, 1, 0.5, 1.0, 2.5])
    values.append((x < 1) + "/" + (x <= 1) + "/" + (x > 1) + "/" + (x >= 1));
print(values.reduce(@(a, b) a + " " + b) + "\n");
local nan = 0.0 / 0.0;
local rounds = 0;
while (nan < 1)
    rounds++;
for (local f = 0.0; f < 2; f += 0.5)
    rounds += 10;
print(rounds + " " + (nan < 1) + " " + (nan >= 1) + " " + (nan > 1) + " " + (nan <= 1) + "\n");
try {
    for (local s = "a"; s < 3; s += "a")
        print("unreachable\n");
} catch (e) {
    print("error: " + e + "\n");
}

// Past 256 constants a comparison loads its constant into a register instead.
local source = "local x;";
for (local i = 0; i < 300; i++)
    source += " x = \"c" + i + "\";";
source += " local n = 0; for (local i = 0; i < 5; i++) n++; return n + \" \" + (n < 6) + x;";
print(compilestring(source)() + "\n");
