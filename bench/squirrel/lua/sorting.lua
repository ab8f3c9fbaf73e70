-- Building arrays and sorting them with comparison functions: numbers, and records ordered by
-- two keys.
local seed = 12345
function random()
    seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
    return seed >> 8
end
local total = 0
for round = 0, 20 - 1 do
    local numbers = {}
    for i = 0, 30000 - 1 do
        numbers[#numbers + 1] = random() % 100000
    end
    table.sort(numbers, function(a, b) return a < b end)
    local records = {}
    for i = 0, 10000 - 1 do
        records[#records + 1] = {id = i, score = random() % 1000}
    end
    table.sort(records, function(a, b)
        if a.score ~= b.score then
            return a.score > b.score
        end
        return a.id < b.id
    end)
    total = total + numbers[1] + numbers[#numbers // 2 + 1] + records[1].id + records[5001].score
end
print(total)
