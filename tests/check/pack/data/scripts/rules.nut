// What the game calls by name; onKill is missing.
function levelFinished_Good(next) {}
function levelFinished_Bad(next) {}
function onCollision(event) {}
function onHit(object) {}
function activateFirespot(spot) {}
