-- Array append, indexed access and iteration.
local a = {}
for i = 0, 1000000 - 1 do
    a[#a + 1] = i
end
local total = 0
for round = 0, 5 - 1 do
    for _, v in ipairs(a) do
        total = total + v
    end
    for i = 1, #a do
        total = total - a[i]
    end
end
for i = 1, 1000000 do
    a[i] = a[i] + 1
end
table.sort(a, function(x, y) return x > y end)
print(total .. " " .. a[1] .. " " .. #a)
