#include "physics_fixture.h"

#include "utils/math_fastmath.h"

#include <cmath>

namespace {

b2Vec2 halfExtents(const CPhysicsAnimator* animator) {
    const auto* box =
        static_cast<const b2PolygonShape*>(animator->getBody()->GetFixtureList()->GetShape());
    return box->m_vertices[2];
}

const b2Filter& filterOf(const CPhysicsAnimator* animator) {
    return animator->getBody()->GetFixtureList()->GetFilterData();
}

} // namespace

TEST_F(PhysicsTest, ShapesFollowTheNodeSizeAndTheParameterItems) {
    CPhysicsAnimator* box = body("shape[box] shapesize[0] density[1]", 0, 0, {2, 1});
    EXPECT_FLOAT_EQ(halfExtents(box).x, 1.0f);
    EXPECT_FLOAT_EQ(halfExtents(box).y, 0.5f);
    EXPECT_EQ(box->getTrackRotation(), 2);
    EXPECT_FLOAT_EQ(box->getBody()->GetFixtureList()->GetFriction(), 0.2f);

    CPhysicsAnimator* circle =
        body("density[1]shape[circle]shapesize[1]restitution[0.5]", 5, 0, {2, 1});
    b2Fixture* fixture = circle->getBody()->GetFixtureList();
    EXPECT_FLOAT_EQ(fixture->GetShape()->m_radius, 1.0f);
    EXPECT_FLOAT_EQ(fixture->GetRestitution(), 0.5f);
    EXPECT_EQ(circle->getTrackRotation(), 0);

    CPhysicsAnimator* moving =
        body("shape[circle]density[1]vx[1]vy[-2]speed[3]damping[0.25]", 10, 0);
    EXPECT_EQ(moving->getBody()->GetLinearVelocity(), b2Vec2(3, -6));
    EXPECT_FLOAT_EQ(moving->getBody()->GetLinearDamping(), 0.25f);
    EXPECT_FLOAT_EQ(moving->getBody()->GetPosition().x, 10.0f);
}

TEST_F(PhysicsTest, ZeroOrNegativeSizesAndDensitiesAreMadeSafe) {
    CPhysicsAnimator* negative = body("shape[box]shapesize[-1]density[1]", 0, 0, {2, 1});
    EXPECT_FLOAT_EQ(halfExtents(negative).x, CPhysicsAnimator::kMinShapeExtent);
    EXPECT_FLOAT_EQ(halfExtents(negative).y, CPhysicsAnimator::kMinShapeExtent);
    EXPECT_GT(negative->getBody()->GetMass(), 0.0f);

    CPhysicsAnimator* circle = body("shape[circle]shapesize[-2]density[1]", 5, 0);
    EXPECT_FLOAT_EQ(circle->getBody()->GetFixtureList()->GetShape()->m_radius,
                    CPhysicsAnimator::kMinShapeExtent);
    CPhysicsAnimator* negativeDensity = body("shape[circle]density[-1]damping[-1]", 10, 0);
    EXPECT_EQ(negativeDensity->getBody()->GetType(), b2_staticBody);
    EXPECT_FLOAT_EQ(negativeDensity->getBody()->GetLinearDamping(), 0.0f);
    frames(4);
    EXPECT_TRUE(std::isfinite(negative->getBody()->GetPosition().x));
}

TEST_F(PhysicsTest, CategoryMaskAndGroupItemsSetTheFilter) {
    const b2Filter defaults;
    const b2Filter& zeroMask = filterOf(body("shape[circle]density[1]collisionmask[0]", 0, 0));
    EXPECT_EQ(zeroMask.categoryBits, defaults.categoryBits);
    EXPECT_EQ(zeroMask.maskBits, defaults.maskBits);

    const b2Filter& categoryWithoutMask =
        filterOf(body("shape[circle]density[1]collisioncategory[101]", 3, 0));
    EXPECT_EQ(categoryWithoutMask.categoryBits, defaults.categoryBits);

    const b2Filter& set = filterOf(body(
        "shape[circle]density[1]collisioncategory[101]collisionmask[110]collisiongroup[-3]", 6, 0));
    EXPECT_EQ(set.categoryBits, 5);
    EXPECT_EQ(set.maskBits, 6);
    EXPECT_EQ(set.groupIndex, -3);
}

TEST_F(PhysicsTest, DensityZeroStaysPutAndOthersBounceOffIt) {
    CPhysicsAnimator* wall = body("shape[box]density[0]restitution[1]", 0, 0, {1, 4});
    CPhysicsAnimator* ball =
        body("shape[circle]density[1]restitution[1]vx[-1]speed[6]", 3, 0, {1, 1});
    EXPECT_EQ(wall->getBody()->GetType(), b2_staticBody);
    EXPECT_EQ(ball->getBody()->GetType(), b2_dynamicBody);

    frames(40);
    EXPECT_EQ(wall->getBody()->GetPosition(), b2Vec2(0, 0));
    EXPECT_EQ(wall->getNode()->getPosition(), irr::core::vector3df(0, 0, 3));
    EXPECT_GT(ball->getBody()->GetLinearVelocity().x, 0.0f);
    EXPECT_GT(ball->getNode()->getPosition().X, 1.0f);
    EXPECT_FLOAT_EQ(ball->getNode()->getPosition().Z, 3.0f);
}

