#pragma once

#include "scene/rendering_font.h"
#include "scene/text_effect.h"
#include "support/engine_scene.h"
#include "support/message_box_recorder.h"
#include "support/pixel_test_device.h"
#include "support/test_program.h"

#include <irrlicht/irrlicht.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Fonts loaded as the game loads them, over a program folder of the test's own and a device of
// its own (the null driver unless the test asks for another) that the engine sees, with the
// engine's camera and materials. Boxes are recorded.
class FontTest : public testing::Test {
protected:
    explicit FontTest(irr::video::E_DRIVER_TYPE driverType = irr::video::EDT_NULL,
                      irr::core::dimension2du screenSize = irr::core::dimension2du(320, 240));

    void SetUp() override;
    void TearDown() override;

    // Writes the font file below the data folder, with a 16 by 16 white image "gui\\white.png"
    // beside it for the files that name it.
    void writeFont(const std::string& dataName, const std::string& text) const;
    // Writes a PNG below the data folder; every pixel comes from the function.
    void writeImage(const std::string& dataName, irr::u32 width, irr::u32 height,
                    const std::function<irr::video::SColor(irr::u32 x, irr::u32 y)>& pixel) const;
    // Copies the game's two fonts (files and images) from the repository into the data folder.
    void installGameFonts() const;
    // createFont on the data name; the fixture drops the font at the end.
    CGUIFont3D* load(const std::string& dataName, float size = 1);

    // How many glyph quads `draw` hands to the render module's batcher.
    int quadsDrawn(const std::function<void()>& draw);

    TestProgram program;
    MessageBoxRecorder boxes;
    PixelTestDevice device;
    std::unique_ptr<EngineScene> scene;

private:
    irr::video::E_DRIVER_TYPE driverType;
    std::vector<CGUIFont3D*> fonts;
};

// A text effect that records what the font shows it on each call, and stops the drawing on the
// character `stopAt`.
class RecordingEffect : public TextEffect {
public:
    struct Call {
        int glyph;
        irr::core::vector3df pen;
        int charIndex;
        float progress;
        int counter;
        int elapsed;
        int perLine;
    };

    bool apply() override;

    std::vector<Call> calls;
    int stopAt = -1;
    // When not 0, every call sets the drawing scale to this.
    float scaleTo = 0;
};

// Inside a death test: writes every box text to standard error so that the test can match it.
void echoBoxesToStandardError();

// The glyphs' pixels in a frame: the smallest rectangle holding every pixel (within `area`, or
// anywhere when it is empty) whose colour differs from the background by more than `threshold`
// in some channel; empty when there is none.
irr::core::recti inkBounds(irr::video::IImage* frame, irr::video::SColor background,
                           const irr::core::recti& area = irr::core::recti(), int threshold = 40);
