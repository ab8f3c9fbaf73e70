-- Integer and float arithmetic in tight loops.
local sum = 0
for i = 0, 30000000 - 1 do
    sum = sum + i % 7
    sum = sum ~ (i << 1)
end
print(sum)
local x = 0.0
local i = 0
while i < 15000000 do
    x = x * 0.5 + i * 0.25
    i = i + 1
end
print(x)
