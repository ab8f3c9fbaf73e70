// Array append, indexed access and foreach iteration.
local a = [];
for (local i = 0; i < 1000000; i++)
    a.append(i);
local total = 0;
for (local round = 0; round < 5; round++) {
    foreach (v in a)
        total += v;
    for (local i = 0; i < a.len(); i++)
        total -= a[i];
}
for (local i = 0; i < 1000000; i++)
    a[i] = a[i] + 1;
a.sort(@(x, y) y <=> x);
print(total + " " + a[0] + " " + a.len() + "\n");
