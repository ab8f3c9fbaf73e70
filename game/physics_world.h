#pragma once

#include <box2d/box2d.h>
#include <irrlicht/irrlicht.h>

#include <vector>

class CPhysicsAnimator;

// Receives the touching pairs of bodies after each world step, outside the simulation: it may
// delete nodes, remove animators or disable bodies. A pair whose body was disabled or destroyed by
// an earlier call in the same dispatch is not delivered.
class IPhysicsContactHandler {
public:
    virtual ~IPhysicsContactHandler() = default;
    virtual void onCollision(irr::scene::ISceneNode* first, irr::scene::ISceneNode* second) = 0;
};

// The one simulation of the process: a Box2D world without gravity, created on first use and
// destroyed at process exit, stepped by a world-stepper animator on the engine's root node.
class CPhysicsWorld {
public:
    static constexpr float kTimeStep = 1.0f / 60.0f;
    static constexpr int kVelocityIterations = 10;
    static constexpr int kPositionIterations = 10;

    // The world, created on first use.
    static CPhysicsWorld& get();
    // False before the first use and after process exit has destroyed the world.
    static bool exists();

    b2World& getWorld() { return World; }
    // Attaches a world stepper (on base timer 1) to the engine's root node unless one is there.
    void ensureStepper();
    // One fixed step; then the touching pairs are collected and handed to the contact handler.
    void step();
    // The handler of touching pairs (null: none); the caller keeps it alive while it is set.
    void setContactHandler(IPhysicsContactHandler* handler) { Handler = handler; }
    // Called by a stepper that goes away.
    void forgetStepper(const CPhysicsAnimator* stepper);

    CPhysicsWorld(const CPhysicsWorld&) = delete;
    CPhysicsWorld& operator=(const CPhysicsWorld&) = delete;
    ~CPhysicsWorld();

private:
    CPhysicsWorld();

    // A touching pair held (animators and nodes grabbed) until it has been delivered.
    struct Pair {
        CPhysicsAnimator* first;
        CPhysicsAnimator* second;
        irr::scene::ISceneNode* firstNode;
        irr::scene::ISceneNode* secondNode;
    };
    void collectPairs();
    void deliverPairs();

    b2World World;
    CPhysicsAnimator* Stepper = nullptr;
    IPhysicsContactHandler* Handler = nullptr;
    std::vector<Pair> Pairs;
};
