#include "physics_fixture.h"

#include "scene/node_utilities.h"

#include <algorithm>

namespace {

bool holds(const RecordingContactHandler& handler, irr::scene::ISceneNode* a,
           irr::scene::ISceneNode* b) {
    return std::any_of(handler.pairs.begin(), handler.pairs.end(), [&](const auto& pair) {
        return (pair.first == a && pair.second == b) || (pair.first == b && pair.second == a);
    });
}

} // namespace

TEST_F(PhysicsTest, TouchingPairsAreDeliveredAfterEveryStepOutsideTheSimulation) {
    CPhysicsAnimator* a = body("shape[box]density[0]", 0, 0, {1, 1});
    CPhysicsAnimator* b = body("shape[box]density[0]", 0.9f, 0, {1, 1});
    CPhysicsAnimator* c = body("shape[circle]density[1]", 0, 0.9f, {1, 1});
    body("shape[circle]density[1]", 10, 10, {1, 1});
    frames(1);
    EXPECT_TRUE(holds(handler, a->getNode(), c->getNode()));
    // Two static bodies never touch.
    EXPECT_FALSE(holds(handler, a->getNode(), b->getNode()));

    const size_t afterOneStep = handler.pairs.size();
    c->getBody()->SetLinearVelocity(b2Vec2(0, 0));
    c->getBody()->SetType(b2_staticBody);
    b->getBody()->SetType(b2_dynamicBody);
    handler.pairs.clear();
    frames(3);
    EXPECT_GE(handler.pairs.size(), 3u);
    EXPECT_GE(afterOneStep, 1u);
    EXPECT_EQ(handler.lockedCalls, 0);
}

TEST_F(PhysicsTest, ADisabledBodyAppearsInNoFurtherPair) {
    CPhysicsAnimator* hub = body("shape[circle]density[1]", 0, 0, {1, 1});
    body("shape[circle]density[1]", 0.8f, 0, {1, 1});
    body("shape[circle]density[1]", -0.8f, 0, {1, 1});
    handler.react = [hub](irr::scene::ISceneNode* first, irr::scene::ISceneNode* second) {
        if (first == hub->getNode() || second == hub->getNode()) {
            hub->disableBody();
        }
    };
    frames(1);
    ASSERT_EQ(handler.pairs.size(), 1u);
    EXPECT_FALSE(hub->isBodyActive());
    handler.pairs.clear();
    frames(3);
    EXPECT_TRUE(handler.pairs.empty());
}

TEST_F(PhysicsTest, AHandlerMayDeleteNodesAndRemoveBodiesWhileItIsCalled) {
    for (int i = 0; i < 6; ++i) {
        body("shape[circle]density[1]", 0.3f * i, 0, {1, 1});
    }
    int removed = 0;
    handler.react = [&removed](irr::scene::ISceneNode* first, irr::scene::ISceneNode* second) {
        // Take the nodes out of the scene at once; later pairs may still name them.
        for (irr::scene::ISceneNode* node : {first, second}) {
            if (node->getParent() != nullptr) {
                node->remove();
                ++removed;
            }
        }
    };
    frames(1);
    EXPECT_GT(handler.pairs.size(), 1u);
    EXPECT_EQ(removed, 6);
    EXPECT_EQ(CPhysicsWorld::get().getWorld().GetBodyCount(), 0);
    handler.react = nullptr;
    handler.pairs.clear();
    frames(2);
    EXPECT_TRUE(handler.pairs.empty());
}

TEST_F(PhysicsTest, AnimatorRemovalDestroysItsBody) {
    body("shape[circle]density[1]", 0, 0, {1, 1});
    body("shape[circle]density[1]", 0.5f, 0, {1, 1});
    handler.react = [](irr::scene::ISceneNode* first, irr::scene::ISceneNode*) {
        deleteNode(first);
    };
    frames(1);
    EXPECT_EQ(handler.pairs.size(), 1u);
    EXPECT_EQ(CPhysicsWorld::get().getWorld().GetBodyCount(), 1);
}
