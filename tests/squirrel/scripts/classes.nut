// Classes: declarations, constructors, members, statics, inheritance, base, attributes and the
// class and instance built-ins.
class Foo {
    constructor(a) {
        testy = ["stuff", 1, 2, 3, a];
    }
    function PrintTesty() {
        foreach (i, val in testy)
            ::print("idx = " + i + " = " + val + "\n");
    }
    testy = null;
}
local foo = Foo(7);
foo.PrintTesty();
print(typeof Foo + " " + typeof foo + " " + (foo.getclass() == Foo) + "\n");

// The expression form, and a class declared inside a table.
Bar <- class {
    value = "bar";
    function get() { return value; }
};
FakeNamespace <- { Utils = {} };
class FakeNamespace.Utils.SuperClass {
    constructor() { ::print("FakeNamespace.Utils.SuperClass\n"); }
    function DoSomething() { ::print("DoSomething()\n"); }
}
function FakeNamespace::Utils::SuperClass::DoSomethingElse() {
    ::print("FakeNamespace::Utils::SuperClass::DoSomethingElse()\n");
}
local testy = FakeNamespace.Utils.SuperClass();
testy.DoSomething();
testy.DoSomethingElse();
print(Bar().get() + "\n");

// Members can be added until the class has an instance; methods even after.
class Late {
    x = 1;
}
Late.stuff <- 10;
Late.x <- "changed default";
function Late::sum(a, b) { return a + b; }
local late = Late();
print(late.x + " " + late.stuff + " " + late.sum(2, 3) + "\n");
try {
    Late.more <- 1;
} catch (e) {
    print(e + "\n");
}
Late.twice <- function(n) { return n * 2; };
print(late.twice(21) + "\n");

// Default values are shared, not copied: both instances see one array.
class Shared {
    myarray = [1, 2, 3];
    mytable = {};
}
local s1 = Shared(), s2 = Shared();
s1.myarray.append(4);
print(s2.myarray.len() + " " + (s1.mytable == s2.mytable) + "\n");
s1.myarray = [];
print(s1.myarray.len() + " " + s2.myarray.len() + "\n");

// Constructors with varargs and default parameters; calling without a constructor.
class Rect {
    constructor(w, h = 5) {
        width = w;
        height = h;
    }
    function area() { return width * height; }
    x = 0;
    y = 0;
    width = null;
    height = null;
}
print(Rect(100, 100).area() + " " + Rect(3).area() + "\n");
try {
    Rect();
} catch (e) {
    print(e + "\n");
}
class Args {
    constructor(...) { count = vargv.len(); }
    count = -1;
}
print(Args().count + " " + Args(1, 2, 3).count + "\n");
class Plain {
    n = 1;
}
print(Plain(1, 2).n + "\n");
local bare = Rect.instance();
print(bare.width + " " + bare.x + "\n");
bare.constructor(2, 4);
print(bare.area() + "\n");

// Statics: one value for the class and every instance, readable but not settable through them.
class Counter {
    static prefix = "#";
    static registry = [];
    constructor(name) {
        registry.append(name);
    }
    function label() { return prefix + registry.len(); }
}
local first = Counter("a");
Counter("b");
print(first.label() + " " + Counter.registry.len() + " " + Counter.prefix + "\n");
try {
    first.prefix = "!";
} catch (e) {
    print(e + "\n");
}
Counter.prefix = "$";
print(first.label() + "\n");

// Inheritance: base members are copied, overrides shadow them, base reaches the originals.
class BaseClass {
    constructor() { ::print("Base constructor\n"); }
    function DoSomething() { ::print("I'm the base\n"); }
    function DoIt() { DoSomething(); }
    function name() { return "base"; }
    kind = "base kind";
}
class ChildClass extends BaseClass {
    constructor() {
        base.constructor();
        ::print("Child constructor\n");
    }
    function DoSomething() { ::print("I'm the derived\n"); }
    function DoIt() { base.DoIt(); }
    function name() { return "child of " + base.name(); }
}
local child = ChildClass();
child.DoIt();
print(child.name() + " " + child.kind + "\n");
class GrandChild extends ChildClass {
    function name() { return "grandchild of " + base.name(); }
}
local grand = GrandChild();
print(grand.name() + "\n");
print((grand instanceof GrandChild) + " " + (grand instanceof ChildClass) + " " +
      (grand instanceof BaseClass) + " " + (child instanceof GrandChild) + " " +
      ({} instanceof BaseClass) + " " + (null instanceof BaseClass) + "\n");
