// Generators driving foreach, resumed directly, and threads suspended and woken up.
function range(n) {
    for (local i = 0; i < n; i++)
        yield i;
}
local total = 0;
foreach (v in range(3000000))
    total += v;
local g = range(1500000);
local v;
while ((v = resume g) != null)
    total -= v;
local worker = newthread(function(n) {
    local acc = 0;
    for (local i = 0; i < n; i++)
        acc += suspend(i);
    return acc;
});
local x = worker.call(900000);
while (worker.getstatus() == "suspended")
    x = worker.wakeup(x);
print(total + " " + x + "\n");
