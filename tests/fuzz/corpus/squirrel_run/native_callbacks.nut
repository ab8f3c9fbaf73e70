// Native functions calling back into scripts: library callbacks, errors inside them, nesting.
local a = [5, 3, 9, 1, 7];
local doubled = a.map(@(v) v * 2);
local sum = doubled.reduce(@(x, y) x + y);
local odd = a.filter(@(i, v) v % 2 == 1);
a.sort(@(x, y) y <=> x);
a.apply(@(v) v + 1);
local caught = 0;
for (local i = 0; i < 20; i++) {
    try { a.map(@(v) v < 6 ? v : missing); } catch (e) { caught++; }
}
function nest(depth) {
    return depth == 0 ? [1].map(@(v) v) : [depth].map(@(v) nest(v - 1)[0]);
}
local deep = nest(40);
local withDefaults = a.map(function(v, extra = 3) { return v + extra; });
local varargs = a.map(function(...) { return vargv.len(); });
local gen = function() { yield 1; yield 2; };
local g = gen();
local viaCall = (@(x) x * 3).call(this, 4) + sum.tostring().len();
a.sort(@(x, y) x < y ? 1 : x > y ? -1 : 0);
print(sum + " " + caught + " " + deep + "\n");
return [sum, odd.len(), caught, deep, withDefaults, varargs, resume g, viaCall, a];
