#pragma once

#include "animators/abaseanimators.h"

#include <box2d/box2d.h>
#include <irrlicht/irrlicht.h>

#include <string>

// Makes its node a rigid body of the physics world (CPhysicsWorld), built from the parameter text
// of "-Animation.Physics2D:" when attached; each step the node follows the body, and a body with
// an affinity pushes or pulls the bodies around it. With the stepper flag (and no parameters) it
// steps the world instead. Runs on base timer 1, so nothing moves while the level is not in play.
class CPhysicsAnimator : public CBaseAnimator {
public:
    static constexpr int kMaxAffinityShapes = 100;
    // The smallest half extent (or radius) of a shape; smaller or negative sizes are raised to it.
    static constexpr float kMinShapeExtent = 0.01f;

    explicit CPhysicsAnimator(const std::string& parameters, bool isWorldStepper = false);
    // Destroys the body in the world.
    ~CPhysicsAnimator() override;

    // Builds the body; nothing for the stepper or an empty parameter text.
    void onAttached(irr::scene::ISceneNode* node) override;
    // Stepper: one world step and the touching pairs delivered. Body: node follows the body, then
    // the affinity acts on the bodies within its radius.
    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;
    // Destroys the body as well.
    void finish() override;

    // Takes the body out of the simulation at once (a killed object): it appears in no more
    // touching pairs, queries or collisions.
    void disableBody();
    // True while the animator has a body taking part in the simulation.
    bool isBodyActive() const;

    b2Body* getBody() const { return Body; }
    const std::string& getParameters() const { return Parameters; }
    float getAffinityModifier() const { return AffinityModifier; }
    int getTrackRotation() const { return TrackRotation; }
    float getAffinityForce() const { return AffinityForce; }
    float getAffinityRadius() const { return AffinityRadius; }
    float getAffinityTrembling() const { return AffinityTrembling; }
    float getAffinityDeadZone() const { return AffinityDeadZone; }
    bool isWorldStepper() const { return IsWorldStepper != 0; }

private:
    void buildBody(irr::scene::ISceneNode* node);
    void followBody(irr::scene::ISceneNode* node);
    void applyAffinity();
    void destroyBody();

    float AffinityModifier = 1;
    irr::core::vector3df StartPosition;
    b2Body* Body = nullptr;
    std::string Parameters;
    int TrackRotation = 0;
    float AffinityForce = 0;
    float AffinityRadius = 0;
    float AffinityTrembling = 0;
    float AffinityDeadZone = 0;
    int IsWorldStepper = 0;
};

// The rotation a node shows in the screen plane, in radians counter-clockwise (the flat rotation
// of sprites; 0 for other nodes), and its setter (other nodes are left alone).
float nodeFlatRotation(irr::scene::ISceneNode* node);
void setNodeFlatRotation(irr::scene::ISceneNode* node, float radians);
