// The collector frees cycles through classes, instances, closures, generators and threads,
// and nothing that is still reachable.
class Node {
    constructor(n) { name = n; }
    name = null;
    next = null;
    owner = null;
}
function makeGarbage() {
    // An instance that refers to itself.
    local lonely = Node("lonely");
    lonely.next = lonely;
    // Two instances in a ring.
    local a = Node("a"), b = Node("b");
    a.next = b;
    b.next = a;
    // A class whose static member holds one of its instances.
    local Registry = class {
        static all = [];
    };
    Registry.all.append(Registry());
    // A closure stored in the table it refers to.
    local box = {};
    box.get <- function() { return box; };
    // A generator that holds itself in a local of its frame.
    local holder = {};
    local gen = function(h) { local me = h; yield 1; yield me; }(holder);
    holder.gen <- gen;
    resume gen;
}
makeGarbage();
print(collectgarbage() + " " + collectgarbage() + "\n");

// Reachable objects survive, even when they are part of a cycle.
kept <- Node("kept");
kept.next = Node("other");
kept.next.next = kept;
local localRing = Node("local");
localRing.next = localRing;
print(collectgarbage() + " " + kept.next.next.name + " " + localRing.next.name + "\n");

// A suspended thread that refers to itself through its own stack.
function threadGarbage() {
    local t = newthread(function(self) { local me = self; suspend(1); return me; });
    t.call(t);
}
threadGarbage();
print(collectgarbage() + "\n");

// A running thread, a suspended generator and their values are reachable while in use.
local worker = newthread(function() {
    local ring = Node("inside");
    ring.next = ring;
    local freed = collectgarbage();
    suspend(freed + " " + ring.next.name);
    return ring.name;
});
print(worker.call() + " ");
print(collectgarbage() + " " + worker.wakeup() + "\n");
// The ring the finished thread left behind is garbage now.
print(collectgarbage() + "\n");
function producer() {
    local ring = Node("produced");
    ring.next = ring;
    yield collectgarbage();
    yield ring.next.name;
}
local p = producer();
print(resume p + " " + collectgarbage() + " " + resume p + "\n");

// Weak references to collected objects become null; resurrectunreachable sees instances.
function weakGarbage() {
    local n = Node("weak");
    n.next = n;
    return n.weakref();
}
local w = weakGarbage();
local found = resurrectunreachable();
print(found.len() + " " + found[0].name + " " + typeof w.ref() + "\n");
found = null;
print(collectgarbage() + " " + w.ref() + "\n");

// Closures keep their free variables; classes keep their base and methods.
function makeCounter() {
    local state = { count = 0 };
    state.step <- function() { state.count++; return state.count; };
    return state.step;
}
local counter = makeCounter();
counter();
print(collectgarbage() + " " + counter() + "\n");
counter = null;
print(collectgarbage() + "\n");
