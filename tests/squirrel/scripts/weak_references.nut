// Weak references: weakref(), ref(), slots that read through them, and bound environments.
local t = {};
local a = ["first", "second", "third"];
t.thearray <- a.weakref();
print(t.thearray[0] + " " + typeof t.thearray + " " + typeof t.rawget("thearray") + "\n");
a = 123;
print(typeof t.thearray + " " + t.thearray + "\n");

local weakobj = t.weakref();
print(typeof weakobj + " " + typeof weakobj.ref() + " " + (weakobj.ref() == t) + "\n");
print((t.weakref() == weakobj) + " " + (typeof weakobj.weakref()) + " " +
      weakobj.tostring().slice(0, 10) + "\n");

// Numbers and bools are their own weak reference.
print((5).weakref() + " " + (2.5).weakref() + " " + true.weakref() + " " +
      typeof (5).weakref() + "\n");

// Every container reads through weak references: arrays, foreach, classes and instances.
local target = { name = "target" };
local list = [target.weakref(), 1];
print(list[0].name + " " + list.reverse().top().name + " " +
      list.reverse().map(@(v) typeof v)[0] + " " + list.find(list[0]) + "\n");
foreach (i, v in list)
    print(i + ":" + typeof v + " ");
print("\n");
foreach (k, v in { w = target.weakref() })
    print(k + "=" + v.name + "\n");
class Holder {
    held = null;
    static shared = null;
}
Holder.shared = target.weakref();
local holder = Holder();
holder.held = target.weakref();
print(holder.held.name + " " + holder.shared.name + "\n");
local direct = target.weakref();
target = null;
print(list[0] + " " + holder.held + " " + holder.shared + " " + direct.ref() + " " +
      typeof direct + "\n");

// Strings, functions, classes and instances have weak references too.
local fn = function() { return "alive"; };
local wfn = fn.weakref();
print(wfn.ref()() + "\n");
fn = null;
print(wfn.ref() + "\n");
local inst = Holder();
local winst = inst.weakref();
local wclass = Holder.weakref();
print((winst.ref() == inst) + " " + (wclass.ref() == Holder) + "\n");
inst = null;
print(winst.ref() + "\n");

// A bound environment is held weakly: once it is gone, the function's this is null.
function who() {
    return this == null ? "nobody" : this.name;
}
local env = { name = "env" };
local bound = who.bindenv(env);
print(bound() + "\n");
env = null;
print(bound() + "\n");
local owner = { name = "owner" };
owner.method <- function() { return name; }.bindenv(owner);
print(owner.method() + " " + collectgarbage() + "\n");
local weakOwner = owner.weakref();
owner = null;
print(weakOwner.ref() + "\n");
local self = { name = "self" };
local envFn = function[self]() { return name; };
print(envFn() + "\n");

// A weak reference to an object freed by the collector becomes null.
local cycle = {};
cycle.me <- cycle;
local weakCycle = cycle.weakref();
cycle = null;
print(typeof weakCycle.ref() + " ");
collectgarbage();
print(weakCycle.ref() + "\n");
