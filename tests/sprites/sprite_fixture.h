#pragma once

#include "scene/node_sprite.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>
#include <irrlicht/irrlicht.h>

// Each test gets its own program folder and an engine scene on Irrlicht's NULL driver.
class SpriteTest : public testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
        device = irr::createDevice(irr::video::EDT_NULL, irr::core::dimension2du(800, 600));
        ASSERT_NE(device, nullptr);
        scene = new EngineScene(device);
    }

    void TearDown() override {
        delete scene;
        device->drop();
    }

    // A sprite without a texture under the scene's root.
    CSpriteNode* makeSprite(irr::core::vector3df position = irr::core::vector3df(),
                            irr::core::dimension2df size = irr::core::dimension2df(1, 1)) {
        CSpriteNode* sprite = new CSpriteNode(scene->root(), scene->scene(), 8001, position, size);
        sprite->drop();
        return sprite;
    }

    TemporaryFolder program;
    MessageBoxRecorder boxes;
    irr::IrrlichtDevice* device = nullptr;
    EngineScene* scene = nullptr;
};
