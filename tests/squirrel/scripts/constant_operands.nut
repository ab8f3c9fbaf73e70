// Arithmetic and bitwise operations whose right operand is a number literal behave as they do
// with the number in a variable: types, wrapping, errors and metamethods.
local results = [];
foreach (x in [7, -7, 0, 2147483647, -2147483648, 2.5, -0.5]) {
    results.append(x * 3);
    results.append(x * 0.5);
    results.append(x / 2);
    results.append(x / 2.0);
    results.append(x % 3);
    results.append(x % -3);
    results.append(x % 1.5);
}
print(results.reduce(@(a, b) a + " " + b) + "\n");

local bits = [];
foreach (x in [0, 1, -1, 0x7FFFFFFF, -2147483648, 0x1234]) {
    bits.append(x & 0xFF);
    bits.append(x | 0x100);
    bits.append(x ^ -1);
    bits.append(x << 4);
    bits.append(x >> 1);
    bits.append(x >>> 28);
    bits.append(x << 33);
}
print(bits.reduce(@(a, b) a + " " + b) + "\n");

local minimum = -2147483648;
print((minimum / -1) + " " + (minimum % -1) + " " + (minimum * -1) + "\n");

function attempt(f) {
    try {
        return f();
    } catch (e) {
        return "error: " + e;
    }
}
print(attempt(@() 5 / 0) + "\n");
local five = 5;
print(attempt(@() five / 0) + "\n");
print(attempt(@() five % 0) + "\n");
print(attempt(@() five / 0.0) + "\n");
print(attempt(@() 1.5 & 1) + "\n");
local half = 1.5;
print(attempt(@() half & 1) + "\n");
print(attempt(@() half << 2) + "\n");
local text = "ab";
print(attempt(@() text * 2) + "\n");
print(attempt(@() text % 2) + "\n");
print(attempt(@() text >> 1) + "\n");
print(attempt(@() null * 2) + "\n");

class Scaled {
    value = 0;
    constructor(v) { value = v; }
    function _mul(o) { return Scaled(value * o); }
    function _div(o) { return Scaled(value / o); }
    function _modulo(o) { return Scaled(value % o); }
    function _tostring() { return "Scaled(" + value + ")"; }
}
local s = Scaled(10);
print((s * 3) + " " + (s / 4) + " " + (s % 4) + " " + (s * 0.5) + "\n");
print(attempt(@() s & 1) + "\n");

// Constants past the 256th go through a register.
local source = "local x;";
for (local i = 0; i < 300; i++)
    source += " x = \"c" + i + "\";";
source += " local n = 45; return (n * 3) + \" \" + (n % 7) + \" \" + (n >> 2) + x;";
print(compilestring(source)() + "\n");
