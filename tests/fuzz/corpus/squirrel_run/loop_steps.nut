// For loops whose step and test run as one instruction, beside the forms that do not.
local total = 0;
local limit = 40;
for (local i = 0; i < 50; i++) total += i;
for (local i = 50; i > 0; i -= 3) total -= i;
for (local i = 0; i <= limit; i += 127) total += i;
for (local i = limit; i >= -limit; i -= 128) total = total ^ i;
for (local i = 2147483600; i < 2147483647; i += 47) total++;
for (local i = 0.5; i < 9; i += 2) total += i;
for (local i = 0; i < 7.5; i++) { if (i == 3) continue; total += i; }
for (local i = 0; i < limit; i++) { limit -= 2; i += 1; }
class Counter {
    n = 0;
    constructor(start) { n = start; }
    function _add(d) { return Counter(n + d); }
    function _sub(d) { return Counter(n - d); }
    function _cmp(o) { local m = typeof o == "instance" ? o.n : o; return n < m ? -1 : n > m ? 1 : 0; }
}
for (local c = Counter(0); c < Counter(5); c += 1) total += c.n;
for (local c = Counter(9); c > Counter(2); c -= 2) total += c.n;
try { for (local i = "a"; i < 3; i++) total++; } catch (e) { total--; }
print(total + "\n");
return total;
