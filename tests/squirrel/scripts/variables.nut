// Locals, globals (slots of the root table), `this`, `::` and assignment forms.
g <- 1;
print(g + " " + ::g + " " + getroottable().g + " " + this.g + "\n");
g = 2;
print(g + "\n");
local g = 10;
print(g + " " + ::g + "\n");
::g = 3;
print(::g + " " + this.g + " " + g + "\n");
{
    local g = 20;
    print(g + "\n");
}
print(g + "\n");
function readCaptured() { return g; }
function readGlobal() { return ::g; }
print(readCaptured() + " " + readGlobal() + "\n");
function setGlobal(v) { ::h <- v; }
setGlobal(5);
print(h + "\n");
local env = { foo = 1 };
function setFoo(v) { foo = v; }
function getFoo() { return foo; }
setFoo.call(env, 7);
::foo <- 0;
setFoo.call({}, 9);
print(env.foo + " " + ::foo + " " + getFoo.call(env) + " " + getFoo.call({}) + "\n");
local x, y, z;
x = y = z = 4;
local q = (x = 5) + 1;
print(x + " " + y + " " + z + " " + q + "\n");
local t = { n = 1, arr = [1, 2, 3] };
t.n += 10;
t.arr[1] *= 5;
t["n"]++;
++t.arr[0];
t.arr[2]--;
print(t.n + " " + t.arr[0] + " " + t.arr[1] + " " + t.arr[2] + "\n");
local old = t.n++;
print(old + " " + t.n + "\n");
local r = (t.n = 100);
print(r + " " + (t.arr[0] = "z") + " " + t.arr[0] + "\n");
local key = "n";
t[key] -= 1;
t[key] <- t[key] * 2;
print(t.n + "\n");
cnt <- 0;
cnt += 2;
cnt++;
++cnt;
function bump() { cnt++; cnt += 10; return cnt; }
print(cnt + " " + bump() + " " + cnt + "\n");
local counter = 0;
local inc = function() { counter++; return counter; };
print(inc() + " " + inc() + " " + counter + "\n");
local u;
print(u + " " + (typeof u) + "\n");
local v1 = 1, v2, v3 = v1 + 1;
print(v1 + " " + v2 + " " + v3 + "\n");
