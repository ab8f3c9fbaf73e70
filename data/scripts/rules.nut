// The rules of play: what collisions do to objects, what the mad ship fires at its fire spots,
// the first-fire tutorial and the feedback of hits and kills.
// Only definitions: the engine calls these functions by name during a level.

// How the ship's shots behave, by the fire spot's name ("firespot-fast" is named "fast"; other
// names fire a normal shot). speed: scene units per second of simulated time (the physics runs
// at a little under half of real time); spread: degrees between the shots of a fan.
::shotKinds <- {
    slow = {image = "rock_small.png", size = 1.0, speed = 9.0, density = 1.0,
            hp = 1, att = 34, count = 1, spread = 0.0},
    normal = {image = "rock_small.png", size = 1.0, speed = 12.0, density = 1.0,
              hp = 1, att = 34, count = 1, spread = 0.0},
    fast = {image = "rock_small.png", size = 0.8, speed = 20.0, density = 1.0,
            hp = 1, att = 34, count = 1, spread = 0.0},
    // Heavy: a white hole hardly slows it down; a black hole on its way swallows it.
    big = {image = "rock_big.png", size = 1.6, speed = 10.0, density = 2.0,
           hp = 30, att = 50, count = 1, spread = 0.0},
    // A fan of three: a black hole would pull the outer shots onto the station.
    burst = {image = "rock_small.png", size = 0.8, speed = 12.0, density = 1.0,
             hp = 1, att = 34, count = 3, spread = 14.0}
};

// Distance between the starting points of neighbouring shots of a fan.
const FAN_GAP = 1.5;

// A hit sound at most this often (ms): touching bodies report a collision on every step.
const HIT_SOUND_GAP = 150;
::lastHitSound <- 0;

// Types a black hole's core swallows whole.
::swallowedTypes <- {rock = true, shot = true};

// Each body takes the other's attack as damage. A black hole's core swallows rocks and shots
// and is never hurt itself; what it cannot swallow (planets) only bounces off it.
function onCollision(t)
{
    local a = t._body1;
    local b = t._body2;
    if (a._type == "hole" || b._type == "hole")
    {
        local hole = a._type == "hole" ? a : b;
        local other = a._type == "hole" ? b : a;
        if (other._type in ::swallowedTypes)
            other._hp = 0;
        hole._hp = 1000;
        return;
    }
    local attackA = a._att;
    a._hp -= b._att;
    b._hp -= attackA;
}

function onHit(t)
{
    if (t._type == "hole")
        return;
    // A tick count that wrapped around since the last sound counts as long enough ago.
    local now = core_GetTick();
    if (now >= ::lastHitSound && now - ::lastHitSound < HIT_SOUND_GAP)
        return;
    ::lastHitSound = now;
    core_PlayEffect("hit");
}

// The object is removed by the engine; an explosion takes its place. Swallowed objects vanish
// into the hole with a flash instead.
function onKill(t)
{
    local effect = t._typeBy == "hole" ? "effects\\hole_flash.spr" : "effects\\explosion.spr";
    local size = t._type == "TARGET" ? 2.0 : (t._type == "shot" ? 0.8 : 1.0);
    core_CreateSprite(effect, {x = t._x, y = t._y, z = -0.2, w = size, h = size}, t._parentid);
    core_PlayEffect("kill");
}

// The ship launches its shot (or a fan of shots) from the spot's start towards its end.
function activateFirespot(t)
{
    local kind = (t._name in ::shotKinds) ? ::shotKinds[t._name] : ::shotKinds.normal;
    local ship = core_GetNode("mad_ship");
    if (ship == null)
        return;
    local dx = t._xTo - t._x;
    local dy = t._yTo - t._y;
    if (dx * dx + dy * dy < 0.000001)
        return;
    local heading = atan2(dy, dx);
    for (local i = 0; i < kind.count; i++)
    {
        // The shots of a fan start side by side, so that they do not touch (and destroy) each
        // other at once.
        local side = i - (kind.count - 1) * 0.5;
        local angle = heading + side * kind.spread * PI / 180.0;
        local x = t._x - sin(heading) * side * FAN_GAP;
        local y = t._y + cos(heading) * side * FAN_GAP;
        launchShot(kind, ship._parentid, x, y, cos(angle), sin(angle));
    }
    core_PlayEffect("click");
}

function launchShot(kind, parent, x, y, vx, vy)
{
    local text = format("raw:\\-Texture:\\actors\\%s\n-Size:%.2f\n-Tint:FFFFA060\n"
        + "-Animation.Physics2D:shape[circle] shapesize[0.9] density[%.2f] restitution[0.3] "
        + "vx[%.3f] vy[%.3f] speed[%.2f]\n"
        + "-GameLogic-ObjectInfo:h%d a%d b0 tshot\n"
        + "-Animation.Rotation:s0.4\n"
        + "-Selfdestruction:t14000 f600\n",
        kind.image, kind.size, kind.density, vx, vy, kind.speed, kind.hp, kind.att);
    core_CreateSprite(text, {x = x, y = y, z = -0.1}, parent);
}

// The first shot of the first level: how to stop it. The note stands in the lower left corner,
// away from the way the ship's shots take from the top towards the station.
function showFireTutorial(t)
{
    local ship = core_GetNode("mad_ship");
    if (ship == null)
        return;
    local text = core_GetTranslation("TUTORIAL", game_GetCurrentLevelPath() + "strings.lng");
    local panel = core_CreateSprite("raw:\\-Texture:\\gui\\panel.png\n-Size:w17.6 h5.6\n"
        + "-Alpha:1 t400\n-Label:?\n-Selfdestruction:t8000 f800\n",
        {x = -10.0, y = -11.1, z = -1.5, retSprite = 1}, ship._parentid);
    if (panel != null)
        core_SetNodeText(panel, "<dy=1.1>\n<font-size:-1>\n" + text);
}
