// Metamethods of tables (in their delegate) and of class instances.
local comparable = {
    _cmp = function(other) {
        if (name < other.name)
            return -1;
        if (name > other.name)
            return 1;
        return 0;
    }
};
local a = { name = "Alberto" }.setdelegate(comparable);
local b = { name = "Wouter" }.setdelegate(comparable);
if (a > b)
    print("a>b\n");
else
    print("b<=a\n");
print((a < b) + " " + (a <= b) + " " + (a >= b) + " " + (a <=> b) + " " + (b <=> a) + " " +
      (a == b) + "\n");
class Comparable {
    constructor(n) { name = n; }
    function _cmp(other) {
        if (name < other.name)
            return -1;
        if (name > other.name)
            return 1;
        return 0;
    }
    name = null;
}
local names = [Comparable("Wouter"), Comparable("Alberto"), Comparable("Mia")];
names.sort();
print(names[0].name + " " + names[1].name + " " + names[2].name + " " +
      (Comparable("x") <= Comparable("x")) + "\n");

// Arithmetic: the left operand's metamethod, also for compound assignment.
class Vector3 {
    constructor(...) {
        if (vargv.len() >= 3) {
            x = vargv[0];
            y = vargv[1];
            z = vargv[2];
        }
    }
    function _add(other) { return ::Vector3(x + other.x, y + other.y, z + other.z); }
    function _sub(other) { return ::Vector3(x - other.x, y - other.y, z - other.z); }
    function _mul(k) { return ::Vector3(x * k, y * k, z * k); }
    function _div(k) { return ::Vector3(x / k, y / k, z / k); }
    function _modulo(k) { return ::Vector3(x % k, y % k, z % k); }
    function _unm() { return ::Vector3(-x, -y, -z); }
    function _tostring() { return "(" + x + "," + y + "," + z + ")"; }
    function _typeof() { return "Vector3"; }
    x = 0;
    y = 0;
    z = 0;
}
local v0 = Vector3(1, 2, 3);
local v1 = Vector3(11, 12, 13);
local v2 = v0 + v1;
print(v2.x + "," + v2.y + "," + v2.z + "\n");
print((v1 - v0) + " " + (v0 * 2) + " " + (v1 / 2) + " " + (v1 % 5) + " " + (-v0) + "\n");
v2 += v0;
v2 *= 10;
print(v2 + " " + typeof v2 + " " + type(v2) + " " + v2.tostring() + "\n");
print("text " + v0 + " | " + v0 + " text\n");
local money = {
    _add = function(other) { return { amount = amount + other }.setdelegate(getdelegate()); },
    _tostring = function() { return amount + " EUR"; }
};
local wallet = { amount = 5 }.setdelegate(money);
print((wallet + 7) + " " + wallet + "\n");
try {
    print(7 + wallet);
} catch (e) {
    print(e + "\n");
}
try {
    local plain = Comparable("p");
    print(plain * 2);
} catch (e) {
    print(e + "\n");
}

// _get and _set run for keys found nowhere else; 'throw null' means "no such key".
local proxy = {
    _get = function(key) {
        if (key == "magic")
            return 42;
        if (key == "broken")
            throw "broken key";
        throw null;
    },
    _set = function(key, value) {
        if (key == "readonly")
            throw "cannot set readonly";
        ::print("_set " + key + " = " + value + "\n");
    },
    _newslot = function(key, value) {
        ::print("_newslot " + key + "\n");
        rawset(key, value * 2);
    },
    _delslot = function(key) {
        ::print("_delslot " + key + "\n");
        rawdelete(key);
    },
    shared = "from the delegate"
};
local object = { own = 1 }.setdelegate(proxy);
print(object.magic + " " + object.own + " " + object.shared + " " + object.len() + "\n");
foreach (key in ["missing", "broken"]) {
    try {
        print(object[key]);
    } catch (e) {
        print(e + "\n");
    }
}
object.own = 2;
object.something = 3;
object.shared = "changed in the delegate";
print(object.own + " " + proxy.shared + " " + object.rawin("something") + "\n");
try {
    object.readonly = 1;
} catch (e) {
    print(e + "\n");
}
object.fresh <- 21;
object.own <- 5;
print(object.rawget("fresh") + " " + object.own + "\n");
delete object.fresh;
print(object.rawin("fresh") + "\n");

