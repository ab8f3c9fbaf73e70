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

// A for loop whose step adds a small constant to its counter and whose test compares the
// counter runs both as one instruction; it must count exactly as the two would.
local counts = [];
local limit = 4;
for (local i = 0; i < limit; i++)
    counts.append(i);
for (local i = 10; i >= limit; i -= 3)
    counts.append(i);
for (local i = 0; i <= 254; i += 127)
    counts.append(i);
for (local i = 0; i < 300; i += 128)
    counts.append(i);
for (local i = 1; i > -3; i -= 2)
    counts.append(i);
print(counts.reduce(@(a, b) a + " " + b) + "\n");

// The counter and the limit may change in the body; continue goes to the step.
local seen = [];
local top = 6;
for (local i = 0; i < top; i++) {
    if (i == 1) {
        i += 1;
        continue;
    }
    if (i == 3)
        top = 5;
    seen.append(i);
}
print(seen.reduce(@(a, b) a + " " + b) + "\n");

// The counter wraps past the largest integer as an addition does; a float counter steps as
// a float; a float limit is compared with an integer counter.
local wrapped = 0;
for (local i = 2147483645; i > 0; i++)
    wrapped++;
local floats = [];
for (local f = 0.5; f < 3; f++)
    floats.append(f);
local below = 0;
for (local i = 0; i < 2.5; i++)
    below++;
print(wrapped + " " + floats.reduce(@(a, b) a + " " + b) + " " + below + "\n");

// A counter that is an instance steps and compares through its metamethods: a step down
// calls _sub, not _add with a negative amount.
local calls = [];
class Counter {
    value = 0;
    constructor(v) { value = v; }
    function _add(n) { calls.append("+" + n); return Counter(value + n); }
    function _sub(n) { calls.append("-" + n); return Counter(value - n); }
    function _cmp(other) { return value <=> other.value; }
}
local upTo = Counter(2);
for (local c = Counter(0); c < upTo; c++)
    calls.append(c.value);
for (local c = Counter(4); c > upTo; c -= 2)
    calls.append(c.value);
print(calls.reduce(@(a, b) a + " " + b) + "\n");
