// The rules of play: the functions the engine calls during a level.

// What the ship fires: a rock flying at this many units per second (of physics time) that takes
// this much health from what it hits.
const SHOT_SPEED = 14.0;
const SHOT_ATTACK = 60;

// Two objects with object info touch: a black hole's core swallows what falls in; anything else
// takes the other's attack from its health.
function onCollision(event)
{
    local a = event._body1;
    local b = event._body2;
    if (a._type == "hole" || b._type == "hole")
    {
        local other = a._type == "hole" ? b : a;
        other._hp = 0;
        return;
    }
    local attackOfA = a._att;
    a._hp -= b._att;
    b._hp -= attackOfA;
}

function onHit(object) {}

// The engine removes the object itself; a destroyed TARGET also loses the level.
function onKill(object)
{
    print("destroyed " + object._type + " by " + object._typeBy);
}

// The ship passes a fire spot: it fires a rock from the spot's start towards its end.
function activateFirespot(spot)
{
    local dx = spot._xTo - spot._x;
    local dy = spot._yTo - spot._y;
    local length = sqrt(dx * dx + dy * dy);
    if (length < 0.001)
        return;
    local ship = core_GetNode("mad_ship");
    local text = format("raw:\\-Texture:\\actors\\rock_small.png\n-Size:1\n-Name:shot\n"
        + "-Animation.Physics2D:shape[circle] shapesize[0.9] density[1] vx[%.3f] vy[%.3f] speed[%.2f]\n"
        + "-GameLogic-ObjectInfo:h1 a%d b0 tshot\n",
        dx / length, dy / length, SHOT_SPEED, SHOT_ATTACK);
    core_CreateSprite(text, {x = spot._x, y = spot._y, z = -0.1}, ship._parentid);
}

function showFireTutorial(spot) {}