TEST_F(PhysicsTest, CollisionsFollowCategoryAndMask) {
    auto collides = [this](const std::string& first, const std::string& second) {
        handler.pairs.clear();
        CPhysicsAnimator* a = body("shape[circle]density[1]" + first, 0, 0, {1, 1});
        CPhysicsAnimator* b = body("shape[circle]density[1]" + second, 0.5f, 0, {1, 1});
        frames(2);
        const bool touched = !handler.pairs.empty();
        a->getNode()->remove();
        b->getNode()->remove();
        return touched;
    };
    EXPECT_TRUE(collides("", ""));
    EXPECT_FALSE(collides("collisioncategory[01]collisionmask[01]",
                          "collisioncategory[10]collisionmask[10]"));
    EXPECT_TRUE(collides("collisioncategory[01]collisionmask[11]",
                         "collisioncategory[10]collisionmask[01]"));
    EXPECT_FALSE(collides("collisiongroup[-2]", "collisiongroup[-2]"));
    EXPECT_TRUE(collides("collisiongroup[2]", "collisiongroup[2]"));
}

TEST_F(PhysicsTest, PausedLevelTimeFreezesBodiesAndContacts) {
    game->speeds[1] = 0;
    CPhysicsAnimator* ball = body("shape[circle]density[1]vx[1]speed[4]", 0, 0, {1, 1});
    body("shape[circle]density[1]", 3, 0.2f, {1, 1});
    frames(40);
    EXPECT_EQ(ball->getBody()->GetPosition(), b2Vec2(0, 0));
    EXPECT_TRUE(handler.pairs.empty());

    game->speeds[1] = 1;
    frames(40);
    EXPECT_GT(ball->getNode()->getPosition().X, 0.5f);
    EXPECT_FALSE(handler.pairs.empty());
}

TEST_F(PhysicsTest, RotationTurnsTheSpriteTheWayTheBodyTurns) {
    CPhysicsAnimator* box = body("shape[box]density[1]", 0, 0, {2, 1});
    CSpriteNode* sprite = static_cast<CSpriteNode*>(box->getNode());
    sprite->setFlatRotation(0.5f);
    frames(1);
    EXPECT_FLOAT_EQ(box->getBody()->GetAngle(), 0.5f);
    EXPECT_EQ(box->getTrackRotation(), 1);

    box->getBody()->SetAngularVelocity(3);
    frames(10);
    const float angle = box->getBody()->GetAngle();
    EXPECT_GT(angle, 0.6f);
    EXPECT_FLOAT_EQ(sprite->getFlatRotation(), angle);
    // The sprite's right-hand side lands where the body's does.
    const irr::core::vector3df side = rotateAboutZ({1, 0, 0}, sprite->getFlatRotation());
    const b2Vec2 bodySide = box->getBody()->GetWorldVector(b2Vec2(1, 0));
    EXPECT_NEAR(side.X, bodySide.x, 1e-5f);
    EXPECT_NEAR(side.Y, bodySide.y, 1e-5f);

    CPhysicsAnimator* still = body("shape[circle]density[1]", 5, 0);
    CPhysicsAnimator* turning = body("shape[circle]density[1]trackrotation[1]", 10, 0);
    still->getBody()->SetAngularVelocity(3);
    turning->getBody()->SetAngularVelocity(3);
    frames(5);
    EXPECT_FLOAT_EQ(static_cast<CSpriteNode*>(still->getNode())->getFlatRotation(), 0.0f);
    EXPECT_GT(static_cast<CSpriteNode*>(turning->getNode())->getFlatRotation(), 0.0f);
}

TEST_F(PhysicsTest, OneStepperOnTheRootStepsTheWorld) {
    body("shape[circle]density[1]", 0, 0);
    body("shape[circle]density[1]", 3, 0);
    int steppers = 0;
    for (irr::scene::ISceneNodeAnimator* animator : scene->getRootSceneNode()->getAnimators()) {
        const auto* physics = dynamic_cast<const CPhysicsAnimator*>(animator);
        steppers += physics != nullptr && physics->isWorldStepper() ? 1 : 0;
    }
    EXPECT_EQ(steppers, 1);
}

TEST_F(PhysicsTest, EmptyParametersMakeNoBody) {
    EXPECT_EQ(body("", 0, 0)->getBody(), nullptr);
    EXPECT_EQ(CPhysicsWorld::get().getWorld().GetBodyCount(), 0);
}
