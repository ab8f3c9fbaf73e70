#pragma once

#include "platform/message_box.h"
#include "scene/node_animator.h"
#include "scene/node_base.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>
#include <irrlicht/irrlicht.h>

#include <cstdio>
#include <string>

// Each test gets its own program folder and a scene on Irrlicht's NULL driver.
class NodeTest : public testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(program.engine());
        setDebugLogFolder(program.engine());
        device = irr::createDevice(irr::video::EDT_NULL, irr::core::dimension2du(800, 600));
        ASSERT_NE(device, nullptr);
        scene = device->getSceneManager();
    }

    void TearDown() override {
        scene->clear();
        device->drop();
    }

    // A node owned by its parent (the scene's root when none is given).
    CNodeBasement* makeNode(irr::scene::ISceneNode* parent = nullptr, int id = 8001,
                            irr::core::vector3df position = irr::core::vector3df(),
                            irr::core::dimension2df size = irr::core::dimension2df(1, 1)) {
        CNodeBasement* node = new CNodeBasement(parent ? parent : scene->getRootSceneNode(), scene,
                                                id, position, size);
        node->drop();
        return node;
    }

    TemporaryFolder program;
    MessageBoxRecorder boxes;
    irr::IrrlichtDevice* device = nullptr;
    irr::scene::ISceneManager* scene = nullptr;
};

// An engine animator that counts its steps and remembers whether it was finished.
class TestAnimator : public irr::scene::ISceneNodeAnimator, public INodeAnimator {
public:
    explicit TestAnimator(const char* tag = "") : tag(tag) {}

    void animateNode(irr::scene::ISceneNode*, irr::u32) override { ++steps; }
    irr::scene::ISceneNodeAnimator* createClone(irr::scene::ISceneNode*,
                                                irr::scene::ISceneManager*) override {
        return nullptr;
    }
    const char* getName() const override { return tag.c_str(); }
    void setName(const char* name) override { tag = name ? name : ""; }
    void finish() override { finished = true; }

    std::string tag;
    int steps = 0;
    bool finished = false;
};

// Inside a death test: writes every box text to standard error so the test can match it.
inline void echoBoxesToStderr() {
    setMessageBoxHook([](const std::string& text, const std::string&, int) {
        fprintf(stderr, "box: %s\n", text.c_str());
        return 1;
    });
}
