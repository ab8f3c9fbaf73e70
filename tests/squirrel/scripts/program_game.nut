// A small game loop: entity classes with inheritance and metamethods, an event bus of closures,
// a generator for scripted movement, a thread for a cutscene, weak target references and a
// deterministic random generator.
class Vec {
    constructor(px = 0, py = 0) { x = px; y = py; }
    function _add(o) { return Vec(x + o.x, y + o.y); }
    function _sub(o) { return Vec(x - o.x, y - o.y); }
    function _mul(k) { return Vec(x * k, y * k); }
    function _unm() { return Vec(-x, -y); }
    function _cmp(o) { return length2() <=> o.length2(); }
    function _tostring() { return "(" + x + "," + y + ")"; }
    function length2() { return x * x + y * y; }
    x = 0;
    y = 0;
}

class Random {
    constructor(s) { seed = s; }
    function next(n) {
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF;
        return (seed >> 16) % n;
    }
    seed = 0;
}

class EventBus {
    constructor() { handlers = {}; }
    function on(name, handler) {
        if (!(name in handlers))
            handlers[name] <- [];
        handlers[name].append(handler);
        local list = handlers[name];
        return function() {
            local i = list.find(handler);
            if (i != null)
                list.remove(i);
        };
    }
    function emit(name, ...) {
        if (!(name in handlers))
            return 0;
        local args = [this];
        args.extend(vargv);
        foreach (h in clone handlers[name])
            h.acall(args);
        return handlers[name].len();
    }
    handlers = null;
}

class Entity {
    static count = [0];
    constructor(n, p) {
        name = n;
        pos = p;
        count[0]++;
        id = count[0];
    }
    function update(world) {}
    function describe() { return name + "#" + id + "@" + pos; }
    function _tostring() { return describe(); }
    name = null;
    pos = null;
    id = 0;
    alive = true;
}

class Player extends Entity {
    constructor(p) {
        base.constructor("player", p);
        score = 0;
    }
    function update(world) {
        local nearest = null;
        foreach (e in world.entities) {
            if (e instanceof Enemy && e.alive && (nearest == null || (e.pos - pos) < (nearest.pos - pos)))
                nearest = e;
        }
        target = nearest ? nearest.weakref() : null;
        if (world.frame % 3 == 0 && nearest)
            world.spawn(Bullet(pos, nearest.pos - pos));
    }
    function describe() { return base.describe() + " score " + score; }
    score = 0;
    target = null;
}

class Enemy extends Entity {
    constructor(n, p, route) {
        base.constructor(n, p);
        path = patrol(route);
        health = 2;
    }
    // Walks the route back and forth, one step per frame.
    function patrol(route) {
        local step = 0, direction = 1;
        while (true) {
            yield route[step];
            if (step + direction < 0 || step + direction >= route.len())
                direction = -direction;
            step += direction;
        }
    }
    function update(world) { pos = resume path; }
    function hit(world) {
        health--;
        if (health <= 0) {
            alive = false;
            world.bus.emit("killed", this);
        }
    }
    path = null;
    health = 0;
}

class Bullet extends Entity {
    constructor(p, direction) {
        base.constructor("bullet", p);
        velocity = Vec(direction.x <=> 0, direction.y <=> 0);
        ttl = 6;
    }
    function update(world) {
        pos = pos + velocity;
        if (--ttl == 0)
            alive = false;
        foreach (e in world.entities) {
            if (e instanceof Enemy && e.alive && (e.pos - pos).length2() <= 1) {
                e.hit(world);
                alive = false;
                world.bus.emit("hit", e.name, pos);
                break;
            }
        }
    }
    velocity = null;
    ttl = 0;
}

class World {
    constructor() {
        entities = [];
        bus = EventBus();
        log = [];
    }
    function spawn(e) {
        entities.append(e);
        return e;
    }
    function step() {
        frame++;
        foreach (e in clone entities)
            e.update(this);
        entities = entities.filter(@(i, e) e.alive);
    }
    entities = null;
    bus = null;
    log = null;
    frame = 0;
}

local world = World();
local player = world.spawn(Player(Vec(0, 0)));
local rng = Random(7);
for (local i = 0; i < 3; i++) {
    local route = [];
    local start = Vec(rng.next(7) - 3, rng.next(7) - 3);
    for (local k = 0; k < 4; k++)
        route.append(start + Vec(k, 0));
    world.spawn(Enemy("enemy" + i, start, route));
}
foreach (e in world.entities)
    print(e + "\n");

// Free variables are copies made with the closure: the handler counts in its own copy, while
// the table it shares with the main program sees every kill.
local kills = 0;
local stats = { kills = 0 };
world.bus.on("killed", function(enemy) {
    kills++;
    stats.kills = kills;
    player.score += 100;
    world.log.append("frame " + world.frame + ": " + enemy.name + " down");
});
local stopHits = world.bus.on("hit", function(name, where) {
    world.log.append("frame " + world.frame + ": hit " + name + " at " + where);
});

// The cutscene runs one step per frame until it is done.
local cutscene = newthread(function(w) {
    suspend("fade in");
    local announced = 0;
    while (true) {
        local remaining = w.entities.filter(@(i, e) e instanceof Enemy).len();
        if (remaining != announced) {
            announced = remaining;
            suspend(remaining + " enemies left");
        } else {
            suspend(null);
        }
        if (remaining == 0)
            return "victory";
    }
});
local message = cutscene.call(world);
local lastTarget = null;
while (world.frame < 40 && cutscene.getstatus() == "suspended") {
    if (message != null)
        world.log.append("frame " + world.frame + ": " + message);
    world.step();
    if (world.frame == 10)
        stopHits();
    // The field holds a weak reference; reading it gives the enemy, or null once it is gone.
    local target = player.target;
    if (target != lastTarget && target != null)
        world.log.append("frame " + world.frame + ": aiming at " + target.name);
    lastTarget = target;
    message = cutscene.wakeup();
}
world.log.append("frame " + world.frame + ": " + message);
foreach (line in world.log)
    print(line + "\n");
print("kills " + kills + " " + stats.kills + ", " + player + ", entities " + world.entities.len() + ", created " +
      Entity.count[0] + "\n");
print((Vec(3, 4) > Vec(1, 1)) + " " + (-Vec(1, 2)) + " " + (Vec(1, 1) * 3) + " " +
      (typeof player.target) + " " + cutscene.getstatus() + "\n");
