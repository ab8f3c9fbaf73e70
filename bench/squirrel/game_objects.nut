// A game-like frame loop: objects kept in a table under string keys, each with methods updated
// every frame, and closures registered as callbacks that the frames call.
function makeMover(px, py, dx, dy) {
    return {
        x = px,
        y = py,
        vx = dx,
        vy = dy,
        bounces = 0,
        function update(dt) {
            x += vx * dt;
            y += vy * dt;
            if (x < 0 || x > 1000) {
                vx = -vx;
                bounces++;
            }
            if (y < 0 || y > 1000) {
                vy = -vy;
                bounces++;
            }
        },
        function distance(other) { return abs(x - other.x) + abs(y - other.y); }
    };
}
local objects = {};
local names = [];
for (local i = 0; i < 200; i++) {
    local name = "mover" + i;
    names.append(name);
    objects[name] <- makeMover(i * 5, i * 3, i % 7 + 1, i % 5 + 1);
}
local stats = { bounces = 0, near = 0 };
local listeners = [
    function(o) { stats.bounces += o.bounces; },
    function(o) {
        if (o.distance(objects.mover0) < 300)
            stats.near++;
    }
];
for (local frame = 0; frame < 20000; frame++) {
    foreach (name in names)
        objects[name].update(1);
    if (frame % 20 == 0) {
        foreach (listener in listeners) {
            foreach (name in names)
                listener(objects[name]);
        }
    }
}
print(stats.bounces + " " + stats.near + " " + objects.mover7.x + "\n");
