-- String building: concatenation, conversion and slicing.
local s = ""
for i = 0, 20000 - 1 do
    s = s .. i % 10
end
local parts = {}
for i = 0, 900000 - 1 do
    parts[#parts + 1] = "item" .. i
end
local count = 0
for _, p in ipairs(parts) do
    if string.sub(p, 1, 4) == "item" then
        count = count + 1
    end
    count = count + #p
end
print(#s .. " " .. count)
