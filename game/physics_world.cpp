#include "physics_world.h"

#include "physics_animator.h"

#include "animators/abaseanimators.h"
#include "core/vellumengine.h"
#include "utils/debug.h"

namespace {

// The world while it exists; a plain pointer, so it can still be asked after process exit has
// destroyed the world (bodies are then no longer destroyed in it).
CPhysicsWorld* liveWorld = nullptr;

// Destroys the world at process exit.
struct WorldOwner {
    ~WorldOwner() {
        delete liveWorld;
        liveWorld = nullptr;
    }
};

CPhysicsAnimator* animatorOf(b2Fixture* fixture) {
    return reinterpret_cast<CPhysicsAnimator*>(fixture->GetBody()->GetUserData().pointer);
}

} // namespace

CPhysicsWorld::CPhysicsWorld() : World(b2Vec2(0, 0)) {
    World.SetAllowSleeping(true);
}

CPhysicsWorld::~CPhysicsWorld() = default;

CPhysicsWorld& CPhysicsWorld::get() {
    static WorldOwner owner;
    if (liveWorld == nullptr) {
        liveWorld = new CPhysicsWorld();
    }
    return *liveWorld;
}

bool CPhysicsWorld::exists() {
    return liveWorld != nullptr;
}

void CPhysicsWorld::ensureStepper() {
    irr::scene::ISceneNode* root = getEngine().rootNode();
    if (root == nullptr) {
        logDebug("Physics world has no root node to step it", __FILE__, __LINE__);
        return;
    }
    if (Stepper != nullptr) {
        if (Stepper->getNode() == root && !Stepper->isRemoved()) {
            return;
        }
        detachAnimator(Stepper);
        Stepper = nullptr;
    }
    CPhysicsAnimator* stepper = new CPhysicsAnimator("", true);
    Stepper = stepper;
    attachAnimator(root, stepper);
}

void CPhysicsWorld::forgetStepper(const CPhysicsAnimator* stepper) {
    if (Stepper == stepper) {
        Stepper = nullptr;
    }
}

void CPhysicsWorld::step() {
    World.Step(kTimeStep, kVelocityIterations, kPositionIterations);
    collectPairs();
    deliverPairs();
}

void CPhysicsWorld::collectPairs() {
    for (b2Contact* contact = World.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        if (!contact->IsTouching()) {
            continue;
        }
        CPhysicsAnimator* first = animatorOf(contact->GetFixtureA());
        CPhysicsAnimator* second = animatorOf(contact->GetFixtureB());
        if (first == nullptr || second == nullptr) {
            continue;
        }
        Pair pair{first, second, first->getNode(), second->getNode()};
        pair.first->grab();
        pair.second->grab();
        pair.firstNode->grab();
        pair.secondNode->grab();
        Pairs.push_back(pair);
    }
}

void CPhysicsWorld::deliverPairs() {
    std::vector<Pair> pairs;
    pairs.swap(Pairs);
    for (const Pair& pair : pairs) {
        if (Handler != nullptr && pair.first->isBodyActive() && pair.second->isBodyActive()) {
            Handler->onCollision(pair.firstNode, pair.secondNode);
        }
    }
    for (const Pair& pair : pairs) {
        pair.first->drop();
        pair.second->drop();
        pair.firstNode->drop();
        pair.secondNode->drop();
    }
}
