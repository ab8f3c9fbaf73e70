// Literal forms, comments and identifiers.
print(34 + "\n");
print(0xFF + " " + 0x0012 + "\n");
print(0xff00a120 + "\n");
print(0753 + " " + 075 + "\n");
print('a' + " " + 'w' + "\n");
print('\n' + " " + '\x41' + " " + '\'' + "\n");
print(0x7fffffff + 1 + "\n");
print(2147483647 + "\n");
print(1.52 + "\n");
print(1.e2 + "\n");
print(1.e-2 + "\n");
print(2.5e3 + " " + 0.234 + "\n");
print(typeof 1.0 + " " + typeof 1 + "\n");
print(1.0 + " " + 0.1 + " " + 3.14159265 + " " + 1e10 + "\n");
print("tab[\t] quote[\"] apostrophe[\'] backslash[\\]\n");
print("hex[\x41\x62] unicode[\u00e9] bell[" + "\a".len() + "]\n");
print("zero byte: " + "a\0b".len() + "\n");
print("escapes: " + "\b\r\v\f".len() + "\n");
print(@"verbatim \n stays" + "\n");
print(@"doubled ""quotes""" + "\n");
print(@"two
lines" + "\n");
/* a block
   comment */ print("after block comment\n");
// print("not printed\n");
# print("not printed\n");
print("line " + __LINE__ + "\n");
print(__FILE__ + "\n");
local foo = 1, Foo = 2, fOo = 3, _under_score9 = 4;
print(foo + Foo * 10 + fOo * 100 + _under_score9 * 1000 + "\n");
local a = 1; local b = 2
local c = a +
    b
print(c + "\n");
print(compilestring("\xEF\xBB\xBFreturn 1 +\r\n\xEF\xBB\xBF 2;")() + "\n");
