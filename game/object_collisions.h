#pragma once

#include "physics_world.h"

// Turns touching pairs of game objects into the scripts' collision events: "onCollision" with
// both objects' body tables, whose changes (health in "_hp" included) are applied back, then
// "onHit" or "onKill" for each object. A killed object is marked dead and its body taken out of
// the simulation at once, then its node is deleted; destroying a "TARGET" loses the level.
// Objects without object info, or already killed, raise no events.
class CObjectCollisions : public IPhysicsContactHandler {
public:
    void onCollision(irr::scene::ISceneNode* first, irr::scene::ISceneNode* second) override;
};

// The game's handler, installed in the physics world when the game starts.
CObjectCollisions& objectCollisions();
