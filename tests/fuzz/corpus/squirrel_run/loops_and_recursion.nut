function fib(n) {
    if (n < 2) return n;
    return fib(n - 1) + fib(n - 2);
}
local sum = 0;
for (local i = 0; i < 1000; i++) {
    sum += i % 7;
}
while (true) {
    sum++;
}
return fib(30) + sum;
