#include "physics_animator.h"

#include "physics_parameters.h"
#include "physics_world.h"

#include "scene/node_base.h"
#include "scene/node_sprite.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Collects the fixtures overlapping a box, up to a limit.
class FixtureCollector : public b2QueryCallback {
public:
    explicit FixtureCollector(size_t limit) : limit(limit) {}

    bool ReportFixture(b2Fixture* fixture) override {
        fixtures.push_back(fixture);
        return fixtures.size() < limit;
    }

    std::vector<b2Fixture*> fixtures;

private:
    size_t limit;
};

CPhysicsAnimator* animatorOf(b2Body* body) {
    return reinterpret_cast<CPhysicsAnimator*>(body->GetUserData().pointer);
}

} // namespace

float nodeFlatRotation(irr::scene::ISceneNode* node) {
    const CSpriteNode* sprite = dynamic_cast<const CSpriteNode*>(node);
    return sprite != nullptr ? sprite->getFlatRotation() : 0.0f;
}

void setNodeFlatRotation(irr::scene::ISceneNode* node, float radians) {
    if (CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(node)) {
        sprite->setFlatRotation(radians);
    }
}

CPhysicsAnimator::CPhysicsAnimator(const std::string& parameters, bool isWorldStepper)
    : Parameters(parameters), IsWorldStepper(isWorldStepper ? 1 : 0) {
    setBaseTimer(1);
}

CPhysicsAnimator::~CPhysicsAnimator() {
    destroyBody();
    if (IsWorldStepper != 0 && CPhysicsWorld::exists()) {
        CPhysicsWorld::get().forgetStepper(this);
    }
}

void CPhysicsAnimator::finish() {
    destroyBody();
    CBaseAnimator::finish();
}

void CPhysicsAnimator::destroyBody() {
    if (Body != nullptr && CPhysicsWorld::exists()) {
        CPhysicsWorld::get().getWorld().DestroyBody(Body);
    }
    Body = nullptr;
}

void CPhysicsAnimator::disableBody() {
    if (Body != nullptr) {
        Body->SetEnabled(false);
    }
}

bool CPhysicsAnimator::isBodyActive() const {
    return Body != nullptr && Body->IsEnabled();
}

void CPhysicsAnimator::onAttached(irr::scene::ISceneNode* node) {
    if (IsWorldStepper != 0 || Parameters.empty() || node == nullptr) {
        return;
    }
    buildBody(node);
}

