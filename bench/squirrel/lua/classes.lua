-- Classes: instance creation with a constructor, method calls, field access through self,
-- base calls and arithmetic metamethods.
local Vec = {}
Vec.__index = Vec
local function newVec(x, y)
    return setmetatable({x = x, y = y}, Vec)
end
Vec.__add = function(a, o) return newVec(a.x + o.x, a.y + o.y) end
function Vec:dot(o) return self.x * o.x + self.y * o.y end

local Body = {}
Body.__index = Body
function Body.init(self, px) self.pos = px end
function Body:step(d)
    self.pos = self.pos + d
    return self.pos
end

local Particle = setmetatable({}, {__index = Body})
Particle.__index = Particle
local function newParticle(px, v)
    local p = setmetatable({pos = 0, velocity = 0, age = 0}, Particle)
    Body.init(p, px)
    p.velocity = v
    return p
end
function Particle:step(d)
    self.age = self.age + 1
    return Body.step(self, self.velocity * d)
end

local total = 0
for i = 0, 900000 - 1 do
    total = total + newVec(i, 1):dot(newVec(1, i))
end
local p = newParticle(0, 2)
for i = 0, 3000000 - 1 do
    p:step(1)
end
local sum = newVec(0, 0)
local one = newVec(1, 2)
for i = 0, 900000 - 1 do
    sum = sum + one
end
print(total .. " " .. p.pos .. " " .. p.age .. " " .. sum.x .. "," .. sum.y)
