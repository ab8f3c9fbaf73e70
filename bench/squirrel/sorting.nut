// Building arrays and sorting them with comparison functions: numbers, and records ordered by
// two keys.
local seed = 12345;
function random() {
    seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF;
    return seed >> 8;
}
local total = 0;
for (local round = 0; round < 20; round++) {
    local numbers = [];
    for (local i = 0; i < 30000; i++)
        numbers.append(random() % 100000);
    numbers.sort(@(a, b) a <=> b);
    local records = [];
    for (local i = 0; i < 10000; i++)
        records.append({ id = i, score = random() % 1000 });
    records.sort(function(a, b) {
        if (a.score != b.score)
            return b.score <=> a.score;
        return a.id <=> b.id;
    });
    total += numbers[0] + numbers[numbers.len() / 2] + records[0].id + records[5000].score;
}
print(total + "\n");
