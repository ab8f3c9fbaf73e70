// Default delegate of arrays.
function join(arr) {
    local s = "";
    foreach (i, v in arr)
        s += (i ? "," : "") + v;
    return s;
}
local a = [1, 2];
print((a.append(3) == a) + " " + (a.push(4) == a) + " " + a.len() + "\n");
print((a.extend([5, 6]) == a) + " " + a.len() + " " + a.top() + "\n");
print(a.pop() + " " + a.len() + "\n");
a.insert(0, 0);
a.insert(a.len(), 99);
a.insert(3, "mid");
print(join(a) + "\n");
print(a.remove(3) + " " + join(a) + "\n");
a.resize(3);
print(join(a) + "|");
a.resize(5, "x");
print(join(a) + "|");
print(join(a.resize(6)) + "\n");
local nums = [5, 3, 8, 1, 9, 2];
print(join(nums.sort()) + " ");
nums.sort(@(x, y) y <=> x);
print(join(nums) + " ");
print(join(nums.reverse()) + "\n");
local words = ["pear", "apple", "fig"];
words.sort();
print(join(words) + " ");
words.sort(@(x, y) x.len() <=> y.len());
print(join(words) + " ");
print(join([2, 1.5, 3].sort()) + " " + join([3, 1, 2].sort(@(x, y) (x - y) * 2.0)) + "\n");
local five = [0, 1, 2, 3, 4];
print(join(five.slice(1, 3)) + "|" + join(five.slice(-2)) + "|" + join(five.slice(2)) + "|" + join(five.slice(1, -1)) + "|" + five.slice(5).len() + "\n");
local c = [1, 2];
c.clear();
print(c.len() + "\n");
print(join([1, 2, 3].map(@(v) v * 10)) + "|" + join([1, 2, 3].map(@(v, i) v + i)) + "|" + join([1, 2, 3].map(@(v, i, arr) arr.len())) + "\n");
local ap = [1, 2, 3];
print((ap.apply(@(v) v * v) == ap) + " " + join(ap) + "\n");
print([1, 2, 3, 4].reduce(@(acc, v) acc + v) + " " + [1, 2, 3].reduce(@(acc, v) acc + v, 100) + " " + [].reduce(@(acc, v) acc + v) + " " + [7].reduce(@(acc, v) acc + v) + " " + [].reduce(@(acc, v) acc + v, 5) + "\n");
print(join([1, 2, 3, 4, 5].filter(@(i, v) v % 2)) + "|" + join([1, 2, 3, 4, 5].filter(@(i, v) i < 2)) + "\n");
print(["a", "b", "c"].find("b") + " " + ["a"].find("z") + " " + [1, 2.0].find(2) + " " + [1, null].find(null) + "\n");
print([].tostring().slice(0, 11) + " " + [1, 2, 3].len() + "\n");
print([5].map(function(v) { return this.len() + v; })[0] + "\n");
local nested = [[3, "c"], [1, "a"], [2, "b"]];
nested.sort(@(x, y) x[0] <=> y[0]);
print(nested[0][1] + nested[1][1] + nested[2][1] + "\n");
