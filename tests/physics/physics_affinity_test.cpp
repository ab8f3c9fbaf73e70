#include "physics_fixture.h"

#include <cmath>

namespace {

// The number of world steps the velocity amounts to under a constant force of `force`.
float stepsOfForce(const CPhysicsAnimator* animator, float force) {
    const b2Body* body = animator->getBody();
    return body->GetLinearVelocity().Length() * body->GetMass() /
           (force * CPhysicsWorld::kTimeStep);
}

} // namespace

TEST_F(PhysicsTest, AffinityPullsWithinTheRadiusWhateverTheDistance) {
    body("affinityforce[5] affinityradius[3]", 0, 0);
    CPhysicsAnimator* near = body("shape[circle]density[1]", 2, 0);
    CPhysicsAnimator* farther = body("shape[circle]density[1]", 0, -2.5f);
    CPhysicsAnimator* outside = body("shape[circle]density[1]", 3.2f, 0);
    frames(6);

    const b2Vec2 pull = near->getBody()->GetLinearVelocity();
    EXPECT_LT(pull.x, 0.0f);
    EXPECT_NEAR(pull.y, 0.0f, 1e-6f);
    const float steps = stepsOfForce(near, 5);
    EXPECT_GE(steps, 1.0f);
    EXPECT_NEAR(steps, std::round(steps), 1e-3f);
    EXPECT_GT(farther->getBody()->GetLinearVelocity().y, 0.0f);
    EXPECT_NEAR(stepsOfForce(farther, 5), steps, 1e-3f);
    EXPECT_EQ(outside->getBody()->GetLinearVelocity(), b2Vec2(0, 0));
}

TEST_F(PhysicsTest, NegativeAffinityPushesAndTheDeadZoneIsQuiet) {
    body("affinityforce[-5] affinityradius[3] affinitydeadzone[0.5]", 0, 0);
    CPhysicsAnimator* inDeadZone = body("shape[circle]density[1]", 1.4f, 0);
    CPhysicsAnimator* beyond = body("shape[circle]density[1]", -2, 0);
    frames(6);
    EXPECT_EQ(inDeadZone->getBody()->GetLinearVelocity(), b2Vec2(0, 0));
    EXPECT_LT(beyond->getBody()->GetLinearVelocity().x, 0.0f);
}

TEST_F(PhysicsTest, AffinityModifierScalesOrReversesTheForce) {
    body("affinityforce[5] affinityradius[3]", 0, 0);
    CPhysicsAnimator* plain = body("shape[circle]density[1]", 2, 0);
    CPhysicsAnimator* immune = body("shape[circle]density[1]affinitymodifier[0]", -2, 0);
    CPhysicsAnimator* reversed = body("shape[circle]density[1]affinitymodifier[-1]", 0, 2);
    EXPECT_FLOAT_EQ(immune->getAffinityModifier(), 0.0f);
    EXPECT_FLOAT_EQ(plain->getAffinityModifier(), 1.0f);
    frames(6);
    EXPECT_EQ(immune->getBody()->GetLinearVelocity(), b2Vec2(0, 0));
    EXPECT_GT(reversed->getBody()->GetLinearVelocity().y, 0.0f);
    EXPECT_NEAR(stepsOfForce(reversed, 5), stepsOfForce(plain, 5), 1e-3f);
}

TEST_F(PhysicsTest, ABodyWithoutShapeAttractsButNeverCollides) {
    CPhysicsAnimator* hole = body("affinityforce[5] affinityradius[3]", 0, 0);
    EXPECT_EQ(hole->getBody()->GetType(), b2_staticBody);
    EXPECT_EQ(hole->getBody()->GetFixtureList(), nullptr);
    CPhysicsAnimator* ball = body("shape[circle]density[1]", 1, 0.3f);
    frames(80);
    EXPECT_TRUE(handler.pairs.empty());
    EXPECT_EQ(hole->getBody()->GetPosition(), b2Vec2(0, 0));
    EXPECT_LT(ball->getNode()->getPosition().X, 1.0f);
}

TEST_F(PhysicsTest, TremblingJittersTheDirection) {
    body("affinityforce[5] affinityradius[3] affinitytrembling[0.5]", 0, 0);
    CPhysicsAnimator* ball = body("shape[circle]density[1]", 2, 0);
    frames(6);
    EXPECT_LT(ball->getBody()->GetLinearVelocity().x, 0.0f);
    EXPECT_GT(std::fabs(ball->getBody()->GetLinearVelocity().y), 1e-6f);
}
