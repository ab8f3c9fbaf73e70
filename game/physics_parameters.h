#pragma once

#include <string>
#include <vector>

// The items of a "-Animation.Physics2D:" value: free text of name[value] items in any order;
// a missing item reads as empty (0).
struct PhysicsParameters {
    std::string shape;
    float shapeSize = 1;
    float vx = 0;
    float vy = 0;
    float speed = 0;
    float damping = 0;
    float restitution = 0;
    float density = 0;
    bool hasAffinityModifier = false;
    float affinityModifier = 1;
    int trackRotation = 0;
    int collisionGroup = 0;
    int collisionCategory = 0;
    int collisionMask = 0;
    float affinityForce = 0;
    float affinityRadius = 0;
    float affinityTrembling = 0;
    float affinityDeadZone = 0;
};

// The names of every item the parser reads.
const std::vector<std::string>& physicsParameterNames();

// Reads every item; a shape size with magnitude below 0.0001 becomes 1. Category and mask are read
// only when the mask item is not empty.
PhysicsParameters parsePhysicsParameters(const std::string& text);
