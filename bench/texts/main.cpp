// Frame time and draw calls of 200 text nodes of 40 characters each, drawn with the game's main
// font through the render module on OpenGL, against as many small sprites as there are glyphs in
// the same window. Prints (on one line):
//   texts=200 drawcalls=D frame_ms=F null_frame_ms=N sprite_frame_ms=S frame_ms_p95=...
//   null_frame_ms_p95=... sprite_frame_ms_p95=... filtered_sprite_frame_ms=A
//   filtered_sprite_frame_ms_p95=...
// (the draw calls of one frame; the median frame time on OpenGL, on the library's NULL driver,
// which draws nothing, and of the sprites; then their 95th percentiles; then the same sprites
// with the anisotropic filter, which the font's material has and a sprite description gets by
// default), then comment lines ("#") with the glyph quads per frame, the time per glyph and the
// texts' frame against the sprites'. All glyphs come from one font page, so the whole frame
// should take one draw call.

#include "bench_device.h"
#include "circling_offsets.h"
#include "core/game_client.h"
#include "core/vellumengine.h"
#include "frame_times.h"
#include "platform/native_path.h"
#include "rendered_frames.h"
#include "scene/node_sprite.h"
#include "scene/node_text.h"
#include "scene/rendering_font.h"
#include "scene/texture_region.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <irrlicht/irrlicht.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace irr;

namespace {

const int kTextCount = 200;
const int kTextLength = 40;
const int kColumns = 4;
const int kWarmUpFrames = 10;
const int kMeasuredFrames = kMinimumMeasuredFrames;
// The reference sprites: as large as the sprite benchmark's, about five pixels.
const float kSpriteSize = 0.25f;

// Only what text nodes ask of a game: its main font.
class BenchGame : public IGameClient {
public:
    ~BenchGame() override {
        if (font) {
            font->drop();
        }
    }
    void onStart() override {}
    void onExit() override {}
    std::wstring getWindowCaption() override { return L"bench_texts"; }
    void getCursor(bool, CursorRequest&) override {}
    CGUIFont3D* getFont(const std::string&) override { return font; }

