#pragma once

#include "animators/animator_fixture.h"
#include "physics_animator.h"
#include "physics_world.h"
#include "scene/node_sprite.h"

#include <box2d/box2d.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Records the touching pairs the world delivers, optionally acting on them like game logic does.
class RecordingContactHandler : public IPhysicsContactHandler {
public:
    void onCollision(irr::scene::ISceneNode* first, irr::scene::ISceneNode* second) override {
        pairs.emplace_back(first, second);
        if (CPhysicsWorld::get().getWorld().IsLocked()) {
            ++lockedCalls;
        }
        if (react) {
            react(first, second);
        }
    }

    std::vector<std::pair<irr::scene::ISceneNode*, irr::scene::ISceneNode*>> pairs;
    int lockedCalls = 0;
    std::function<void(irr::scene::ISceneNode*, irr::scene::ISceneNode*)> react;
};

// Sprites with physics animators in the one world, stepped by its stepper on the scene's root,
// with driven time; each frame is 25 ms, one world step.
class PhysicsTest : public AnimatorTest {
protected:
    void SetUp() override {
        AnimatorTest::SetUp();
        previousRoot = getEngine().rootNode();
        getEngine().rootNode() = scene->getRootSceneNode();
        CPhysicsWorld::get().setContactHandler(&handler);
    }

    void TearDown() override {
        CPhysicsWorld::get().setContactHandler(nullptr);
        AnimatorTest::TearDown();
        getEngine().rootNode() = previousRoot;
        EXPECT_EQ(CPhysicsWorld::get().getWorld().GetBodyCount(), 0);
    }

    // A sprite at (x, y) of the given size with a physics animator built from `parameters`.
    CPhysicsAnimator* body(const std::string& parameters, float x, float y,
                           irr::core::dimension2df size = {0.5f, 0.5f}) {
        CSpriteNode* sprite =
            new CSpriteNode(scene->getRootSceneNode(), scene, 8001, {x, y, 3}, size);
        sprite->drop();
        return static_cast<CPhysicsAnimator*>(
            attachAnimator(sprite, new CPhysicsAnimator(parameters)));
    }

    // `count` frames of 25 ms after the last one.
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            now += 25;
            frameAt(now);
        }
    }

    irr::u32 now = kStart;
    RecordingContactHandler handler;
    irr::scene::ISceneNode* previousRoot = nullptr;
};