void CPhysicsAnimator::buildBody(irr::scene::ISceneNode* node) {
    const PhysicsParameters p = parsePhysicsParameters(Parameters);
    AffinityForce = p.affinityForce;
    AffinityRadius = p.affinityRadius;
    AffinityTrembling = p.affinityTrembling;
    AffinityDeadZone = p.affinityDeadZone;
    AffinityModifier = p.affinityModifier;
    TrackRotation = p.trackRotation;

    irr::core::dimension2df size(1, 1);
    if (const CNodeBasement* basement = dynamic_cast<const CNodeBasement*>(node)) {
        size = basement->getSize();
    }
    StartPosition = node->getPosition();
    const float rotation = nodeFlatRotation(node);

    b2PolygonShape box;
    b2CircleShape circle;
    b2Shape* shape = nullptr;
    if (p.shape == "box") {
        box.SetAsBox(std::max(p.shapeSize * size.Width * 0.5f, kMinShapeExtent),
                     std::max(p.shapeSize * size.Height * 0.5f, kMinShapeExtent));
        shape = &box;
        TrackRotation = 2;
    } else if (p.shape == "circle") {
        circle.m_radius =
            std::max(p.shapeSize * std::max(size.Width, size.Height) * 0.5f, kMinShapeExtent);
        shape = &circle;
    }

    b2BodyDef definition;
    definition.userData.pointer = reinterpret_cast<uintptr_t>(this);
    // Box2D refuses a negative damping; it counts as none.
    definition.linearDamping = std::max(p.damping, 0.0f);
    definition.angularDamping = 0.01f;
    definition.allowSleep = true;
    definition.awake = true;
    // A body without mass does not move: Box2D would give a dynamic body without density a mass.
    // A negative density (which Box2D cannot simulate) counts as none.
    const float density = std::max(p.density, 0.0f);
    definition.type = shape != nullptr && density > 0 ? b2_dynamicBody : b2_staticBody;
    definition.position.Set(StartPosition.X, StartPosition.Y);
    definition.angle = rotation;

    CPhysicsWorld& world = CPhysicsWorld::get();
    world.ensureStepper();
    Body = world.getWorld().CreateBody(&definition);
    if (Body == nullptr) {
        reportError("Can not create physbody!!!", false);
        return;
    }
    if (shape != nullptr) {
        b2FixtureDef fixture;
        fixture.shape = shape;
        fixture.friction = 0.2f;
        fixture.density = density;
        fixture.restitution = p.restitution;
        if (p.collisionGroup != 0) {
            fixture.filter.groupIndex = static_cast<int16>(p.collisionGroup);
        }
        if (p.collisionCategory != 0 || p.collisionMask != 0) {
            fixture.filter.categoryBits = static_cast<uint16>(p.collisionCategory);
            fixture.filter.maskBits = static_cast<uint16>(p.collisionMask);
        }
        Body->CreateFixture(&fixture);
    }
    Body->SetLinearVelocity(b2Vec2(p.vx * p.speed, p.vy * p.speed));
}

void CPhysicsAnimator::onStep(irr::scene::ISceneNode* node, float, irr::u32) {
    if (IsWorldStepper != 0) {
        CPhysicsWorld::get().step();
        return;
    }
    if (Body == nullptr || node == nullptr) {
        return;
    }
    followBody(node);
    if (AffinityRadius > 0.1f && Body->IsEnabled()) {
        applyAffinity();
    }
}

void CPhysicsAnimator::followBody(irr::scene::ISceneNode* node) {
    const b2Vec2& position = Body->GetPosition();
    node->setPosition(irr::core::vector3df(position.x, position.y, StartPosition.Z));
    if (TrackRotation == 0) {
        return;
    }
    if (TrackRotation == 2) {
        TrackRotation = 1;
        Body->SetTransform(Body->GetPosition(), nodeFlatRotation(node));
    }
    setNodeFlatRotation(node, Body->GetAngle());
}

void CPhysicsAnimator::applyAffinity() {
    const b2Vec2 centre = Body->GetWorldCenter();
    const b2Vec2 reach(AffinityRadius, AffinityRadius);
    b2AABB area;
    area.lowerBound = centre - reach;
    area.upperBound = centre + reach;
    FixtureCollector collector(kMaxAffinityShapes);
    CPhysicsWorld::get().getWorld().QueryAABB(&collector, area);

    for (b2Fixture* fixture : collector.fixtures) {
        b2Body* other = fixture->GetBody();
        if (other == Body) {
            continue;
        }
        b2Vec2 direction = centre - other->GetWorldCenter();
        const float distance = direction.Length();
        const CPhysicsAnimator* animator = animatorOf(other);
        const float modifier = animator != nullptr ? animator->AffinityModifier : 1.0f;
        if (distance <= 0.01f || distance >= AffinityRadius || std::fabs(modifier) <= 0.001f ||
            distance < AffinityRadius * AffinityDeadZone) {
            continue;
        }
        direction *= 1.0f / distance;
        if (AffinityTrembling > 0.0001f) {
            direction.x += randomFloat(-AffinityTrembling, AffinityTrembling);
            direction.y += randomFloat(-AffinityTrembling, AffinityTrembling);
        }
        const float scale = AffinityForce * modifier;
        other->SetAwake(true);
        other->ApplyForceToCenter(b2Vec2(direction.x * scale, direction.y * scale), true);
    }
}
