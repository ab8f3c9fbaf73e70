-- Calls through closures with free variables, lambdas and methods of tables.
local function makeAdder(n)
    return function(x) return x + n end
end
local add3 = makeAdder(3)
local total = 0
for i = 0, 8000000 - 1 do
    total = add3(total) - 2
end
local twice = function(f, x) return f(f(x)) end
for i = 0, 2000000 - 1 do
    total = twice(add3, total) - 6
end
local counter = {n = 0}
function counter:step(d)
    self.n = self.n + d
    return self
end
for i = 0, 4000000 - 1 do
    counter:step(1)
end
local function map(a, f)
    local r = {}
    for i = 1, #a do
        r[i] = f(a[i])
    end
    return r
end
local function reduce(a, f)
    local acc = a[1]
    for i = 2, #a do
        acc = f(acc, a[i])
    end
    return acc
end
local squares = {}
for i = 0, 100 - 1 do
    squares[#squares + 1] = i
end
for round = 0, 8000 - 1 do
    total = total + reduce(map(squares, function(v) return v * v end),
                           function(a, b) return a + b end) % 3
end
print(total .. " " .. counter.n)
