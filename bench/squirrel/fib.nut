// Recursive calls: fib(30) makes 1.6 million calls.
function fib(n) {
    if (n < 2)
        return n;
    return fib(n - 1) + fib(n - 2);
}
print(fib(30) + "\n");
