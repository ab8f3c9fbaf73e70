#include "factory/factory_scene.h"
#include "gameimplementation.h"
#include "physics_animator.h"
#include "physics_world.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "spriting.h"

#include <gtest/gtest.h>

namespace {

// Sprites made by the node factory with the game as the engine's client.
class GameDescriptionNodes : public FactoryScene<CGameImplementation> {
protected:
    void SetUp() override {
        program.copyTestImage("orange_16.png", "gui/orange.png");
        FactoryScene::SetUp();
    }

    CNodeBasement* create(const std::string& source) {
        return createSprite(source, 1, 1, irr::core::vector3df(4, 5, 3), nullptr, nullptr,
                            "test:1");
    }

    static CPhysicsAnimator* physicsOf(irr::scene::ISceneNode* node) {
        for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
            if (auto* physics = dynamic_cast<CPhysicsAnimator*>(animator)) {
                return physics;
            }
        }
        return nullptr;
    }
};

TEST_F(GameDescriptionNodes, GameMakesItsOwnDescriptionRecords) {
    SpriteDescription* description = game->createSpriteDescription();
    EXPECT_NE(dynamic_cast<CGameSpriteDescription*>(description), nullptr);
    EXPECT_EQ(description->getReferenceCount(), 1);
    description->drop();
}

TEST_F(GameDescriptionNodes, PhysicsKeyGivesTheNodeABody) {
    program.writeData("gui/ball.spr", "-Texture:orange.png\n-Size:w2 h1\n"
                                      "-Animation.Physics2D:shape[circle]shapesize[1]density[1]\n");
    const int bodiesBefore = CPhysicsWorld::get().getWorld().GetBodyCount();
    CNodeBasement* node = create("gui\\ball.spr");
    ASSERT_NE(node, nullptr);
    CPhysicsAnimator* physics = physicsOf(node);
    ASSERT_NE(physics, nullptr);
    EXPECT_EQ(physics->getParameters(), "shape[circle]shapesize[1]density[1]");
    ASSERT_NE(physics->getBody(), nullptr);
    EXPECT_TRUE(physics->isBodyActive());
    EXPECT_EQ(physics->getBody()->GetType(), b2_dynamicBody);
    EXPECT_FLOAT_EQ(physics->getBody()->GetFixtureList()->GetShape()->m_radius, 1.0f);
    EXPECT_EQ(CPhysicsWorld::get().getWorld().GetBodyCount(), bodiesBefore + 1);

    node->remove();
    EXPECT_EQ(CPhysicsWorld::get().getWorld().GetBodyCount(), bodiesBefore);
}

TEST_F(GameDescriptionNodes, NodeWithoutPhysicsKeyGetsNoBody) {
    program.writeData("gui/plain.spr", "-Texture:orange.png\n-GameLogic-ObjectInfo:h0\n");
    CNodeBasement* node = create("gui\\plain.spr");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(physicsOf(node), nullptr);
}

} // namespace
