// Classes: instance creation with a constructor, method calls, field access through this,
// base calls and arithmetic metamethods.
class Vec {
    constructor(px, py) {
        x = px;
        y = py;
    }
    function _add(o) { return Vec(x + o.x, y + o.y); }
    function dot(o) { return x * o.x + y * o.y; }
    x = 0;
    y = 0;
}
class Body {
    constructor(px) { pos = px; }
    function step(d) {
        pos += d;
        return pos;
    }
    pos = 0;
}
class Particle extends Body {
    constructor(px, v) {
        base.constructor(px);
        velocity = v;
    }
    function step(d) {
        age++;
        return base.step(velocity * d);
    }
    velocity = 0;
    age = 0;
}
local total = 0;
for (local i = 0; i < 900000; i++)
    total += Vec(i, 1).dot(Vec(1, i));
local p = Particle(0, 2);
for (local i = 0; i < 3000000; i++)
    p.step(1);
local sum = Vec(0, 0);
local one = Vec(1, 2);
for (local i = 0; i < 900000; i++)
    sum = sum + one;
print(total + " " + p.pos + " " + p.age + " " + sum.x + "," + sum.y + "\n");
