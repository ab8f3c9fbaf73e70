-- Generators driving a for loop, resumed directly, and threads suspended and woken up.
local function range(n)
    return coroutine.wrap(function()
        for i = 0, n - 1 do
            coroutine.yield(i)
        end
    end)
end
local total = 0
for v in range(3000000) do
    total = total + v
end
local g = range(1500000)
local v = g()
while v ~= nil do
    total = total - v
    v = g()
end
local worker = coroutine.create(function(n)
    local acc = 0
    for i = 0, n - 1 do
        acc = acc + coroutine.yield(i)
    end
    return acc
end)
local _, x = coroutine.resume(worker, 900000)
while coroutine.status(worker) == "suspended" do
    _, x = coroutine.resume(worker, x)
end
print(total .. " " .. x)
