// A call by bare name looks the function up in `this`, then in the root table, and passes
// `this` on to it.
function whoAmI() {
    return typeof this;
}
class Shape {
    sides = 0;
    constructor(n) { sides = n; }
    function describe() { return name() + " " + whoAmI() + " " + twice(sides); }
    function name() { return sides == 3 ? "triangle" : "polygon"; }
    function twice(n) { return n * 2; }
}
print(Shape(3).describe() + " " + Shape(5).describe() + "\n");
local box = {
    size = 4,
    function area() { return square(size); },
    function square(n) { return n * n + offset(); },
    function offset() { return "size" in this ? 0 : 100; },
};
print(box.area() + " " + whoAmI() + "\n");
local unbound = box.area;
try {
    unbound();
} catch (e) {
    print("error: " + e + "\n");
}
local Delegated = { function hello() { return "hello from the delegate"; } };
local child = { function greet() { return hello(); } }.setdelegate(Delegated);
print(child.greet() + "\n");
local counts = { n = 0 };
counts.bump <- function() { n++; return n; };
for (local i = 0; i < 3; i++)
    counts.bump();
print(counts.n + "\n");
