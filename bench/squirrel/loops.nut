// Integer and float arithmetic in tight loops.
local sum = 0;
for (local i = 0; i < 30000000; i++) {
    sum += i % 7;
    sum = sum ^ (i << 1);
}
print(sum + "\n");
local x = 0.0;
local i = 0;
while (i < 15000000) {
    x = x * 0.5 + i * 0.25;
    ++i;
}
print(x + "\n");
