// Table inserts and lookups with integer and string keys.
local t = {};
for (local i = 0; i < 200000; i++)
    t[i] <- i * 2;
local total = 0;
for (local round = 0; round < 40; round++) {
    for (local i = 0; i < 200000; i++)
        total += t[i];
}
local names = [];
for (local i = 0; i < 1000; i++)
    names.append("key" + i);
local s = {};
foreach (name in names)
    s[name] <- name.len();
for (local round = 0; round < 4000; round++) {
    foreach (name in names)
        total += s[name];
}
local obj = { x = 1, y = 2, z = 3 };
for (local i = 0; i < 8000000; i++)
    obj.x = obj.y + obj.z;
print(total + " " + obj.x + "\n");
