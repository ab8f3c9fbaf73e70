#pragma once

#include "core/vellumengine.h"
#include "factory/factory_scene.h"
#include "platform/process.h"
#include "scene/node_base.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "script/module_scripting_core.h"
#include "support/message_box_recorder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <string>

// The engine on a NULL device with a program folder, a stopped device timer driven by the test and
// the core functions registered in the script host's machine, used from the main thread.
class ScriptNodesTest : public FactoryScene<TestGame> {
protected:
    void SetUp() override {
        program.copyTestImage("orange_16.png", "gui/orange.png");
        program.writeData("gui/box.spr", "-Texture:orange.png\n-Size:w2 h3\n");
        FactoryScene::SetUp();
        getEngine().setMainThreadId(currentThreadId());
        registerCoreFunctions(vm());
    }
    void TearDown() override {
        FactoryScene::TearDown();
        getEngine().setMainThreadId(0);
    }

    static squirrel::VM& vm() { return getEngine().getScripting().vm(); }
    static squirrel::Object run(const std::string& code) { return vm().run(code, "test"); }

    // A sprite under the parent (the scene's root when none is given) with the given ID, named
    // when a name is given.
    CSpriteNode* makeSprite(const std::string& name = std::string(), int id = kNoNodeId,
                            irr::scene::ISceneNode* parent = nullptr) {
        auto* sprite = new CSpriteNode(parent ? parent : scene->root(), scene->scene(), id,
                                       irr::core::vector3df(), irr::core::dimension2df(1, 1));
        sprite->drop();
        if (!name.empty()) {
            setNodeName(sprite, name);
        }
        return sprite;
    }

    // One frame at the given device time: animators step, then the deletion queue drains.
    void frameAt(irr::u32 timeMs) {
        device->getTimer()->setTime(timeMs);
        getEngine().getRenderer().renderAll();
    }

    MessageBoxRecorder boxes;
};
