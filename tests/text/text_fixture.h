#pragma once

#include "core/vellumengine.h"
#include "scene/node_factory.h"
#include "scene/node_text.h"
#include "scene/node_utilities.h"
#include "scene/rendering_font.h"
#include "scene/text_effect.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "text_effects.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>
#include <irrlicht/irrlicht.h>

#include <memory>
#include <string>
#include <vector>

// What an effect saw on one call: per line (the line's offset) or per character (its pen).
struct EffectCall {
    int perLine;
    int lineIndex;
    int charIndex;
    int glyph;
    irr::core::vector3df pen;
    irr::video::SColor colour;
    float scale;
};

// An effect that only records its calls (into a list the test keeps, since the node owns the
// effect), and stops the drawing on the per-line call of the line `stopAtLine` when that is set.
class RecordingEffect : public TextEffect {
public:
    explicit RecordingEffect(std::vector<EffectCall>* calls, int stopAtLine = -1)
        : Calls(calls), StopAtLine(stopAtLine) {}

    bool apply() override {
        Calls->push_back({perLine, lineIndex, charIndex, *glyphIndex, *pen, *colour, *scale});
        return !(perLine != 0 && lineIndex == StopAtLine);
    }

private:
    std::vector<EffectCall>* Calls;
    int StopAtLine;
};

// Two fonts made from a test image: the main font with glyphs 8 pixels wide and the alternative
// font with glyphs 12 pixels wide, both 16 high, at size 1; "record" and "stopper" effects that
// record into `effectCalls` (the stopper ends every frame at its first line); the game's own
// effects for every other name; and a log of the node effects the markup asks for.
class TextGame : public TestGame {
public:
    ~TextGame() override {
        for (CGUIFont3D* owned : {mainFont, altFont}) {
            if (owned != nullptr) {
                owned->drop();
            }
        }
    }

    CGUIFont3D* getFont(const std::string& face) override {
        return startsWith(face, "a") ? altFont : mainFont;
    }
    TextEffect* createTextEffect(const std::string& name) override {
        if (startsWith(name, "record")) {
            return new RecordingEffect(&effectCalls);
        }
        if (startsWith(name, "stopper")) {
            return new RecordingEffect(&effectCalls, 0);
        }
        return createGameTextEffect(name);
    }
    void nodeEffectHook(irr::scene::ISceneNode* node, const std::string& text,
                        bool atCreation) override {
        hooks.push_back({node, text, atCreation});
    }

    struct Hook {
        irr::scene::ISceneNode* node;
        std::string text;
        bool atCreation;
    };
    CGUIFont3D* mainFont = nullptr;
    CGUIFont3D* altFont = nullptr;
    std::vector<EffectCall> effectCalls;
    std::vector<Hook> hooks;
};

// The engine on a NULL device with its own program folder, English texts, a stopped device
// timer, the engine's camera, the text game and a sound player that only records names.
class TextTest : public testing::Test {
protected:
    // Glyph sizes of the test fonts in scene units at size 1.
    static constexpr float kMainGlyph = 8 * 0.005f;
    static constexpr float kAltGlyph = 12 * 0.005f;
    // getTextExtent height: the space's width plus its height times 0.002.
    static constexpr float kMainExtentHeight = kMainGlyph + 16 * 0.002f;
    // The font files leave the line height at its default.
    static constexpr float kLineHeight = 7;

    void SetUp() override {
        setLanguage("data_en");
        program.copyTestImage("white_16.png", "gui/test-font.png");
        program.writeData("gui/main-font.xml", fontFile(8));
        program.writeData("gui/alt-font.xml", fontFile(12));
        device = irr::createDevice(irr::video::EDT_NULL, irr::core::dimension2du(800, 600));
        timer = device->getTimer();
        timer->stop();
        timer->setTime(1000);
        scene = std::make_unique<EngineScene>(device);
        game = new TextGame();
        game->mainFont = createFont(resolveDataPath("gui\\main-font.xml"), 1.0f);
        game->altFont = createFont(resolveDataPath("gui\\alt-font.xml"), 1.0f);
        getEngine().setClient(game);
        game->drop();
        setTextSoundPlayer([this](const std::string& name) { played.push_back(name); });
    }

    void TearDown() override {
        setTextSoundPlayer(nullptr);
        getEngine().getRenderer().drainDeletionQueue();
        scene.reset();
        clearDescriptionCache();
        device->drop();
        getEngine().setClient(nullptr);
    }

    // A font image with every character from the blank to "~" as a glyph `width` pixels wide
    // and 16 high.
    static std::string fontFile(int width) {
        std::string text = "<font>\n<texture>test-font.png</texture>\n";
        for (int code = 32; code < 127; ++code) {
            text += format("<char l='0' t='0' r='%i' b='16' abcA='0' abcB='0' abcC='0' "
                           "ascii='%i'/>\n",
                           width, code);
        }
        return text + "</font>\n";
    }

    CTextNode* makeText(const std::string& text,
                        const irr::core::vector3df& position = irr::core::vector3df(0, 0, 0)) {
        return makeTextNode(text, position, nullptr, kNoNodeId);
    }

    // Draws one frame at the device time.
    void frameAt(irr::u32 time) {
        timer->setTime(time);
        getEngine().getRenderer().renderAll();
    }
    void frame() { getEngine().getRenderer().renderAll(); }

    // The calls of one kind (per line or per character) recorded so far.
    std::vector<EffectCall> callsOf(int perLine) const {
        std::vector<EffectCall> result;
        for (const EffectCall& call : game->effectCalls) {
            if (call.perLine == perLine) {
                result.push_back(call);
            }
        }
        return result;
    }

    TestProgram program;
    MessageBoxRecorder boxes;
    irr::IrrlichtDevice* device = nullptr;
    irr::ITimer* timer = nullptr;
    std::unique_ptr<EngineScene> scene;
    TextGame* game = nullptr;
    std::vector<std::string> played;
};
