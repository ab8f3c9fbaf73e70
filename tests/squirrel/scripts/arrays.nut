// Array constructors, indexing, references, and the order foreach visits arrays and strings.
local a = ["I'm", "an", "array"];
local b = [null];
b[0] = a[2];
print(a.len() + " " + b[0] + " " + typeof a[0] + " " + a[1.0] + "\n");
local mixed = [1, "string!", [], {}, 2.5, null, true];
print(mixed.len() + " " + typeof mixed[2] + " " + typeof mixed[3] + " " + mixed[5] + "\n");
local order = [10, 23, 33, 41, 589, 56];
foreach (idx, val in order)
    print("index=" + idx + " value=" + val + "\n");
foreach (val in order)
    print(val + " ");
print("\n");
local grid = [[1, 2], [3, 4]];
grid[1][0] = 30;
print((grid[0][1] + grid[1][0]) + "\n");
local blank = array(3);
local filled = array(3, 0);
filled[1] = 5;
print(blank.len() + " " + blank[2] + " " + filled[0] + filled[1] + filled[2] + " " + array(0).len() + "\n");
local grow = [1, 2, 3];
local seen = 0;
foreach (v in grow) {
    seen++;
    if (grow.len() < 6)
        grow.append(v * 10);
}
print(seen + " " + grow.len() + " " + grow[5] + "\n");
local ref = order;
ref[0] = 99;
local copy = clone order;
copy[1] = -1;
print(order[0] + " " + order[1] + " " + copy[0] + " " + copy[1] + " " + (ref == order) + " " + (copy == order) + "\n");
local word = "hi!";
foreach (i, c in word)
    print(i + ":" + c + " ");
print(word[0] + " " + word[2].tochar() + " " + word.len() + "\n");
local count = 0;
foreach (x in [])
    count++;
foreach (x in "")
    count++;
print(count + "\n");
local matrix = [];
for (local r = 0; r < 3; r++) {
    matrix.append([]);
    for (local c = 0; c < 3; c++)
        matrix[r].append(r * 3 + c);
}
local diagonal = 0;
foreach (r, row in matrix)
    diagonal += row[r];
print(diagonal + "\n");
