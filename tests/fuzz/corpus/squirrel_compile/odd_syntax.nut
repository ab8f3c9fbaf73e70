const LIMIT = 10;
enum Kinds { Rock = 1, Planet, Hole = "h" }
local f = function(a, b = 2, ...) { return vargv.len() + a + b; };
local l = @(x) x * LIMIT;
local x = 0x7fffffff + 'c' + 1.5e3 + 010;
local v = @"verbatim ""quoted"" text";
switch (x) { case 1: break; default: x = -x; }
do { x = x >> 1; } while (x > 100)
local o = { [1] = "one", "two": 2 };
return typeof f == "function" ? ::LIMIT : base;
