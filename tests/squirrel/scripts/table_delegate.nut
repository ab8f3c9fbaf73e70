// Default delegate of tables and delegation through setdelegate and the delegate expression.
local t = { a = 1, b = 2 };
print(t.len() + " " + t.rawget("a") + " " + t.rawin("a") + " " + t.rawin("z") + "\n");
print((t.rawset("c", 3) == t) + " " + t.c + "\n");
print(t.rawdelete("a") + " " + t.rawdelete("zz") + " " + t.len() + "\n");
local keys = t.keys();
keys.sort();
local values = t.values();
values.sort();
print(keys[0] + keys[1] + " " + values[0] + values[1] + "\n");
local evens = { a = 1, b = 2, c = 3, d = 4 }.filter(@(k, v) v % 2 == 0);
local ek = evens.keys();
ek.sort();
print(evens.len() + " " + ek[0] + ek[1] + "\n");
print((t.clear() == t) + " " + t.len() + " " + t.keys().len() + "\n");
print(t.tostring().slice(0, 11) + "\n");
local parent = { greet = function() { return "hi from " + name; }, shared = 10 };
local child = { name = "child" };
print((child.setdelegate(parent) == child) + " " + (child.getdelegate() == parent) + "\n");
print(child.greet() + " " + child.shared + " " + ("shared" in child) + " " + child.rawin("shared") + "\n");
child.shared = 20;
print(child.shared + " " + parent.shared + " " + child.rawin("shared") + "\n");
try {
    child.nowhere = 1;
} catch (e) {
    print(e + "\n");
}
child.shared <- 30;
print(child.shared + " " + parent.shared + "\n");
try {
    child.rawget("greet");
} catch (e) {
    print(e + "\n");
}
child.setdelegate(null);
print(child.getdelegate() + " " + ("greet" in child) + "\n");
Entity <- {
}
function Entity::DoStuff()
{
    ::print(_name + "\n");
}
local newentity = {
    _name = "I'm the new entity"
}
newentity.setdelegate(Entity)
newentity.DoStuff();
local proto = { kind = "proto" };
local obj = delegate proto : { own = 1 };
print(obj.kind + " " + obj.own + " " + (obj.getdelegate() == proto) + "\n");
local a = { x = "a" }, b = { y = "b" }, c = { z = "c" };
b.setdelegate(a);
c.setdelegate(b);
print(c.x + c.y + c.z + " " + ("x" in c) + "\n");
local cc = clone c;
print(cc.x + " " + (cc.getdelegate() == b) + "\n");
local shadow = { len = function() { return "own len"; } };
print(shadow.len() + " " + shadow.rawget("len")() + "\n");
