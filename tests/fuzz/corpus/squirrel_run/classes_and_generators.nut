class Counter {
    count = 0;
    constructor(start) { count = start; }
    function bump() { return ++count; }
}
local c = Counter(3);
c.bump();
function numbers(n) { for (local i = 0; i < n; i++) yield i; }
local total = 0;
foreach (v in numbers(10)) total += v;
local t = { a = 1, b = [1, 2.5, "x"] };
t.c <- t.b.map(@(x) typeof x);
try { throw "oops"; } catch (e) { t.error <- e; }
return total + c.count;
