#include "fonts/font_fixture.h"

#include "core/vellumengine.h"
#include "platform/frame_capture.h"
#include "platform/message_box.h"
#include "scene/texture_cache.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace irr;

FontTest::FontTest(video::E_DRIVER_TYPE type, core::dimension2du screenSize)
    : device(type, screenSize), driverType(type) {}

void FontTest::SetUp() {
    ASSERT_TRUE(device.valid());
    setLanguage("data_en");
    scene = std::make_unique<EngineScene>(device.irrlichtDevice(),
                                          driverType == video::EDT_BURNINGSVIDEO);
}

void FontTest::TearDown() {
    for (CGUIFont3D* font : fonts) {
        font->drop();
    }
    fonts.clear();
    scene.reset();
}

void FontTest::writeFont(const std::string& dataName, const std::string& text) const {
    program.copyTestImage("white_16.png", "gui/white.png");
    std::string relative = dataName;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    program.writeData(relative, text);
}

void FontTest::writeImage(const std::string& dataName, u32 width, u32 height,
                          const std::function<video::SColor(u32, u32)>& pixel) const {
    std::string relative = "data/" + dataName;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    // Creates the folders on the way.
    program.folder().write(relative, "");
    video::IImage* image =
        device.driver()->createImage(video::ECF_A8R8G8B8, core::dimension2du(width, height));
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            image->setPixel(x, y, pixel(x, y));
        }
    }
    EXPECT_TRUE(writePngImage(device.driver(), image, program.folder().native() + relative));
    image->drop();
}

void FontTest::installGameFonts() const {
    program.copyGameFonts(true);
}

CGUIFont3D* FontTest::load(const std::string& dataName, float size) {
    CGUIFont3D* font = createFont(resolveDataPath(dataName), size);
    fonts.push_back(font);
    return font;
}

int FontTest::quadsDrawn(const std::function<void()>& draw) {
    CRenderModule& renderer = getEngine().getRenderer();
    renderer.resetFrameStatistics();
    draw();
    renderer.addQuad(nullptr, nullptr, nullptr);
    return renderer.trigCount() / 4;
}

bool RecordingEffect::apply() {
    calls.push_back({*glyphIndex, *pen, charIndex, progress, counter, elapsed, perLine});
    if (scaleTo != 0) {
        *scale = scaleTo;
    }
    return charIndex != stopAt;
}

void echoBoxesToStandardError() {
    setMessageBoxHook([](const std::string& text, const std::string&, int) {
        std::fprintf(stderr, "box: %s\n", text.c_str());
        return 1;
    });
}

core::recti inkBounds(video::IImage* frame, video::SColor background, const core::recti& area,
                      int threshold) {
    const core::dimension2du size = frame->getDimension();
    core::recti within(0, 0, s32(size.Width), s32(size.Height));
    if (area.getArea() > 0) {
        within.clipAgainst(area);
    }
    core::recti bounds(1 << 20, 1 << 20, -1, -1);
    for (s32 y = within.UpperLeftCorner.Y; y < within.LowerRightCorner.Y; ++y) {
        for (s32 x = within.UpperLeftCorner.X; x < within.LowerRightCorner.X; ++x) {
            const video::SColor pixel = frame->getPixel(u32(x), u32(y));
            const int difference =
                std::max({std::abs(int(pixel.getRed()) - int(background.getRed())),
                          std::abs(int(pixel.getGreen()) - int(background.getGreen())),
                          std::abs(int(pixel.getBlue()) - int(background.getBlue()))});
            if (difference > threshold) {
                bounds.UpperLeftCorner.X = std::min(bounds.UpperLeftCorner.X, x);
                bounds.UpperLeftCorner.Y = std::min(bounds.UpperLeftCorner.Y, y);
                bounds.LowerRightCorner.X = std::max(bounds.LowerRightCorner.X, x + 1);
                bounds.LowerRightCorner.Y = std::max(bounds.LowerRightCorner.Y, y + 1);
            }
        }
    }
    return bounds.LowerRightCorner.X < 0 ? core::recti() : bounds;
}
