#pragma once

#include "animators/animator_fixture.h"
#include "factory/factory_scene.h"
#include "level_outcome.h"
#include "object_collisions.h"
#include "object_info.h"
#include "physics_world.h"
#include "platform/process.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_utilities.h"
#include "script/module_scripting.h"
#include "spriting.h"
#include "support/message_box_recorder.h"

#include <gtest/gtest.h>

#include <string>

// A game whose level time runs and whose sprites read the game's description keys.
class ObjectsGame : public SpeedGame {
public:
    SpriteDescription* createSpriteDescription() override { return new CGameSpriteDescription(); }
};

// Game objects made from descriptions on a NULL device, the physics world stepped on the
// scene's root by driven frames of 25 ms, the game's collision handler installed, a level
// started whose next level is "next_level", and scripts that log every event into `log` and
// deal each object the other's attack.
class GameObjectsTest : public FactoryScene<ObjectsGame> {
protected:
    void SetUp() override {
        program.copyTestImage("orange_16.png", "effects/health_bar.png");
        program.writeData("effects/health_bar.spr", "-Texture:health_bar.png\n");
        FactoryScene::SetUp();
        getEngine().setMainThreadId(currentThreadId());
        previousRoot = getEngine().rootNode();
        getEngine().rootNode() = scene->root();
        CPhysicsWorld::get().setContactHandler(&objectCollisions());
        startLevelOutcome("next_level");
        run("::log <- \"\";"
            "::onCollision <- function(t) {"
            "  ::log += \"collision \" + t._body1._name + \" \" + t._body2._name + \";\";"
            "  t._body1._hp -= t._body2._att; t._body2._hp -= t._body1._att; };"
            "::onHit <- function(t) { ::log += \"hit \" + t._name + \" by \" + t._typeBy + \";\"; "
            "};"
            "::onKill <- function(t) { ::log += \"kill \" + t._name + \" by \" + t._typeBy + "
            "\";\"; };"
            "::levelFinished_Bad <- function(next) { ::log += \"lost \" + next + \";\"; };"
            "::levelFinished_Good <- function(next) { ::log += \"won \" + next + \";\"; };");
    }
    void TearDown() override {
        // Script errors show boxes; none is expected.
        for (const auto& box : boxes.boxes()) {
            ADD_FAILURE() << box.text;
        }
        CPhysicsWorld::get().setContactHandler(nullptr);
        getEngine().getRenderer().drainDeletionQueue();
        getEngine().rootNode() = previousRoot;
        FactoryScene::TearDown();
        getEngine().setMainThreadId(0);
    }

    static squirrel::Object run(const std::string& code) {
        return getEngine().getScripting().vm().run(code, "test");
    }
    static std::string log() { return run("return ::log").toString(); }

    // A named game object at (x, y) from a description with the given object info and physics
    // parameters (none: no body).
    CNodeBasement* object(const std::string& name, const std::string& objectInfo, float x = 0,
                          float y = 0, const std::string& physics = std::string()) {
        std::string text =
            "-Texture:\\gui\\empty.png\n-Size:w0.5 h0.5\n-GameLogic-ObjectInfo:" + objectInfo +
            "\n";
        if (!physics.empty()) {
            text += "-Animation.Physics2D:" + physics + "\n";
        }
        CNodeBasement* node = createSprite("raw:\\" + text, 1, 1, {x, y, 3}, scene->root(), nullptr,
                                           "game_objects_test");
        if (node != nullptr) {
            setNodeName(node, name);
        }
        return node;
    }

    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            now += 25;
            device->getTimer()->setTime(now);
            getEngine().getRenderer().renderAll();
        }
    }

    irr::u32 now = 1000;
    irr::scene::ISceneNode* previousRoot = nullptr;
    MessageBoxRecorder boxes;
};
