// Constants and enumerations are resolved at compile time from the constant table.
const foobar = 100;
const floatbar = 1.2;
const stringbar = "I'm a constant string";
const negative = -5;
print(foobar + " " + floatbar + " " + stringbar + " " + negative + "\n");
local xc = foobar * 2;
print(xc + "\n");
enum Stuff {
    first, //this will be 0
    second, //this will be 1
    third //this will be 2
}
print(Stuff.first + " " + Stuff.second + " " + Stuff.third + " " + typeof Stuff.first + "\n");
enum Mixed { first = 10, second = "string", third = 1.2, fourth }
print(Mixed.first + " " + Mixed.second + " " + Mixed.third + " " + Mixed.fourth + "\n");
enum Lines {
    a = 1
    b = 2
}
print((Lines.a + Lines.b) + "\n");
local e = Stuff;
print(e.third + " " + typeof e + "\n");
shadowed <- "global";
const shadowed = "constant";
print(shadowed + " " + ::shadowed + "\n");
function useConst() { return foobar + Stuff.third; }
print(useConst() + "\n");
print(compilestring("return foobar + 1;")() + "\n");
print(getconsttable().foobar + " " + getconsttable().Stuff.second + "\n");
getconsttable()["runtimeconst"] <- 42;
print(compilestring("return runtimeconst;")() + "\n");
delete getconsttable()["runtimeconst"];
runtimeconst <- "global now";
print(compilestring("return runtimeconst;")() + "\n");
local foobar = 1;
print(foobar + "\n");
local oldConsts = setconsttable({ fresh = "new table" });
print(compilestring("return fresh;")() + " " + getconsttable().fresh + " " + (oldConsts.foobar) + "\n");
setconsttable(oldConsts);
print(compilestring("return foobar;")() + "\n");
