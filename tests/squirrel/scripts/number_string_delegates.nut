// Default delegates of integers, floats, bools and strings.
print((5).tofloat() + " " + typeof (5).tofloat() + " " + (5).tostring() + " " + typeof (5).tostring() + "\n");
print((5).tointeger() + " " + (65).tochar() + " " + (5).weakref() + " " + typeof (65).tochar() + "\n");
print((2.75).tointeger() + " " + (-2.75).tointeger() + " " + (2.5).tofloat() + " " + (2.5).tostring() + " " + (66.9).tochar() + " " + (1.5).weakref() + "\n");
// Floats beyond the integer range, infinities and NaN become the smallest integer; the largest
// float below 2^31 still converts exactly.
local huge = 1e30, infinite = 1.0 / 0, notANumber = infinite - infinite;
print(huge.tointeger() + " " + (-huge).tointeger() + " " + infinite.tointeger() + " " + notANumber.tointeger() + " " + (2147483520.0).tointeger() + " " + (-2147483648.0).tointeger() + "\n");
local byFloatIndex = [10, 20, 30];
print(byFloatIndex[1.9] + " " + ("abc"[2.2]).tochar() + "\n");
print(true.tofloat() + " " + false.tointeger() + " " + true.tostring() + " " + typeof true.tostring() + " " + false.weakref() + "\n");
local n = 42;
print(n.tostring().len() + " " + n.tofloat() / 4 + "\n");
local s = "Hello World";
print(s.len() + " " + s.toupper() + " " + s.tolower() + " " + s.tostring() + "\n");
print(s.slice(6) + "|" + s.slice(0, 5) + "|" + s.slice(-5) + "|" + s.slice(-5, -1) + "|" + s.slice(3, 3) + "|\n");
print(s.find("o") + " " + s.find("o", 5) + " " + s.find("xyz") + " " + s.find("") + " " + s.find("H", 1) + " " + s.find("d", 10) + "\n");
print("123".tointeger() + " " + "-45".tointeger() + " " + "ff".tointeger(16) + " " + "777".tointeger(8) + " " + "12abc".tointeger() + " " + "3.9".tointeger() + "\n");
print("2.5".tofloat() + " " + "1e2".tofloat() + " " + "7".tofloat() + " " + typeof "7".tofloat() + " " + typeof "7".tointeger() + "\n");
print("MiXeD 123!".tolower() + " " + "MiXeD 123!".toupper() + "\n");
local a = "x";
local b = a;
b += "y";
print(a + " " + b + " " + "".len() + "\n");
