// Relational, logical, ternary, in, typeof and comma operators.
print((1 < 2) + " " + (2 < 1) + " " + (1 <= 1) + " " + (2 >= 3) + " " + (3 > 2) + "\n");
print((1 == 1.0) + " " + (1 != 1.0) + " " + (0.5 < 1) + " " + (2 > 1.5) + "\n");
print(("abc" < "abd") + " " + ("abc" < "ab") + " " + ("B" < "a") + " " + ("a" == "a") + " " + ("" < "a") + "\n");
print((1 <=> 2) + " " + (2 <=> 2) + " " + (3 <=> 2) + " " + ("b" <=> "a") + " " + (1.5 <=> 1) + "\n");
print((null == null) + " " + (null == 0) + " " + (null == false) + " " + (0 == false) + " " + ("1" == 1) + "\n");
local t1 = {}, t2 = {}, t3 = t1;
print((t1 == t2) + " " + (t1 == t3) + " " + (t1 != t2) + " " + ([] == []) + "\n");
print((null < 1) + " " + (1 > null) + " " + (null <=> "x") + " " + (true > false) + " " + (true == 1) + "\n");
local n1 = 3, n2 = 3.0, s1 = "abc", s2 = "ab" + "c";
print((n1 == n2) + " " + (s1 == s2) + " " + (n1 < n2) + " " + (n1 <= n2) + " " + (s1 >= s2) + "\n");
print((1 && 2) + " " + (0 && 2) + " " + (null && 2) + " " + (1 || 2) + " " + (0 || 2) + " " + (null || "x") + "\n");
print((!null) + " " + (!0) + " " + (!1) + " " + (!"") + " " + (!0.0) + " " + (![]) + "\n");
local log = [];
function touch(v) { log.append(v); return v; }
touch(0) && touch(1);
touch(1) || touch(2);
touch(null) || touch(3);
touch(4) && touch(5);
foreach (v in log) print(v + " ");
print("\n");
print((1 ? "yes" : "no") + " " + (0 ? "yes" : "no") + " " + (null ? 1 : 2) + "\n");
local n = 5;
print((n < 0 ? "neg" : n == 0 ? "zero" : "pos") + "\n");
local t = { a = 1, [2] = "two" };
print(("a" in t) + " " + ("b" in t) + " " + (2 in t) + " " + (0 in [5]) + " " + (1 in [5]) + " " + (2 in "abc") + "\n");
print((null && "a" in t) + "\n");
print(typeof null + " " + typeof 1 + " " + typeof 1.5 + " " + typeof true + " " + typeof "s" + " " + typeof {} + " " + typeof [] + " " + typeof print + " " + typeof function() {} + "\n");
local j = 0, k = 0;
for (local i = 0; i < 10; i++, j++) {
    k = i + j;
}
print(k + "\n");
local a, k2;
a = (k2 = 1, k2 + 2);
print(a + " " + k2 + "\n");
if (1 < 2 && "x" != "y" || false)
    print("compound condition\n");
local c = 0;
while (c < 3 && c != 10) c++;
print(c + "\n");
