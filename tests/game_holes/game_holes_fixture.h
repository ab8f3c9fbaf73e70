#pragma once

#include "animators/animator_fixture.h"
#include "factory/factory_scene.h"
#include "hole_maker.h"
#include "input/module_mousekeyb.h"
#include "physics_animator.h"
#include "physics_world.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_utilities.h"
#include "script/screen_points.h"
#include "spriting.h"
#include "support/message_box_recorder.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

// A game whose sprites read the game's description keys.
class HolesGame : public SpeedGame {
public:
    SpriteDescription* createSpriteDescription() override { return new CGameSpriteDescription(); }
};

// An aimer made from a description on a NULL device, driven frames, the physics world stepped on
// the scene's root, hole sprites that pull (black) or push (white) within 3 units, and a level's
// shot queue and energy registered as the current level's.
class HoleMakerTest : public FactoryScene<HolesGame> {
protected:
    void SetUp() override {
        program.copyTestImage("orange_16.png", "actors/hole.png");
        program.writeData("actors/black_hole.spr",
                          "-Texture:hole.png\n-Name:black_hole\n"
                          "-Animation.Physics2D:affinityforce[5] affinityradius[3]\n");
        program.writeData("actors/white_hole.spr",
                          "-Texture:hole.png\n-Name:white_hole\n"
                          "-Animation.Physics2D:affinityforce[-5] affinityradius[3]\n");
        FactoryScene::SetUp();
        previousRoot = getEngine().rootNode();
        getEngine().rootNode() = scene->root();
        setCurrentLevelShots(&queue, &energy);
        // The camera's view is set up by the first frame; screen points mean nothing before it.
        frame(25);
    }
    void TearDown() override {
        for (const auto& box : boxes.boxes()) {
            ADD_FAILURE() << box.text;
        }
        setCurrentLevelShots(nullptr, nullptr);
        getEngine().getRenderer().drainDeletionQueue();
        getEngine().rootNode() = previousRoot;
        FactoryScene::TearDown();
    }

    // An aimer following at `speed` from (x, y) in the plane Z = 0.
    CNodeBasement* aimer(float speed, float x = 0, float y = 0) {
        const std::string text = "-Texture:\\gui\\empty.png\n-Size:w0.5 h0.5\n"
                                 "-GameLogic-FollowCursor:s" +
                                 std::to_string(speed) + "\n";
        return createSprite("raw:\\" + text, 1, 1, {x, y, 0}, scene->root(), nullptr,
                            "game_holes_test");
    }

    // The screen point showing (x, y, 0), and where it maps back to in that plane.
    irr::core::position2di screenAt(float x, float y) const {
        return scene->screenPoint({x, y, 0});
    }
    static irr::core::vector3df planePoint(const irr::core::position2di& screen) {
        PlanePoint point;
        EXPECT_TRUE(screenPointInPlane({0, 0, 0}, screen, point));
        return point.fromNode;
    }

    void moveCursor(const irr::core::position2di& screen) {
        device->getCursorControl()->setPosition(screen);
        getEngine().getInput().updateCursor();
    }

    void frame(irr::u32 ms) {
        now += ms;
        device->getTimer()->setTime(now);
        getEngine().getRenderer().renderAll();
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            frame(25);
        }
    }

    std::deque<HoleShot> queue;
    float energy = 1;
    irr::u32 now = 1000;
    irr::scene::ISceneNode* previousRoot = nullptr;
    MessageBoxRecorder boxes;
};