print((GrandChild.getbase() == ChildClass) + " " + (ChildClass.getbase() == BaseClass) + " " +
      BaseClass.getbase() + " " + (GrandChild.parent == ChildClass) + "\n");
// A constructor is inherited like any method; the base class's members stay its own.
class Point {
    constructor(px, py) { x = px; y = py; }
    function len2() { return x * x + y * y; }
    x = 0;
    y = 0;
}
class Point3 extends Point {
    z = 9;
}
local p3 = Point3(3, 4);
print(p3.len2() + " " + p3.z + " " + ("z" in Point) + " " + ("z" in Point3) + "\n");
local makeClass = function(parentClass, greeting) {
    return class extends parentClass {
        function greet() { return greeting + " " + name(); }
    };
};
print(makeClass(BaseClass, "hello").instance().greet() + "\n");

// Attributes.
class Attr </ test = "I'm a class level attribute" /> {
    </ test = "freakin attribute" />
    function PrintTesty() {}
    </ flippy = 10, second = [1, 2, 3] />
    testy = null;
    plain = 1;
}
foreach (member, val in Attr) {
    local line = member + ":";
    local attr = Attr.getattributes(member);
    if (attr != null) {
        local names = [];
        foreach (i, v in attr)
            names.append(i + "=" + typeof v);
        names.sort();
        foreach (n in names)
            line += " " + n;
    } else {
        line += " <no attributes>";
    }
    print(line + "\n");
}
print(Attr.getattributes(null).test + "\n");
local old = Attr.setattributes("plain", { note = "set later" });
print(old + " " + Attr.getattributes("plain").note + "\n");
Attr.setattributes(null, { level = 2 });
print(Attr.getattributes(null).level + "\n");
try {
    Attr.getattributes("missing");
} catch (e) {
    print(e + "\n");
}

// The built-ins of classes and instances.
class Box {
    content = "inside";
    static label = "box";
    function open() { return content; }
}
local box = Box();
print(Box.rawin("content") + " " + Box.rawin("open") + " " + Box.rawin("nothing") + " " +
      box.rawin("label") + " " + box.rawin("getclass") + "\n");
print(("content" in box) + " " + ("open" in Box) + " " + ("x" in box) + "\n");
print(Box.rawget("content") + " " + box.rawget("content") + " " + box.rawget("label") + "\n");
box.rawset("content", "changed");
print(box.open() + " " + Box.rawget("content") + "\n");
Box.rawset("fresh", @() "fresh");
print(Box.fresh() + " " + box.fresh() + "\n");
try {
    Box.rawset("field", 1);
} catch (e) {
    print(e + "\n");
}
Box.newmember("made", function() { return "made"; });
print(box.made() + "\n");
Box.rawnewmember("counter", 0, { doc = "a count" }, true);
print(Box.counter + " " + Box.getattributes("counter").doc + "\n");
print(Box.tostring().slice(0, 10) + " " + box.tostring().slice(0, 13) + " " +
      (Box.weakref().ref() == Box) + "\n");
try {
    box.rawset("nothing", 1);
} catch (e) {
    print(e + "\n");
}

// Instances compare by identity; members keep their own values.
local b1 = Box(), b2 = Box();
print((b1 == b2) + " " + (b1 == b1) + " " + (b1 != b2) + "\n");
b1.content = "one";
print(b1.content + " " + b2.content + "\n");
local b3 = clone b1;
b3.content = "three";
print(b1.content + " " + b3.content + " " + (b3.getclass() == Box) + "\n");

// Methods called through the class get the class as this; this inside a method is the instance.
class Who {
    function me() { return this; }
    tag = "who";
}
local who = Who();
print((who.me() == who) + " " + (Who.me() == Who) + " " + (who.me.call(5) == 5) + "\n");

// `.parent` is the 2.x base of a class; on an instance it is an ordinary member.
class TreeNode {
    constructor(n, p = null) {
        name = n;
        parent = p;
    }
    name = "";
    parent = null;
}
local treeRoot = TreeNode("root");
local treeLeaf = TreeNode("leaf", treeRoot);
print(treeLeaf.parent.name + " " + treeRoot.parent + " " + TreeNode.parent + "\n");
treeLeaf.parent = TreeNode("other");
print(treeLeaf.parent.name + "\n");
