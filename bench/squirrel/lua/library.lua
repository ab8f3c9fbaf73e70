-- Standard library calls: format, pattern matching and packed binary data.
local count = 0
for i = 0, 400000 - 1 do
    local s = string.format("%05d:%s:%.2f", i, "key", i * 0.5)
    count = count + #s
end
local line = "alpha=1 beta=22 gamma=333 delta=4444"
for i = 0, 100000 - 1 do
    local start = 1
    while true do
        local _, finish, _, first, last = string.find(line, "(%w+)=()%d+()", start)
        if not finish then
            break
        end
        count = count + last - first
        start = finish + 1
    end
end
local parts = {}
for i = 0, 1000000 - 1 do
    parts[#parts + 1] = string.pack("<i4", i)
end
local b = table.concat(parts)
local pos = 1
local sum = 0
while pos <= #b do
    local n
    n, pos = string.unpack("<i4", b, pos)
    sum = sum + (n & 0xFF)
end
print(count .. " " .. sum)
