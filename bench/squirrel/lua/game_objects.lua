-- A game-like frame loop: objects kept in a table under string keys, each with methods updated
-- every frame, and closures registered as callbacks that the frames call.
function makeMover(px, py, dx, dy)
    return {
        x = px,
        y = py,
        vx = dx,
        vy = dy,
        bounces = 0,
        update = function(self, dt)
            self.x = self.x + self.vx * dt
            self.y = self.y + self.vy * dt
            if self.x < 0 or self.x > 1000 then
                self.vx = -self.vx
                self.bounces = self.bounces + 1
            end
            if self.y < 0 or self.y > 1000 then
                self.vy = -self.vy
                self.bounces = self.bounces + 1
            end
        end,
        distance = function(self, other)
            return math.abs(self.x - other.x) + math.abs(self.y - other.y)
        end
    }
end
local objects = {}
local names = {}
for i = 0, 200 - 1 do
    local name = "mover" .. i
    names[#names + 1] = name
    objects[name] = makeMover(i * 5, i * 3, i % 7 + 1, i % 5 + 1)
end
local stats = {bounces = 0, near = 0}
local listeners = {
    function(o) stats.bounces = stats.bounces + o.bounces end,
    function(o)
        if o:distance(objects.mover0) < 300 then
            stats.near = stats.near + 1
        end
    end
}
for frame = 0, 20000 - 1 do
    for _, name in ipairs(names) do
        objects[name]:update(1)
    end
    if frame % 20 == 0 then
        for _, listener in ipairs(listeners) do
            for _, name in ipairs(names) do
                listener(objects[name])
            end
        end
    end
end
print(stats.bounces .. " " .. stats.near .. " " .. objects.mover7.x)
