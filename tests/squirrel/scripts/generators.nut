// Generators: yield and resume, foreach over a generator, status, errors and locals.
function geny(n) {
    for (local i = 1; i <= n; i += 1)
        yield i;
    return null;
}
local gtor = geny(10);
local x;
local line = "";
while (x = resume gtor)
    line += x + " ";
print(line + gtor.getstatus() + "\n");

// foreach resumes until the generator returns; what it returns is not visited.
function countdown(from) {
    while (from > 0)
        yield from--;
    return "liftoff";
}
line = "";
foreach (i, v in countdown(4))
    line += i + "=" + v + " ";
print(line + "\n");
foreach (v in countdown(0))
    print("never\n");
local partial = countdown(5);
foreach (v in partial) {
    if (v == 3)
        break;
}
print(partial.getstatus() + " " + resume partial + " " + resume partial + " " + resume partial +
      " " + partial.getstatus() + "\n");

// Calling a generator function runs nothing; each resume runs up to the next yield.
function noisy() {
    print("started ");
    yield "first";
    print("continued ");
    yield;
    print("finished ");
}
local n = noisy();
print(typeof n + " " + n.getstatus() + "\n");
print(resume n + "\n");
print(resume n + "\n");
print(resume n + " " + n.getstatus() + "\n");
try {
    resume n;
} catch (e) {
    print(e + "\n");
}

// Status while running, parameters, varargs, defaults, free variables and this.
function watcher() {
    yield self.getstatus();
}
self <- watcher();
print(resume self + "\n");
local offset = 100;
function args(a, b = 2, ...) {
    yield a + b + offset;
    yield vargv.len();
}
local withArgs = args(1);
local withMore = args(1, 1, "x", "y");
print(resume withArgs + " " + resume withArgs + " " + resume withMore + " " + resume withMore +
      "\n");
local counter = {
    step = 5,
    function run(limit) {
        for (local i = 0; i < limit; i += step)
            yield i;
    }
};
line = "";
foreach (v in counter.run(20))
    line += v + " ";
print(line + "\n");

// A suspended generator holds its `this` weakly; its locals strongly.
local owner = {
    name = "owner",
    function gen(extra) {
        yield name;
        yield (this == null ? "this is gone" : name) + ", " + extra.label;
    }
};
local ownerGen = owner.gen({ label = "local kept" });
print(resume ownerGen + " ");
owner = null;
print(resume ownerGen + "\n");

// Locals, loops and traps survive a yield.
function guarded() {
    local total = 0;
    for (local i = 0; i < 3; i++) {
        try {
            total += i;
            yield total;
            if (i == 1)
                throw "fail at " + i;
        } catch (e) {
            yield "caught " + e;
        }
    }
    yield "total " + total;
}
line = "";
foreach (v in guarded())
    line += v + ", ";
print(line + "\n");

// An error inside a generator kills it.
function faulty() {
    yield 1;
    local t = {};
    yield t.missing;
    yield 3;
}
local f = faulty();
resume f;
try {
    resume f;
} catch (e) {
    print(e + " " + f.getstatus() + "\n");
}

// Generators driving generators.
function evens(limit) {
    foreach (v in geny(limit)) {
        if (v % 2 == 0)
            yield v;
    }
}
function pairs(limit) {
    local inner = evens(limit);
    local value;
    while ((value = resume inner) != null)
        yield [value, value * value];
}
line = "";
foreach (p in pairs(9))
    line += p[0] + "^2=" + p[1] + " ";
print(line + "\n");

// A deep chain of generators stays within the machine's limits.
function chain(depth) {
    if (depth == 0) {
        yield "bottom";
        return;
    }
    foreach (v in chain(depth - 1))
        yield v;
}
print(resume chain(50) + "\n");

// Generator objects and their delegate.
print(typeof geny + " " + (geny(1).tostring().slice(0, 12)) + " " +
      (typeof geny(1).weakref()) + "\n");
try {
    resume 5;
} catch (e) {
    print(e + "\n");
}
