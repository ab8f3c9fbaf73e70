// Calls through closures with free variables, lambdas and methods of tables.
local function makeAdder(n) {
    return function(x) { return x + n; };
}
local add3 = makeAdder(3);
local total = 0;
for (local i = 0; i < 8000000; i++)
    total = add3(total) - 2;
local twice = @(f, x) f(f(x));
for (local i = 0; i < 2000000; i++)
    total = twice(add3, total) - 6;
local counter = {
    n = 0,
    function step(d) { n += d; return this; }
};
for (local i = 0; i < 4000000; i++)
    counter.step(1);
local squares = [];
for (local i = 0; i < 100; i++)
    squares.append(i);
for (local round = 0; round < 8000; round++)
    total += squares.map(@(v) v * v).reduce(@(a, b) a + b) % 3;
print(total + " " + counter.n + "\n");
