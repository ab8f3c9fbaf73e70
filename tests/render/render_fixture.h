#pragma once

#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_sprite.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>
#include <irrlicht/irrlicht.h>

#include <functional>
#include <string>
#include <vector>

// Each test gets its own program folder and an engine scene on Irrlicht's NULL driver, whose
// draw calls the render module counts like any other driver's.
class RenderTest : public testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
        device = irr::createDevice(irr::video::EDT_NULL, irr::core::dimension2du(800, 600));
        ASSERT_NE(device, nullptr);
        scene = new EngineScene(device);
        renderer().resetFrameStatistics();
    }

    void TearDown() override {
        delete scene;
        device->drop();
    }

    CRenderModule& renderer() { return getEngine().getRenderer(); }

    // Draws one frame with fresh statistics.
    void drawFrame() {
        renderer().resetFrameStatistics();
        renderer().renderAll();
    }

    irr::video::ITexture* makeTexture(const char* name) {
        return scene->driver()->addTexture(irr::core::dimension2du(8, 8), name);
    }

    // A sprite showing the texture at the position, under the scene's root.
    CSpriteNode* makeSprite(irr::video::ITexture* texture, irr::core::vector3df position,
                            irr::scene::ISceneNode* parent = nullptr) {
        CSpriteNode* sprite = new CSpriteNode(parent ? parent : scene->root(), scene->scene(), 8001,
                                              position, irr::core::dimension2df(1, 1));
        sprite->drop();
        if (texture) {
            TextureRegion region;
            region.setFromTexture(texture);
            sprite->setTextureRegion(region);
        }
        return sprite;
    }

    TemporaryFolder program;
    MessageBoxRecorder boxes;
    irr::IrrlichtDevice* device = nullptr;
    EngineScene* scene = nullptr;
};

// An engine node that writes its name to a shared log when it is drawn, and may run an action
// then.
class LoggingNode : public CNodeBasement {
public:
    LoggingNode(irr::scene::ISceneNode* parent, const std::string& label,
                std::vector<std::string>& log, irr::core::vector3df position = {})
        : CNodeBasement(parent, parent->getSceneManager(), 8001, position,
                        irr::core::dimension2df(1, 1)),
          label(label), log(log) {
        drop();
    }
    void render() override {
        log.push_back(label);
        if (onRender) {
            onRender();
        }
    }

    std::string label;
    std::vector<std::string>& log;
    std::function<void()> onRender;
};
