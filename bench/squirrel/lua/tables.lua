-- Table inserts and lookups with integer and string keys.
local t = {}
for i = 0, 200000 - 1 do
    t[i] = i * 2
end
local total = 0
for round = 0, 40 - 1 do
    for i = 0, 200000 - 1 do
        total = total + t[i]
    end
end
local names = {}
for i = 0, 1000 - 1 do
    names[#names + 1] = "key" .. i
end
local s = {}
for _, name in ipairs(names) do
    s[name] = #name
end
for round = 0, 4000 - 1 do
    for _, name in ipairs(names) do
        total = total + s[name]
    end
end
local obj = {x = 1, y = 2, z = 3}
for i = 0, 8000000 - 1 do
    obj.x = obj.y + obj.z
end
print(total .. " " .. obj.x)