class Dynamic {
    function _get(key) {
        if (key in store)
            return store[key];
        throw null;
    }
    function _set(key, value) {
        store[key] <- value;
    }
    function _delslot(key) {
        delete store[key];
    }
    function known() { return store.len(); }
    store = null;
    constructor() { store = {}; }
}
local dyn = Dynamic();
dyn.color = "red";
dyn.size = 3;
print(dyn.color + " " + dyn.size + " " + dyn.known() + "\n");
delete dyn.color;
print(dyn.known() + " " + dyn.getclass().tostring().slice(0, 6) + "\n");
try {
    print(dyn.color);
} catch (e) {
    print(e + "\n");
}

// _call gets the object as this and the caller's this first.
local callable = {
    _call = function(caller, x, y) { return tag + ": " + (x + y) + (caller == ::getroottable() ? " from the root" : " from elsewhere"); }
};
local fn = { tag = "table" }.setdelegate(callable);
print(fn(1, 2) + "\n");
local holder = { run = fn };
print(holder.run(3, 4) + "\n");
class Functor {
    constructor(f) { factor = f; }
    function _call(caller, value) { return value * factor; }
    factor = 1;
}
local triple = Functor(3);
print(triple(5) + " " + [1, 2, 3].map(@(v) triple(v))[2] + "\n");

// _cloned runs on the copy with the original as argument.
local tracked = {
    _cloned = function(original) {
        copies <- original.copies + 1;
        ::print("cloned " + original.name + "\n");
    }
};
local original = { name = "first", copies = 0 }.setdelegate(tracked);
local copy = clone original;
print(copy.copies + " " + original.copies + " " + (copy.getdelegate() == tracked) + "\n");
class Sheep {
    constructor(n) { name = n; }
    function _cloned(original) { name = "clone of " + original.name; }
    name = null;
}
local dolly = clone Sheep("dolly");
print(dolly.name + "\n");

// _nexti drives foreach over an instance; values come through the usual lookup.
class Range {
    constructor(from, to) {
        first = from;
        last = to;
    }
    function _nexti(previous) {
        if (previous == null)
            return first <= last ? first : null;
        return previous < last ? previous + 1 : null;
    }
    function _get(index) {
        if (typeof index == "integer")
            return index * index;
        throw null;
    }
    first = 0;
    last = 0;
}
local line = "";
foreach (i, square in Range(3, 6))
    line += i + ":" + square + " ";
print(line + "\n");
foreach (i, square in Range(2, 1))
    print("never\n");
try {
    foreach (x in Comparable("no iteration")) {}
} catch (e) {
    print(e + "\n");
}
class BadIndex {
    function _nexti(previous) {
        return previous == null ? "nowhere" : null;
    }
}
try {
    foreach (x in BadIndex()) {}
} catch (e) {
    print(e + "\n");
}

// _tostring is used by print, concatenation and tostring(); _typeof by typeof.
local shown = { _tostring = @() "shown", _typeof = @() "custom" };
local t = {}.setdelegate(shown);
print(t);
print(" " + t + " " + t.tostring() + " " + typeof t + " " + type(t) + "\n");
local badString = {}.setdelegate({ _tostring = @() 5 });
print(badString.tostring().slice(0, 7) + "\n");

// Delegation: lookups and assignments follow the chain; `delegate` and the 2.x `.parent`.
local root = { level = "root", function describe() { return "I am " + level; } };
local middle = delegate root : { level = "middle" };
local leaf = delegate middle : {};
print(leaf.describe() + " " + (leaf.parent == middle) + " " + (middle.parent == root) + " " +
      root.parent + " " + (leaf.getdelegate() == middle) + "\n");
leaf.level = "changed";
print(middle.level + " " + leaf.rawin("level") + " " + ("describe" in leaf) + "\n");
// Reading .parent of a table gives its delegate even when a slot has that name; assigning it
// sets the slot.
leaf.parent <- "a slot";
print((leaf.parent == middle) + " " + leaf.rawget("parent") + "\n");

// An instance takes new slots only through its class's _newslot.
class Bag {
    added = null;
    constructor() {
        added = [];
    }
    function _newslot(key, value) {
        added.append(key + "=" + value);
    }
}
local bag = Bag();
bag.colour <- "red";
bag[3] <- 4;
print(bag.added.reduce(@(a, b) a + " " + b) + "\n");
