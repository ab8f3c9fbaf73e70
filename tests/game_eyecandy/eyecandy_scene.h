#pragma once

#include "core/vellumengine.h"
#include "factory/factory_scene.h"
#include "gameimplementation.h"
#include "scene/node_base.h"

#include <irrlicht/irrlicht.h>

#include <string>

// Sprites made by the node factory with the game as the engine's client, on a device clock the
// test drives frame by frame (animators step, then the deletion queue drains).
class EyeCandyScene : public FactoryScene<CGameImplementation> {
protected:
    static constexpr irr::u32 kStart = 1000;

    void SetUp() override {
        program.copyTestImage("orange_16.png", "gui/orange.png");
        FactoryScene::SetUp();
        device->getTimer()->setTime(kStart);
    }

    // A sprite from the description text, written as "gui/<name>.spr".
    CNodeBasement* create(const std::string& name, const std::string& description) {
        program.writeData("gui/" + name + ".spr", description);
        return createSprite("gui\\" + name + ".spr", 1, 1, irr::core::vector3df(0, 0, 3), nullptr,
                            nullptr, "test:1");
    }

    void frameAt(irr::u32 timeMs) {
        device->getTimer()->setTime(timeMs);
        getEngine().getRenderer().renderAll();
    }
    // Frames from `from` to `to` (both included) every `step` ms.
    void framesFromTo(irr::u32 from, irr::u32 to, irr::u32 step) {
        for (irr::u32 time = from; time <= to; time += step) {
            frameAt(time);
        }
    }

    // The node's first animator of the given class, or null.
    template <typename Animator>
    static Animator* animatorOf(irr::scene::ISceneNode* node) {
        for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
            if (auto* found = dynamic_cast<Animator*>(animator)) {
                return found;
            }
        }
        return nullptr;
    }
};
