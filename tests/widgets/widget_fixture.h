#pragma once

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_sprite.h"
#include "scene/texture_cache.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/pixel_test_device.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

class WidgetGame : public TestGame {
public:
};

// A program folder with an image and sprite descriptions of a known size, and the engine's scene
// on the NULL driver with its timer driven by the test.
class WidgetTest : public testing::Test {
protected:
    void SetUp() override {
        std::ifstream image(testImagePath("orange_16.png"), std::ios::binary);
        program.writeData("gui/orange.png", std::string(std::istreambuf_iterator<char>(image), {}));
        setLanguage("data_en");
        device = irr::createDevice(irr::video::EDT_NULL, windowSize);
        scene = std::make_unique<EngineScene>(device);
        game = new WidgetGame();
        getEngine().setClient(game);
        game->drop();
        timer = device->getTimer();
        timer->stop();
        timer->setTime(kStart);
    }

    void TearDown() override {
        clearDescriptionCache();
        scene.reset();
        timer->start();
        device->drop();
        getEngine().setClient(nullptr);
    }

    // A description of the orange image whose size factors are its size.
    void writeUnitSprite(const std::string& relativePath) {
        program.writeData(relativePath, "-Texture:\\gui\\orange.png\n-Size:w1 h1\n");
    }

    void frameAt(irr::u32 time) {
        timer->setTime(time);
        getEngine().getRenderer().renderAll();
    }

    static const irr::u32 kStart = 1000;
    // The device's window; a fixture may change it before this fixture's SetUp.
    irr::core::dimension2du windowSize{800, 600};
    TestProgram program;
    MessageBoxRecorder boxes;
    irr::IrrlichtDevice* device = nullptr;
    std::unique_ptr<EngineScene> scene;
    WidgetGame* game = nullptr;
    irr::ITimer* timer = nullptr;
};
