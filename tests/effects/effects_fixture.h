#pragma once

#include "script_timers/script_fixture.h"

#include "scene/node_sprite.h"

#include <string>

// The engine's scene on the NULL driver with driven time and the script host, an orange 16 by 16
// image ("gui\orange.png") and an atlas strip of eight coloured frames ("gui\strip.png").
class EffectTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        program.copyTestImage("strip_8_frames.png", "gui/strip.png");
    }

    // A sprite of the orange image, 1 by 1 at the origin, with the extra description keys.
    static CSpriteNode* spriteWith(const std::string& keys,
                                   const SpriteCreationParams* params = nullptr) {
        return dynamic_cast<CSpriteNode*>(createSprite("raw:\\-Texture:\\gui\\orange.png\n" + keys,
                                                       1, 1, irr::core::vector3df(), nullptr,
                                                       params, "effects_test:1"));
    }

    // The node's animators of that class.
    template <typename Animator>
    static int countOf(irr::scene::ISceneNode* node) {
        int count = 0;
        for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
            count += dynamic_cast<Animator*>(animator) != nullptr ? 1 : 0;
        }
        return count;
    }
    template <typename Animator>
    static Animator* firstOf(irr::scene::ISceneNode* node) {
        for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
            if (auto* found = dynamic_cast<Animator*>(animator)) {
                return found;
            }
        }
        return nullptr;
    }
};
