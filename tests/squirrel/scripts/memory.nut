// collectgarbage frees objects that only reference cycles keep alive, and nothing in use.
function cycles() {
    local t = {};
    t.self <- t;
    local a = [], b = [];
    a.append(b);
    b.append(a);
    local c = {};
    c.f <- function() { return c; };
    local p = {}, q = {};
    p.setdelegate(q);
    q.back <- p;
}
cycles();
print(collectgarbage() + " " + collectgarbage() + "\n");
keep <- {};
keep.me <- keep;
keep.list <- [keep];
print(collectgarbage() + " " + keep.list[0].me.len() + "\n");
function localSurvives() {
    local t = {};
    t.loop <- t;
    local freed = collectgarbage();
    return freed + " " + (t.loop == t);
}
print(localSurvives() + " " + collectgarbage() + "\n");
function manyCycles() {
    for (local i = 0; i < 1000; i++) {
        local x = [];
        x.append(x);
    }
}
manyCycles();
print(collectgarbage() + "\n");
local head = null;
for (local i = 0; i < 200000; i++)
    head = { next = head };
head = null;
local nest = [];
for (local i = 0; i < 200000; i++)
    nest = [nest];
nest = null;
print("long chains freed\n");
local survivor = {};
survivor.data <- [1, 2, 3];
survivor.data.append(survivor);
local kept = survivor;
survivor = null;
print(collectgarbage() + " " + kept.data.len() + "\n");
function leak() {
    local a = { name = "a" }, b = { name = "b" };
    a.peer <- b;
    b.peer <- a;
}
leak();
local found = resurrectunreachable();
local names = [];
foreach (o in found)
    names.append(o.name);
names.sort();
print(found.len() + " " + names[0] + names[1] + " " + resurrectunreachable() + " " + collectgarbage() + "\n");
found = null;
print(collectgarbage() + "\n");
