#pragma once

#include "core/vellumengine.h"
#include "scene/node_factory.h"
#include "support/engine_scene.h"
#include "support/test_program.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>
#include <irrlicht/irrlicht.h>

#include <memory>

// The engine on a NULL device with its own program folder, English texts, a stopped device timer
// and the given game as its client: what the node factory and the engine's scene services need.
template <typename Game>
class FactoryScene : public testing::Test {
protected:
    void SetUp() override {
        setLanguage("data_en");
        device = irr::createDevice(irr::video::EDT_NULL);
        device->getTimer()->stop();
        scene = std::make_unique<EngineScene>(device);
        game = new Game();
        getEngine().setClient(game);
    }
    void TearDown() override {
        clearDescriptionCache();
        getEngine().forgetSceneNodes();
        scene.reset();
        device->drop();
        getEngine().setClient(nullptr);
        game->drop();
    }

    TestProgram program;
    irr::IrrlichtDevice* device = nullptr;
    std::unique_ptr<EngineScene> scene;
    Game* game = nullptr;
};