    CGUIFont3D* font = nullptr;
};

// 40 characters of printable text, different for every node.
std::string sampleText(int index) {
    static const char alphabet[] =
        "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string text;
    for (int k = 0; k < kTextLength; ++k) {
        text += alphabet[(index * 7 + k * 3) % (sizeof alphabet - 1)];
    }
    return text;
}

struct FrameResult {
    FrameTimes times;
    int drawCalls = 0;
    int vertices = 0;
};

// Draws the frames through the render module, as the main loop does, after `sway` has moved the
// nodes a little for frame time t.
template <typename Sway>
FrameResult measure(IrrlichtDevice* device, Sway sway) {
    FrameResult result;
    result.times = summarizeFrameTimes(
        timeRenderedFrames(device, kWarmUpFrames, kMeasuredFrames,
                           [&sway](int frame) { sway(static_cast<float>(frame) * 0.05f); }));
    CRenderModule& renderer = getEngine().getRenderer();
    result.drawCalls = renderer.switchCount();
    result.vertices = renderer.trigCount();
    return result;
}

// The texts' frames on a device of the driver type; false without a device or the font.
bool measureTexts(video::E_DRIVER_TYPE driverType, FrameResult& result) {
    IrrlichtDevice* device = openBenchDevice(driverType);
    if (!device) {
        return false;
    }
    CVellumEngine& engine = getEngine();
    auto* game = new BenchGame();
    game->font = createFont(resolveDataPath("gui\\font-main.xml"), 5.0f);
    engine.setClient(game);
    game->drop();
    if (game->font->glyphCount() < 20) {
        std::fprintf(stderr, "the main font did not load\n");
        engine.setClient(nullptr);
        closeBenchDevice(device);
        return false;
    }

    const int rows = kTextCount / kColumns;
    std::vector<CTextNode*> texts;
    for (int i = 0; i < kTextCount; ++i) {
        const float x = -15.0f + 10.0f * static_cast<float>(i % kColumns);
        const float y = 14.0f - 28.0f * static_cast<float>(i / kColumns) / (rows - 1);
        texts.push_back(makeTextNode("<font-size:-3>\n" + sampleText(i), core::vector3df(x, y, 0),
                                     nullptr, 8001));
    }
    // The texts sway a little, as animated texts do.
    result = measure(device, [&texts](float t) {
        for (size_t i = 0; i < texts.size(); ++i) {
            core::vector3df position = texts[i]->getPosition();
            position.X += 0.01f * std::sin(t + static_cast<float>(i));
            texts[i]->setPosition(position);
        }
    });
    device->getSceneManager()->clear();
    engine.setClient(nullptr);
    closeBenchDevice(device);
    return true;
}

// As many moving sprites of one 8 by 8 texture as the texts have glyphs, spread over the window,
// with the sprite material's filtering mode (0 none, 3 anisotropic).
bool measureSprites(int count, int filtering, FrameResult& result) {
    IrrlichtDevice* device = openBenchDevice();
    if (!device) {
        return false;
    }
    video::IVideoDriver* driver = device->getVideoDriver();
    video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(8, 8));
    image->fill(video::SColor(255, 60, 255, 128));
    TextureRegion region;
    region.setFromTexture(driver->addTexture("bench_sprite", image));
    image->drop();
    scene::ISceneManager* sceneManager = device->getSceneManager();
    std::vector<CSpriteNode*> sprites;
    std::vector<core::vector3df> homes;
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1 << 24);
    };
    for (int i = 0; i < count; ++i) {
        const core::vector3df home(next() * 36 - 18, next() * 26 - 13, 0);
        auto* sprite = new CSpriteNode(sceneManager->getRootSceneNode(), sceneManager, 8001, home,
                                       core::dimension2df(kSpriteSize, kSpriteSize));
        sprite->setTextureRegion(region);
        sprite->setSpriteMaterial(getEngine().getRenderer().getMaterialType(0), filtering);
        sprite->drop();
        sprites.push_back(sprite);
        homes.push_back(home);
    }
    // Each sprite circles its home, as in the sprite benchmark.
    std::vector<float> phases;
    for (int i = 0; i < count; ++i) {
        phases.push_back(static_cast<float>(i));
    }
    CirclingOffsets offsets(phases, 0.5f, 0.05f);
    result = measure(device, [&](float) {
        for (size_t i = 0; i < sprites.size(); ++i) {
            const core::vector2df offset = offsets.next(i);
            sprites[i]->setPosition(homes[i] + core::vector3df(offset.X, offset.Y, 0));
        }
    });
    closeBenchDevice(device);
    return true;
}

} // namespace

int main() {
    // The repository's data folders hold the game's fonts.
    setProgramFolder(toEnginePath(std::string(VELLUM_SOURCE_DIR) + "/"));
    setLanguage("data_en");

    FrameResult null;
    FrameResult gl;
    FrameResult sprites;
    if (!measureTexts(video::EDT_NULL, null) || !measureTexts(video::EDT_OPENGL, gl)) {
        return 1;
    }
    const int glyphs = std::max(gl.vertices / 4, 1);
    FrameResult filtered;
    if (!measureSprites(glyphs, 0, sprites) || !measureSprites(glyphs, 3, filtered)) {
        return 1;
    }
    std::printf("texts=%i drawcalls=%i frame_ms=%.2f null_frame_ms=%.3f sprite_frame_ms=%.2f "
                "frame_ms_p95=%.2f null_frame_ms_p95=%.3f sprite_frame_ms_p95=%.2f "
                "filtered_sprite_frame_ms=%.2f filtered_sprite_frame_ms_p95=%.2f\n",
                kTextCount, gl.drawCalls, gl.times.median, null.times.median, sprites.times.median,
                gl.times.p95, null.times.p95, sprites.times.p95, filtered.times.median,
                filtered.times.p95);
    std::printf("#   %i glyph quads per frame, %.3f us per glyph (NULL driver %.0f ns), %.2fx the "
                "frame of %i sprites\n",
                glyphs, gl.times.median * 1000 / glyphs, null.times.median * 1e6 / glyphs,
                gl.times.median / sprites.times.median, glyphs);
    std::printf("#   %.2fx the frame of the same sprites with the anisotropic filter\n",
                gl.times.median / filtered.times.median);
    return 0;
}
