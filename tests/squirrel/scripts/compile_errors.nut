// Compile errors: compilestring raises the compiler's message.
function compileError(source) {
    try {
        compilestring(source);
        return "compiled";
    } catch (e) {
        return e;
    }
}
local cases = [
    "local x = ;",
    "local x = 1 local y = 2",
    "print(1",
    "1 = 2",
    "local a; a <- 1",
    "break",
    "continue",
    "while (1) { local f = function() { break; }; }",
    "local s = \"abc",
    "local s = \"ab\ncd\"",
    "local s = \"\\q\"",
    "local s = \"\\x\"",
    "local n = 09",
    "local c = ''",
    "local c = 'ab'",
    "function f(a = 1, b) {}",
    "/* open comment",
    "const c = x",
    "delete 1",
    "1++",
    "enum E { a } local v = E.b",
    "local a = 1 ..",
    "local 5 = 1",
    "if (1) {",
    "x <- [1, 2",
    "foreach (a b) {}",
    "local t = { a = 1, 5 }",
    "switch (1) { default: break; case 1: }",
    "return 1 2",
    "local x = 0x",
    "local x = 1e",
    "local x = $",
    "try {} x = 1",
    "function (a) {}",
    "local f = function(a b) {}",
    "rawcall(print)",
    "local x = 1; local y = 2; x + y",
    "x <- @\"verbatim\nacross lines\"",
    "class { x = 1 }",
    "class A { x }",
    "class A { 5 = 1 }",
    "class A { function() {} }",
    "class A { constructor }",
    "class A </ x = 1 { }",
    "class A extends { }",
    "class A { x = 1 ",
    "local A = 1; class A {}",
    "local base = 1",
    "base.x = 1",
    "yield",
    "local g = resume",
    "class A { static function f() {} static x = 1; </ doc = \"d\" /> y = 2; [\"k\" + 1] = 3, z = 4 }",
];
local deep = "return ";
for (local i = 0; i < 1000; i++)
    deep += "(";
cases.append(deep);
foreach (source in cases)
    print(compileError(source) + "\n");
