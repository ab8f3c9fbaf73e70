// String building: concatenation, conversion and slicing.
local s = "";
for (local i = 0; i < 20000; i++)
    s += i % 10;
local parts = [];
for (local i = 0; i < 900000; i++)
    parts.append("item" + i);
local count = 0;
foreach (p in parts) {
    if (p.slice(0, 4) == "item")
        count++;
    count += p.len();
}
print(s.len() + " " + count + "\n");
