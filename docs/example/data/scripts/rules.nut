// The functions the game calls by name. Every script file is compiled together with the others
// once preloading ends.

::levelsWon <- 0;
::levelsLost <- 0;

// Two objects with object info touch: each loses the other's attack from its health.
function onCollision(event)
{
    event._body1._hp -= event._body2._att;
    event._body2._hp -= event._body1._att;
}

function onHit(object) {}

function onKill(object)
{
    print("destroyed " + object._type + " by " + object._typeBy);
}

// The ship passed a fire spot: the script decides what it fires.
function activateFirespot(spot)
{
    print("fire at " + spot._name);
}

function showFireTutorial(spot) {}

function levelFinished_Good(nextLevel)
{
    ::levelsWon++;
    print("levelFinished_Good " + nextLevel);
}

function levelFinished_Bad(nextLevel)
{
    ::levelsLost++;
    print("levelFinished_Bad " + nextLevel);
}
